// The main window's behaviour against fake views: start-up with and without a
// port, the exit question, the track cell clicks, loading and saving, and the
// Start button from its checks to the end of a job run over a pseudo-terminal
// (or the simulator) in virtual time.
#include "window/titler_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>
#include <thread>

#include "fake_views.h"
#include "fileio/whole_file.h"
#include "keys/keys.h"
#include "messages/messages.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"
#include "job/job_plan.h"
#include "support/holding_clock.h"
#include "support/scripted_transmitter.h"
#include "support/real_ports.h"
#include "support/scratch_dir.h"
#include "support/settings_file.h"
#include "reading/reading_test_names.h"
#include "sim/simulator_line.h"
#include "text/text_codec.h"

namespace vrellix {
namespace {

using testing::FakeClock;
using testing::FakeProgressView;
using testing::FakeTitlerView;
using testing::FakeUser;
using testing::HoldingClock;
using testing::Labels;
using testing::ShownBox;

const char* const kMissingDevice = "/dev/vrellix-test-no-such-port";
// The start question of an album entered within a minute and a half.
const ShownBox kConfirm{messages::StartQuestion(1), MessageIcon::kInformation, MessageButtons::kYesNo};
const ShownBox kSuccess{messages::kJobSucceeded, MessageIcon::kInformation};
const ShownBox kFailure{messages::kJobFailedBox, MessageIcon::kError};
const ShownBox kAbortQuestion{messages::kAbortQuestion, MessageIcon::kWarning, MessageButtons::kYesNo};
const ShownBox kExitQuestion{messages::kExitQuestion, MessageIcon::kInformation, MessageButtons::kYesNo, true};
const ShownBox kUnsavedExit{messages::kUnsavedExitQuestion, MessageIcon::kWarning, MessageButtons::kYesNo, true};
const ShownBox kUnsavedLoad{messages::kUnsavedLoadQuestion, MessageIcon::kWarning, MessageButtons::kYesNo, true};

ShownBox Warning(const std::string& text) { return {text, MessageIcon::kWarning}; }

// Where a stopped or failed job was, and what to do on the device.
ShownBox StoppedBox(const std::string& place) {
  return Warning(messages::StoppedAt(place) + "\n" + messages::kReturnToPlaylist);
}
ShownBox ResumeBox(const std::string& place) {
  return {messages::ResumeQuestion(place), MessageIcon::kInformation, MessageButtons::kYesNo};
}

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class WorkingDir {
 public:
  explicit WorkingDir(const std::filesystem::path& dir) : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~WorkingDir() {
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
  }

 private:
  std::filesystem::path m_previous;
};

// A working directory, a transmitter on a pty, the fake screen and the window
// logic on them.
struct TitlerRig {
  explicit TitlerRig(std::vector<testing::ScriptedTransmitter::Reply> replies = {}) : line(std::move(replies)) {}

  // Writes settings naming device (the pty when empty) and starts the window.
  TitlerLogic& Open(const TitlerOptions& options = {}, const std::string& device = "") {
    testing::WriteSettingsFile(dir.File("rzt_input.ini"), device.empty() ? line.SlavePath() : device);
    return OpenAsItStands(options);
  }
  TitlerLogic& OpenAsItStands(TitlerOptions options = {}) {
    // Never the user's own learned readings.
    if (!options.learnedReadings) options.learnedReadings = dir.File("readings.tsv");
    logic = std::make_unique<TitlerLogic>(view, progress.Logic(), options);
    logic->OnInitDialog();
    logic->OnWindowShown();
    return *logic;
  }

  // The key of every packet the transmitter received.
  std::vector<int> Keys() const { return line.Keys(); }
  std::size_t Packets() const { return line.Received().size() / kPacketSize; }

  // After a job: no box left over, the job idle, the button usable.
  void ExpectIdle() const {
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(user.Unexpected(), 0);
    EXPECT_TRUE(logic->IsJobIdle());
    EXPECT_FALSE(progress.IsOpen());
    EXPECT_TRUE(view.enabled.at(Control::kStart));
  }

  testing::ScratchDir dir;
  WorkingDir cwd{dir.Path()};
  testing::ScriptedTransmitter line;
  FakeUser user;
  FakeTitlerView view{user};
  FakeProgressView progress{user};
  std::unique_ptr<TitlerLogic> logic;
};

// ---- Start-up

// The port failure box, which offers the 通信設定 dialog.
ShownBox PortFailureBox(const LinkSettings& settings, const PortFailure& failure) {
  return {PortFailureMessage(settings, failure) + "\n\n" + messages::kChoosePortQuestion, MessageIcon::kError,
          MessageButtons::kYesNo};
}

TEST(TitlerLogic, StartupWithoutPortReportsItAndDisablesOnlyStart) {
  // The message lists the ports present.
  if (testing::ListingWouldOpenARealPort()) GTEST_SKIP() << "a ttyS port without a sysfs record";
  TitlerRig rig;
  // Only the device key: the number and the delay are missing and must be
  // written back with their defaults.
  testing::WriteBytes(rig.dir.File("rzt_input.ini"),
                      *Utf8ToCp932(std::string("[シリアル通信設定]\r\nｼﾘｱﾙﾎﾟｰﾄ名=") + kMissingDevice + "\r\n"));
  rig.user.AnswerBox(Answer::kNo);
  rig.logic = std::make_unique<TitlerLogic>(rig.view, rig.progress.Logic());
  TitlerLogic& logic = *rig.logic;
  logic.OnInitDialog();
  // Nothing is asked before the window is on the screen, and only once then.
  EXPECT_TRUE(rig.user.Boxes().empty());
  EXPECT_EQ(rig.view.linkText, messages::LinkLine(messages::PortNotOpen(kMissingDevice), kDefaultCommandDelay));
  logic.OnWindowShown();
  logic.OnWindowShown();

  // The message with its last line saying why: the device is not there.
  EXPECT_EQ(rig.user.Boxes(),
            std::vector<ShownBox>{PortFailureBox(logic.Settings(), PortFailure{PortFailureCause::kNotFound, ENOENT, ""})});
  EXPECT_NE(rig.user.Texts()[0].find(kMissingDevice), std::string::npos);
  EXPECT_FALSE(rig.view.enabled[Control::kStart]);
  // An album typed now can still be saved.
  for (Control control : {Control::kLoad, Control::kSave, Control::kExit}) EXPECT_TRUE(rig.view.enabled[control]);
  EXPECT_EQ(logic.Runner(), nullptr);
  EXPECT_EQ(rig.user.Unexpected(), 0);

  const LinkSettings written = ReadIniSettings(rig.dir.File("rzt_input.ini"));
  EXPECT_EQ(written.m_nPortNo, kDefaultPortNo);
  EXPECT_EQ(written.m_nCommandDelay, kDefaultCommandDelay);
  EXPECT_EQ(written.m_strPortName, kMissingDevice);
}

// Picks device and delay in the next 通信設定 dialog.
void PickPort(FakeUser& user, const std::string& device, int delay) {
  user.EditPorts([=](PortSettingsEdit& edit) {
    edit.port = " " + device + " ";
    edit.commandDelay = delay;
    return true;
  });
}

// From the failure box at start-up to a working port, through a second
// failure; the file keeps what was chosen last, and only the dialog writes the
// device name.
TEST(TitlerLogic, PortDialogFromTheStartupFailureOpensTheChosenPortAtOnce) {
  if (testing::ListingWouldOpenARealPort()) GTEST_SKIP() << "a ttyS port without a sysfs record";
  TitlerRig rig;
  const std::vector<SerialPortInfo> listed{{"/dev/ttyUSB0", "usb-Vendor_Serial"}, {"/dev/ttyS0", ""}};
  TitlerOptions options;
  options.listPorts = [&] { return listed; };
  testing::WriteSettingsFile(rig.dir.File("rzt_input.ini"), kMissingDevice);
  rig.user.AnswerBox(Answer::kYes);
  PickPort(rig.user, std::string(kMissingDevice) + "2", 40);
  rig.user.AnswerBox(Answer::kYes);  // the second failure: choose again
  PickPort(rig.user, rig.line.SlavePath(), 55);
  TitlerLogic& logic = rig.OpenAsItStands(options);

  ASSERT_EQ(rig.user.PortEdits().size(), 2u);
  EXPECT_EQ(rig.user.PortEdits()[0].port, kMissingDevice);
  EXPECT_EQ(rig.user.PortEdits()[0].ports.size(), 2u);
  EXPECT_EQ(rig.user.PortEdits()[0].ports[0].device, "/dev/ttyUSB0");
  EXPECT_EQ(rig.user.PortEdits()[1].port, std::string(kMissingDevice) + "2");  // the last choice
  EXPECT_EQ(rig.user.PortEdits()[1].commandDelay, 40);
  ASSERT_EQ(rig.user.Boxes().size(), 2u);
  EXPECT_NE(rig.user.Texts()[1].find(std::string(kMissingDevice) + "2"), std::string::npos);
  EXPECT_TRUE(rig.user.Done());
  EXPECT_EQ(rig.user.Unexpected(), 0);

  EXPECT_TRUE(rig.view.enabled[Control::kStart]);
  EXPECT_EQ(rig.view.linkText, messages::LinkLine(messages::PortInUse(rig.line.SlavePath()), 55));
  ASSERT_NE(logic.Runner(), nullptr);
  EXPECT_EQ(logic.Settings().m_nCommandDelay, 55);
  const LinkSettings written = ReadIniSettings(rig.dir.File("rzt_input.ini"));
  EXPECT_EQ(written.m_strPortName, rig.line.SlavePath());
  EXPECT_EQ(written.m_nCommandDelay, 55);
}

TEST(TitlerLogic, PortDialogCancelledOrPointedAtNothing) {
  if (testing::ListingWouldOpenARealPort()) GTEST_SKIP() << "a ttyS port without a sysfs record";
  TitlerRig rig;
  rig.Open();
  const std::string before = testing::ReadBytes(rig.dir.File("rzt_input.ini"));
  rig.user.EditPorts([](PortSettingsEdit& edit) {
    edit.port = "/dev/elsewhere";
    return false;  // ｷｬﾝｾﾙ
  });
  rig.logic->OnPortSettings();
  EXPECT_EQ(testing::ReadBytes(rig.dir.File("rzt_input.ini")), before);
  EXPECT_NE(rig.logic->Runner(), nullptr);

  // A delay out of range is held to it.
  PickPort(rig.user, kMissingDevice, kMaxCommandDelayMs + 1);
  rig.user.AnswerBox(Answer::kNo);
  rig.logic->OnPortSettings();
  EXPECT_FALSE(rig.view.enabled[Control::kStart]);
  EXPECT_TRUE(rig.view.enabled[Control::kSave]);
  EXPECT_EQ(rig.logic->Runner(), nullptr);
  EXPECT_EQ(ReadIniSettings(rig.dir.File("rzt_input.ini")).m_nCommandDelay, kMaxCommandDelayMs);
  EXPECT_TRUE(rig.user.Done());
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

TEST(TitlerLogic, StartupInEmptyDirectoryCreatesSettings) {
  // Never open a real serial port of the machine from a test.
  if (std::filesystem::exists(PortDeviceName(LinkSettings{}))) GTEST_SKIP() << "the default port exists on this machine";
  TitlerRig rig;
  rig.user.AnswerBox(Answer::kNo);
  rig.OpenAsItStands();
  const LinkSettings written = ReadIniSettings(rig.dir.File("rzt_input.ini"));
  EXPECT_EQ(written.m_nPortNo, kDefaultPortNo);
  EXPECT_EQ(written.m_nCommandDelay, kDefaultCommandDelay);
  EXPECT_EQ(rig.user.Boxes(),
            std::vector<ShownBox>{PortFailureBox(written, PortFailure{PortFailureCause::kNotFound, ENOENT, ""})});
  EXPECT_FALSE(rig.view.enabled[Control::kStart]);
}

TEST(TitlerLogic, StartupReportsSettingsThatCannotBeReadAndGoesOn) {
  TitlerRig rig;
  std::filesystem::create_directory(rig.dir.File("rzt_input.ini"));  // a folder where the file belongs
  rig.user.AnswerBox(Answer::kOk);
  TitlerOptions simulator;  // no port of the machine is opened
  simulator.openLine = sim::SimulatorLines();
  const TitlerLogic& logic = rig.OpenAsItStands(simulator);
  SettingsLoad load;
  ReadIniSettings(SettingsPath(), &load);
  EXPECT_EQ(load.outcome, SettingsLoad::Outcome::kNotRead);
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{Warning(SettingsLoadWarning(SettingsPath(), load))});
  EXPECT_EQ(logic.Settings().m_nCommandDelay, kDefaultCommandDelay);
  EXPECT_TRUE(rig.view.enabled[Control::kStart]);
  EXPECT_TRUE(std::filesystem::is_directory(rig.dir.File("rzt_input.ini")));
}

TEST(TitlerLogic, StartupWarnsOfAPortNumberThatNamesNoPort) {
  TitlerRig rig;
  std::ofstream(rig.dir.File("rzt_input.ini"), std::ios::binary)
      << testing::IniSection(testing::kSerialSection) << testing::IniEntry(testing::kPortNumberKey, "300");
  rig.user.AnswerBox(Answer::kOk);
  TitlerOptions simulator;  // no port of the machine is opened
  simulator.openLine = sim::SimulatorLines();
  const TitlerLogic& logic = rig.OpenAsItStands(simulator);
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{Warning(PortNumberWarning(logic.Settings()))});
  EXPECT_NE(rig.user.Boxes().at(0).text.find("300"), std::string::npos);
}

TEST(TitlerLogic, StartupWithPortEnablesEverythingAndTheEndClosesIt) {
  TitlerRig rig;
  rig.Open();
  EXPECT_TRUE(rig.user.Boxes().empty());
  for (const auto& [control, on] : rig.view.enabled) EXPECT_TRUE(on) << static_cast<int>(control);
  // The window holds the port, so no other open gets it, until it ends.
  EXPECT_EQ(OpenTransmitterPort(rig.line.SlavePath()), nullptr);
  rig.logic.reset();
  EXPECT_NE(OpenTransmitterPort(rig.line.SlavePath()), nullptr);
}

// ---- The exit question

// Each way out, on an album as loaded and on one changed since: the
// questions asked (No by default) and whether the window ends.
TEST(TitlerLogic, ExitAsksNoByDefaultAndWarnsOfUnsavedChanges) {
  const struct {
    bool escape;  // Escape or the close box; else 終了 or Enter
    bool changed;
    Answer answer;
    std::vector<ShownBox> boxes;
    bool ends;
  } cases[] = {
      {false, false, Answer::kNo, {kExitQuestion}, false},
      {false, false, Answer::kYes, {kExitQuestion}, true},
      {false, true, Answer::kNo, {kUnsavedExit}, false},
      {false, true, Answer::kYes, {kUnsavedExit}, true},
      {true, false, Answer::kOk, {}, true},
      {true, true, Answer::kNo, {kUnsavedExit}, false},
      {true, true, Answer::kYes, {kUnsavedExit}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.escape ? "escape" : "exit") + (c.changed ? " changed " : " ") +
                 std::to_string(static_cast<int>(c.answer)));
    TitlerRig rig;
    rig.Open();
    testing::WriteBytes(rig.dir.File("a.csv"), *Utf8ToCp932("あいう\r\n"));
    rig.view.fileName = rig.dir.File("a.csv");
    rig.logic->OnLoadCsv();
    rig.view.SetChecked(3, true);  // check marks are not saved: no change
    if (c.changed) rig.view.SetCellText(3, TrackColumn::kYomi, "よみ");
    if (!c.boxes.empty()) rig.user.AnswerBox(c.answer);
    EXPECT_EQ(c.escape ? rig.logic->OnCancel() : rig.logic->OnExit(), c.ends);
    EXPECT_EQ(rig.user.Boxes(), c.boxes);
    EXPECT_EQ(rig.user.Unexpected(), 0);
    EXPECT_EQ(rig.view.Text(TextField::kTitle), "あいう");
  }
}

TEST(TitlerLogic, SavingOrLoadingKeepsTheAlbumAndLoadOverChangesAsks) {
  TitlerRig rig;
  rig.Open();
  EXPECT_FALSE(rig.logic->HasUnsavedChanges());
  rig.view.texts[TextField::kArtist] = "artist";
  EXPECT_TRUE(rig.logic->HasUnsavedChanges());
  rig.view.fileName = rig.dir.File("kept.csv");
  rig.user.AnswerBox(Answer::kNo);  // do not load over the changes
  rig.logic->OnLoadCsv();
  EXPECT_TRUE(rig.view.fileQuestions.empty());
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnSaveCsv();
  EXPECT_FALSE(rig.logic->HasUnsavedChanges());
  rig.view.SetRow(0, "x", "");
  EXPECT_TRUE(rig.logic->HasUnsavedChanges());
  // A save that failed keeps nothing.
  rig.view.SetRow(0, "x,y", "");
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnSaveCsv();
  EXPECT_TRUE(rig.logic->HasUnsavedChanges());
  rig.user.AnswerBox(Answer::kYes);
  rig.logic->OnLoadCsv();
  EXPECT_EQ(rig.view.rows[0].name, "");
  EXPECT_FALSE(rig.logic->HasUnsavedChanges());
  EXPECT_EQ(rig.user.Texts(), (std::vector<std::string>{messages::kUnsavedLoadQuestion, messages::kFileSaved,
                                                        messages::kCommaRefused + messages::TrackLabel(1),
                                                        messages::kUnsavedLoadQuestion}));
  EXPECT_TRUE(rig.user.Done());
}

// ---- Track cells

TEST(TitlerLogic, ClicksOutsideTheTextCellsOpenNoEditor) {
  TitlerRig rig;
  rig.Open();
  rig.view.SetRow(7, "name", "", true);
  // The number column (its check box toggles by itself), no row, past the last row and column.
  for (const auto& [row, column] : {std::pair{0, 0}, {49, 0}, {7, 0}, {-1, 1}, {50, 1}, {0, 3}}) {
    rig.logic->OnTrackCellClicked(row, column);
  }
  EXPECT_TRUE(rig.user.Edits().empty());
  EXPECT_EQ(rig.user.Unexpected(), 0);
  EXPECT_TRUE(rig.view.rows[7].checked);
  EXPECT_FALSE(rig.view.rows[0].checked);
}

TEST(TitlerLogic, NameAndReadingCellsOpenTheEditorWithTheRowAsItStands) {
  for (const auto& [row, column] : {std::pair{0, 1}, {0, 2}, {25, 1}, {49, 2}}) {
    SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
    TitlerRig rig;
    rig.Open();
    rig.view.SetRow(row, " 曲 ", "", false);
    rig.user.EditTrack([](TrackEdit& edit) {
      edit.name = "changed";
      return false;  // ｷｬﾝｾﾙ
    });
    rig.logic->OnTrackCellClicked(row, column);
    ASSERT_EQ(rig.user.Edits().size(), 1u);
    const TrackEdit& shown = rig.user.Edits()[0];
    EXPECT_EQ(shown.number, std::to_string(row + 1));
    EXPECT_EQ(shown.name, " 曲 ");  // as it stands, untrimmed
    EXPECT_EQ(shown.yomi, "");
    // Cancelled: unchanged.
    EXPECT_EQ(rig.view.rows[static_cast<std::size_t>(row)].name, " 曲 ");
    EXPECT_FALSE(rig.view.rows[static_cast<std::size_t>(row)].checked);
  }
}

TEST(TitlerLogic, EditorOkWritesTrimmedTextsAndSetsTheCheck) {
  TitlerRig rig;
  rig.Open();
  rig.view.texts[TextField::kTitle] = " title ";
  const auto edit = [&](const std::string& name, const std::string& yomi) {
    rig.user.EditTrack([=](TrackEdit& typed) {
      typed.name = name;
      typed.yomi = yomi;
      return true;
    });
    rig.logic->OnTrackCellClicked(4, 2);
    EXPECT_TRUE(rig.user.Done());
  };
  edit("  name\t", " よみ　 ");
  EXPECT_EQ(rig.view.rows[4].name, "name");
  EXPECT_EQ(rig.view.rows[4].yomi, "よみ　");  // the full-width space stays
  EXPECT_TRUE(rig.view.rows[4].checked);
  edit("", "   ");
  EXPECT_EQ(rig.view.rows[4].name, "");
  EXPECT_EQ(rig.view.rows[4].yomi, "");
  EXPECT_FALSE(rig.view.rows[4].checked);
  EXPECT_EQ(rig.view.Text(TextField::kTitle), " title ");
  EXPECT_TRUE(rig.user.Boxes().empty());
}

// Enter in a text field goes on to the next control and never asks to quit,
// even over unsaved changes; Enter and F2 on the list edit its current row
// (none: nothing). F2 in a field is left to the field.
TEST(TitlerLogic, EnterMovesOnInFieldsAndEditsTheListsRow) {
  TitlerRig rig;
  rig.Open();
  rig.view.texts[TextField::kTitle] = "unsaved";
  EXPECT_TRUE(rig.logic->OnKey(Key::kEnter, KeyPlace::kTextField));
  EXPECT_FALSE(rig.logic->OnKey(Key::kEdit, KeyPlace::kTextField));
  EXPECT_EQ(rig.view.focusMoves, 1);
  EXPECT_TRUE(rig.logic->OnKey(Key::kEnter, KeyPlace::kTrackList));
  rig.view.currentTrack = 4;
  for (Key key : {Key::kEnter, Key::kEdit}) {
    rig.user.EditTrack([](TrackEdit&) { return false; });
    EXPECT_TRUE(rig.logic->OnKey(key, KeyPlace::kTrackList));
  }
  ASSERT_EQ(rig.user.Edits().size(), 2u);
  EXPECT_EQ(rig.user.Edits()[1].number, "5");
  EXPECT_TRUE(rig.user.Boxes().empty());
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

// ---- Loading and saving

TEST(TitlerLogic, LoadFillsTheWindowAndChecksNamedRows) {
  TitlerRig rig;
  rig.Open();
  rig.view.rows[2].checked = true;  // gets no name: keeps its check
  rig.view.SetRow(3, "old", "", false);
  testing::WriteBytes(rig.dir.File("album.csv"),
                      *Utf8ToCp932("タイトル\r\nたいとる\r\nArtist\r\n曲一,きょくいち\r\nnone,none\r\n"));
  rig.view.fileName = rig.dir.File("album.csv");
  rig.user.AnswerBox(Answer::kYes);  // over the unsaved row
  rig.logic->OnLoadCsv();
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{kUnsavedLoad});
  EXPECT_EQ(rig.view.fileQuestions, std::vector<FileQuestion>{FileQuestion::kOpenAlbum});
  EXPECT_EQ(rig.view.Text(TextField::kTitle), "タイトル");
  EXPECT_EQ(rig.view.Text(TextField::kYomi), "たいとる");
  EXPECT_EQ(rig.view.Text(TextField::kArtist), "Artist");
  EXPECT_EQ(rig.view.rows[0].name, "曲一");
  EXPECT_EQ(rig.view.rows[0].yomi, "きょくいち");
  EXPECT_TRUE(rig.view.rows[0].checked);
  EXPECT_FALSE(rig.view.rows[1].checked);
  EXPECT_TRUE(rig.view.rows[2].checked);
  EXPECT_EQ(rig.view.rows[3].name, "");  // a short file empties the rest
}

TEST(TitlerLogic, LoadErrorLeavesTheWindowUnchanged) {
  std::string many;
  for (int i = 0; i < 104; ++i) many += "f,";
  const struct {
    std::string content;
    std::string message;
  } cases[] = {
      {"t\r\ny\r\na\r\nname," + std::string(33, 'x') + "\r\n", messages::FieldTooLong(5)},
      {many, messages::kTooManyFields},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    TitlerRig rig;
    rig.Open();
    rig.view.texts[TextField::kTitle] = "keep";
    rig.view.SetRow(0, "track", "", false);
    testing::WriteBytes(rig.dir.File("bad.csv"), c.content);
    rig.view.fileName = rig.dir.File("bad.csv");
    rig.user.AnswerBox(Answer::kYes);
    rig.user.AnswerBox(Answer::kOk);
    rig.logic->OnLoadCsv();
    EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{kUnsavedLoad, Warning(c.message)}));
    EXPECT_EQ(rig.view.Text(TextField::kTitle), "keep");
    EXPECT_EQ(rig.view.rows[0].name, "track");
    EXPECT_FALSE(rig.view.rows[0].checked);
  }
}

TEST(TitlerLogic, MissingFileAndCancelledDialog) {
  TitlerRig rig;
  rig.Open();
  rig.logic->OnLoadCsv();  // cancelled: nothing at all
  EXPECT_TRUE(rig.user.Boxes().empty());
  // Loaded, so that nothing is asked before the next load.
  testing::WriteBytes(rig.dir.File("kept.csv"), "keep\r\n");
  rig.view.fileName = rig.dir.File("kept.csv");
  rig.logic->OnLoadCsv();
  rig.view.fileName = rig.dir.File("missing.csv");
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnLoadCsv();
  std::string bytes;
  const std::string reason = FileFailureReason(ReadWholeFile(*rig.view.fileName, 1, bytes));
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{Warning(messages::kFileOpenFailed + ("\n" + reason))});
  EXPECT_EQ(rig.view.Text(TextField::kTitle), "keep");
  EXPECT_FALSE(rig.logic->HasUnsavedChanges());
}

TEST(TitlerLogic, SaveWritesTheFileAndSaysSo) {
  TitlerRig rig;
  rig.Open();
  rig.view.texts[TextField::kTitle] = " タイトル ";
  rig.view.SetRow(1, "two", "", false);
  rig.view.fileName = rig.dir.File("out.csv");
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnSaveCsv();
  EXPECT_EQ(rig.view.fileQuestions, std::vector<FileQuestion>{FileQuestion::kSaveAlbum});
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{(ShownBox{messages::kFileSaved, MessageIcon::kInformation})});
  EXPECT_EQ(testing::ReadBytes(rig.dir.File("out.csv")),
            *Utf8ToCp932("タイトル\r\nnone\r\nnone\r\nnone,none\r\ntwo,none\r\n"));

  // A file the user made read-only is left as it was.
  const std::string saved = testing::ReadBytes(rig.dir.File("out.csv"));
  testing::MakeReadOnly(rig.dir.File("out.csv"));
  rig.view.texts[TextField::kTitle] = "other";
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnSaveCsv();
  EXPECT_EQ(rig.user.Boxes().back(), Warning(std::string(messages::kFileOpenFailed) + "\n" + messages::kReadOnlyFile));
  EXPECT_EQ(testing::ReadBytes(rig.dir.File("out.csv")), saved);
}

TEST(TitlerLogic, SaveRefusesAComma) {
  TitlerRig rig;
  rig.Open();
  rig.view.SetRow(2, "name", "a,b");
  rig.view.fileName = rig.dir.File("out.csv");
  testing::WriteBytes(rig.dir.File("out.csv"), "previous\r\n");
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnSaveCsv();
  EXPECT_EQ(rig.user.Boxes(),
            std::vector<ShownBox>{Warning(messages::kCommaRefused + messages::TrackLabel(3) + messages::kYomiLabel)});
  EXPECT_EQ(testing::ReadBytes(rig.dir.File("out.csv")), "previous\r\n");
}

// The file dialogs start from the last file loaded or saved; a name is saved
// as the dialog gives it (the dialog adds ".csv" before it asks to overwrite).
TEST(TitlerLogic, FileQuestionsProposeTheLastFileAndSaveUsesTheNameGiven) {
  TitlerRig rig;
  rig.Open();
  const std::string dotted = rig.dir.File("a.b");
  std::filesystem::create_directory(dotted);
  const struct {
    std::string typed;
    std::string written;
  } cases[] = {
      {rig.dir.File("out"), rig.dir.File("out")},
      {rig.dir.File("out.txt"), rig.dir.File("out.txt")},
      {dotted + "/name", dotted + "/name"},
      {rig.dir.File("kept.csv"), rig.dir.File("kept.csv")},
  };
  std::vector<std::string> proposed{""};
  for (const auto& c : cases) {
    rig.view.fileName = c.typed;
    rig.user.AnswerBox(Answer::kOk);
    rig.logic->OnSaveCsv();
    EXPECT_TRUE(std::filesystem::exists(c.written)) << c.written;
    proposed.push_back(c.written);
  }
  // A failed save keeps the last file's name.
  rig.view.SetRow(0, "a,b", "");
  rig.view.fileName = rig.dir.File("refused");
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnSaveCsv();
  EXPECT_FALSE(std::filesystem::exists(rig.dir.File("refused")));
  rig.view.fileName = rig.dir.File("out");
  rig.user.AnswerBox(Answer::kYes);  // over the refused row
  rig.logic->OnLoadCsv();
  rig.logic->OnLoadCsv();
  proposed.push_back(rig.dir.File("kept.csv"));  // the refused save's and the first load's
  proposed.push_back(rig.dir.File("out"));
  EXPECT_EQ(rig.view.proposedNames, proposed);
  EXPECT_EQ(rig.view.fileQuestions.back(), FileQuestion::kOpenAlbum);
  EXPECT_TRUE(rig.user.Done());
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

// The caption and the line under the buttons say what jobs run on.
TEST(TitlerLogic, CaptionAndLinkLineSayWhatJobsRunOn) {
  for (const bool simulate : {false, true}) {
    TitlerRig rig;
    TitlerOptions options;
    if (simulate) options.openLine = sim::SimulatorLines();
    testing::WriteSettingsFile(rig.dir.File("rzt_input.ini"), rig.line.SlavePath(), 70);
    rig.OpenAsItStands(options);
    EXPECT_EQ(rig.view.caption, simulate ? messages::kSimulatorCaption : "Vrellix");
    const std::string where = simulate ? messages::kSimulatorInUse : messages::PortInUse(rig.line.SlavePath());
    EXPECT_EQ(rig.view.linkText, messages::LinkLine(where, 70));
  }
}

TEST(TitlerLogic, SavedAlbumLoadsBack) {
  TitlerRig rig;
  rig.Open();
  rig.view.texts[TextField::kYomi] = "よみ";
  rig.view.SetRow(49, "last", "", false);
  rig.view.fileName = rig.dir.File("round.csv");
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnSaveCsv();
  rig.view.texts[TextField::kYomi] = "changed";
  rig.view.SetRow(49, "", "", false);
  rig.user.AnswerBox(Answer::kYes);
  rig.logic->OnLoadCsv();
  EXPECT_EQ(rig.view.Text(TextField::kYomi), "よみ");
  EXPECT_EQ(rig.view.rows[49].name, "last");
  EXPECT_TRUE(rig.view.rows[49].checked);
  EXPECT_TRUE(rig.user.Done());
}

// ---- Start: the checks and the question

// The message with its line naming the field and character; the focus goes to
// that field.
TEST(TitlerLogic, StartFaultIsReportedOnceWithTheFieldFocusedAndNothingIsSent) {
  using Setup = std::function<void(FakeTitlerView&)>;
  using Focus = FakeTitlerView::Focus;
  const auto text = [](TextField field, std::string value) {
    return Setup([=](FakeTitlerView& view) { view.texts[field] = value; });
  };
  const auto row = [](int at, std::string name, std::string yomi) {
    return Setup([=](FakeTitlerView& view) { view.SetRow(at, name, yomi); });
  };
  const std::string halfWidth = messages::kHalfWidthTooLong;
  const std::string bad = messages::kBadCharacter;
  const std::string cannot = messages::kFaultNotEnterable;
  const struct {
    Setup setup;
    std::string message;
    Focus focus;
  } cases[] = {
      {text(TextField::kTitle, std::string(33, 'a')), halfWidth + messages::kTitleLabel + "\nタイトル: 33/32バイト",
       {TextField::kTitle, -1, TrackColumn::kName}},
      {text(TextField::kTitle, "曲"), bad + messages::kTitleLabel + "\nタイトルの1文字目「曲」: " + cannot,
       {TextField::kTitle, -1, TrackColumn::kName}},
      {text(TextField::kYomi, Repeat("あ", 17)),
       messages::kReadingTooLong + std::string(messages::kYomiLabel) + "\nよみ: 17/16文字",
       {TextField::kYomi, -1, TrackColumn::kName}},
      {text(TextField::kYomi, "カ"),
       bad + messages::kYomiLabel + "\nよみの1文字目「カ」: " + messages::kFaultReadingNotHiragana,
       {TextField::kYomi, -1, TrackColumn::kName}},
      {[](FakeTitlerView& view) {
         view.texts[TextField::kTitle] = "ok";
         view.texts[TextField::kArtist] = std::string(33, 'b');
       },
       halfWidth + messages::kArtistLabel + "\nアーティスト: 33/32バイト", {TextField::kArtist, -1, TrackColumn::kName}},
      {row(0, "漢", ""), bad + messages::TrackLabel(1) + "\nトラック1の曲名の1文字目「漢」: " + cannot,
       {TextField::kTitle, 0, TrackColumn::kName}},
      {row(2, "name", "ab"),
       bad + messages::TrackLabel(3) + messages::kYomiLabel + "\nトラック3のよみの1文字目「a」: " +
           messages::kFaultReadingNotHiragana + "\n\n" + messages::kOtherFaults +
           "\nトラック3のよみの2文字目「b」: " + messages::kFaultReadingNotHiragana,
       {TextField::kTitle, 2, TrackColumn::kYomi}},
      {row(1, "  ", "よみ"), messages::kReadingWithoutName + messages::TrackLabel(2),
       {TextField::kTitle, 1, TrackColumn::kName}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    FakeClock clock;
    TitlerRig rig;
    TitlerOptions options;
    options.clock = &clock;
    rig.Open(options);
    rig.view.SetRow(9, "漢字", "unchecked rows are not checked", false);
    c.setup(rig.view);
    rig.user.AnswerBox(Answer::kOk);
    rig.logic->OnStart();
    EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{Warning(c.message)});
    EXPECT_EQ(rig.view.focus, c.focus);
    EXPECT_EQ(rig.progress.TimesOpened(), 0);
    EXPECT_EQ(rig.Packets(), 0u);
  }
}

// Under the first fault the box lists the album's other faults, in the order of
// the checks, at most twenty of them and then how many more; every checked row
// with a fault is marked with its lines, unchecked ones are not.
TEST(TitlerLogic, StartFaultListsTheOtherFaultsAndMarksTheirRows) {
  const std::string cannot = messages::kFaultNotEnterable;
  for (const int rows : {1, 21, 22, 30}) {
    SCOPED_TRACE(std::to_string(rows) + " rows at fault");
    TitlerRig rig;
    rig.Open();
    rig.view.texts[TextField::kTitle] = "曲";
    for (int row = 0; row < rows; ++row) rig.view.SetRow(row, "N漢", "");
    rig.view.SetRow(rows, "字", "", false);
    rig.user.AnswerBox(Answer::kOk);
    rig.logic->OnStart();
    ASSERT_EQ(rig.user.Boxes().size(), 1u);
    const std::vector<std::string> lines = Lines(rig.user.Texts()[0]);
    const std::size_t listed = std::min(rows, messages::kOtherFaultsShown);
    ASSERT_EQ(lines.size(), 4 + listed + (rows > messages::kOtherFaultsShown ? 1 : 0));
    EXPECT_EQ(lines[0], messages::kBadCharacter + std::string(messages::kTitleLabel));
    EXPECT_EQ(lines[1], "タイトルの1文字目「曲」: " + cannot);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], messages::kOtherFaults);
    for (std::size_t i = 0; i < listed; ++i) {
      EXPECT_EQ(lines[4 + i], messages::TrackNameField(static_cast<int>(i) + 1) + "の2文字目「漢」: " + cannot);
    }
    if (rows > messages::kOtherFaultsShown) {
      EXPECT_EQ(lines.back(), messages::MoreFaults(static_cast<std::size_t>(rows - messages::kOtherFaultsShown)));
    }
    EXPECT_EQ(rig.view.focus, (FakeTitlerView::Focus{TextField::kTitle, -1, TrackColumn::kName}));
    for (int row = 0; row <= rows; ++row) {
      const std::string mark = row < rows ? messages::TrackNameField(row + 1) + "の2文字目「漢」: " + cannot : "";
      EXPECT_EQ(rig.view.trackMarks[row], mark) << row;
    }
  }
}

// A row's mark follows its texts and its check mark as they change: through
// the track edit dialog, the check box, and an album loaded.
TEST(TitlerLogic, RowsStartWouldRefuseAreMarked) {
  TitlerRig rig;
  rig.Open();
  const auto edit = [&](int row, std::string name, std::string yomi) {
    rig.user.EditTrack([=](TrackEdit& typed) {
      typed.name = name;
      typed.yomi = yomi;
      return true;
    });
    rig.logic->OnTrackCellClicked(row, static_cast<int>(TrackColumn::kName));
  };
  const std::string nameLine = "トラック3の曲名の1文字目「漢」: " + std::string(messages::kFaultNotEnterable);
  const std::string yomiLine = "トラック3のよみの1文字目「カ」: " + std::string(messages::kFaultReadingNotHiragana);
  edit(2, "漢", "カ");
  EXPECT_EQ(rig.view.trackMarks[2], nameLine + "\n" + yomiLine);
  rig.view.SetChecked(2, false);
  rig.logic->OnTrackChecked(2);
  EXPECT_EQ(rig.view.trackMarks[2], "");
  rig.view.SetChecked(2, true);
  rig.logic->OnTrackChecked(2);
  EXPECT_EQ(rig.view.trackMarks[2], nameLine + "\n" + yomiLine);
  edit(2, "ok", "");
  EXPECT_EQ(rig.view.trackMarks[2], "");

  testing::WriteBytes(rig.dir.File("a.csv"), "T\r\nnone\r\nnone\r\nA\r\nnone\r\nnone,none\r\nB,\x83\x4A\r\n");
  rig.view.fileName = rig.dir.File("a.csv");
  rig.user.AnswerBox(Answer::kYes);  // over unsaved changes
  rig.logic->OnLoadCsv();
  EXPECT_EQ(rig.view.trackMarks[2], "トラック3のよみの1文字目「カ」: " + std::string(messages::kFaultReadingNotHiragana));
  EXPECT_EQ(rig.view.trackMarks.count(0), 0u);  // never marked
  EXPECT_TRUE(rig.user.Done());
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

// Each field shows its count and marks as it changes; a reading counts characters.
TEST(TitlerLogic, FieldsShowTheirCountAndTheCharactersAtFault) {
  TitlerRig rig;
  rig.Open();
  for (TextField field : {TextField::kTitle, TextField::kYomi, TextField::kArtist}) {
    EXPECT_EQ(rig.view.marks[field].count, field == TextField::kYomi ? "0/16" : "0/32");
  }
  rig.view.texts[TextField::kTitle] = "ＡB漢";
  rig.logic->OnTextChanged(TextField::kTitle);
  const FieldMarks& title = rig.view.marks[TextField::kTitle];
  EXPECT_EQ(title.count, "5/32");
  EXPECT_FALSE(title.tooLong);
  ASSERT_EQ(title.faults.size(), 1u);
  EXPECT_EQ(title.faults[0].start, 2);
  EXPECT_EQ(title.tip, "3文字目「漢」: " + std::string(messages::kFaultNotEnterable));

  rig.view.texts[TextField::kYomi] = Repeat("あ", 16) + "a";
  rig.logic->OnTextChanged(TextField::kYomi);
  const FieldMarks& yomi = rig.view.marks[TextField::kYomi];
  EXPECT_EQ(yomi.count, "17/16");
  EXPECT_TRUE(yomi.tooLong);
  EXPECT_EQ(yomi.tip, "17文字目「a」: " + std::string(messages::kFaultReadingNotHiragana));
}

TEST(TitlerLogic, NothingToEnter) {
  FakeClock clock;
  TitlerRig rig;
  TitlerOptions options;
  options.clock = &clock;
  rig.Open(options);
  rig.view.SetRow(0, " ", "");  // checked, but empty after trimming
  rig.view.SetRow(1, "unchecked", "", false);
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnStart();
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{(ShownBox{messages::kNothingToEnter, MessageIcon::kInformation})});
  EXPECT_EQ(rig.Packets(), 0u);
}

TEST(TitlerLogic, NoAtTheConfirmationSendsNothing) {
  FakeClock clock;
  TitlerRig rig;
  TitlerOptions options;
  options.clock = &clock;
  rig.Open(options);
  rig.view.texts[TextField::kYomi] = "よみ";  // a reading alone is enough
  rig.user.AnswerBox(Answer::kNo);
  rig.logic->OnStart();
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{kConfirm});
  EXPECT_EQ(rig.progress.TimesOpened(), 0);
  EXPECT_EQ(rig.Packets(), 0u);
  EXPECT_TRUE(rig.logic->IsJobIdle());
}

// ---- Start: the job

TEST(TitlerLogic, YesRunsTheJobToTheSuccessBoxTwice) {
  FakeClock clock;
  TitlerRig rig;
  TitlerOptions options;
  options.clock = &clock;
  rig.Open(options);
  rig.view.texts[TextField::kTitle] = " A";
  rig.view.SetRow(1, " ｶ ", "か");
  rig.view.SetRow(4, "not entered", "", false);
  // The keys of the album the job is meant to get: the title as typed, the
  // track's texts trimmed, the unchecked row left out.
  Album entered;
  entered.Title = " A";
  entered.Tracks[1] = {*Utf8ToCp932("ｶ"), *Utf8ToCp932("か")};
  std::array<bool, kTrackCount> checks{};
  checks[1] = true;
  std::vector<int> planned;
  for (const JobEvent& event : PlanJob(entered, checks, 0).events) {
    if (event.kind == JobEvent::Kind::kKey) planned.push_back(event.value);
  }
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const std::size_t before = rig.Keys().size();
    rig.user.AnswerBox(Answer::kYes);
    rig.user.AnswerBox(Answer::kOk);
    rig.logic->OnStart();
    EXPECT_EQ(rig.user.Boxes().size(), 2u * (run + 1));
    EXPECT_EQ(rig.user.Boxes().back(), kSuccess);
    const std::vector<int> keys = rig.Keys();
    EXPECT_EQ(std::vector<int>(keys.begin() + static_cast<std::ptrdiff_t>(before), keys.end()), planned);
    // One bar over the whole job: its keys, all sent.
    EXPECT_EQ(rig.progress.Range(), static_cast<int>(planned.size()));
    EXPECT_EQ(rig.progress.Position(), static_cast<int>(planned.size()));
    rig.ExpectIdle();
  }
  EXPECT_TRUE(rig.view.dumps.empty());  // a real port: no simulator dump
}

TEST(TitlerLogic, FailingTransmitterEndsInTheFailureBox) {
  FakeClock clock;
  TitlerRig rig({{NAK}, {NAK}});
  TitlerOptions options;
  options.clock = &clock;
  rig.Open(options);
  rig.view.texts[TextField::kArtist] = "artist";
  rig.user.AnswerBox(Answer::kYes);
  rig.user.AnswerBox(Answer::kOk);
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnStart();
  // Failed in the title: continuing is starting over, so nothing is offered.
  EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{kConfirm, kFailure, StoppedBox(messages::kPlaceTitle)}));
  EXPECT_EQ(rig.Keys(), (std::vector<int>{KEY_SELECT, KEY_SELECT}));  // the first key, tried twice
  rig.ExpectIdle();
}

TEST(TitlerLogic, ProgressWindowShowsTheFirstStatusAndRange) {
  HoldingClock clock;
  TitlerRig rig;
  TitlerOptions options;
  options.clock = &clock;
  rig.Open(options);
  rig.view.texts[TextField::kTitle] = "T";
  int range = -1;
  // 通信設定 would reopen the port under the job.
  const auto portSettingsUsable = [&]() {
    const Menu menu = rig.logic->WindowMenu();
    return std::find_if(menu.begin(), menu.end(), [](const MenuItem& item) {
             return item.label == messages::kPortSettingsItem;
           })->enabled;
  };
  bool usableInJob = true;
  rig.user.AnswerBox(Answer::kYes);
  rig.user.InProgress(
      [&](FakeProgressView& view) {
        range = view.Range();
        usableInJob = portSettingsUsable();
        clock.Release();
      },
      [&]() { return clock.Waiting() && rig.progress.StatusTexts().back() == messages::kStatusTitle; });
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnStart();
  Album title;
  title.Title = "T";
  EXPECT_EQ(range, PlanJob(title, {}, 0).keys);
  EXPECT_FALSE(usableInJob);
  EXPECT_TRUE(portSettingsUsable());
  EXPECT_EQ(rig.progress.StatusTexts().front(), messages::kProgressStatusLabel);
  EXPECT_EQ(rig.progress.AbortText(), messages::kAbortButton);
  EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{kConfirm, kSuccess}));
  rig.ExpectIdle();
}

// The question's estimate is the plan's at the settings' delay; the progress
// window names the track being entered.
TEST(TitlerLogic, StartQuestionSaysHowLongAndTheProgressNamesTheTrack) {
  HoldingClock clock;
  TitlerRig rig;
  TitlerOptions options;
  options.clock = &clock;
  testing::WriteSettingsFile(rig.dir.File("rzt_input.ini"), rig.line.SlavePath(), 300);
  rig.OpenAsItStands(options);
  Album album;
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row) {
    rig.view.SetRow(row, "Song " + std::to_string(row + 1), "");
    album.Tracks[static_cast<std::size_t>(row)].Name = "Song " + std::to_string(row + 1);
    checks[static_cast<std::size_t>(row)] = true;
  }
  const JobPlan plan = PlanJob(album, checks, 300);
  const std::int64_t minutes = (EstimateJobMs(plan.keys, plan.pauseMs, 300) + 30000) / 60000;
  ASSERT_GT(minutes, 10);
  rig.user.AnswerBox(Answer::kNo);
  rig.logic->OnStart();
  EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{
                                  {messages::StartQuestion(minutes), MessageIcon::kInformation, MessageButtons::kYesNo}}));

  for (int row = 0; row < kTrackCount; ++row) rig.view.rows[static_cast<std::size_t>(row)].checked = row == 2;
  std::string item;
  clock.HoldWhen([&] { return rig.progress.Logic().Status() == messages::TrackStatus(1, 1); });
  rig.user.AnswerBox(Answer::kYes);
  rig.user.InProgress(
      [&](FakeProgressView& view) {
        item = view.ItemTexts().back();
        view.ClickCloseBox();
      },
      [&]() { return clock.Waiting() && rig.progress.StatusTexts().back() == messages::TrackStatus(1, 1); });
  rig.user.AnswerBox(Answer::kYes);
  rig.user.AnswerBox(Answer::kOk);
  rig.user.AnswerBox(Answer::kNo);
  rig.logic->OnStart();
  EXPECT_EQ(rig.user.Boxes().back(), ResumeBox(messages::PlaceTrack(3)));
  EXPECT_EQ(item, messages::TrackItem(3, "Song 3"));
  EXPECT_FALSE(rig.progress.TimeTexts().empty());
  rig.ExpectIdle();
}

TEST(TitlerLogic, AbortAnsweredNoGoesOn) {
  HoldingClock clock;
  TitlerRig rig;
  TitlerOptions options;
  options.clock = &clock;
  rig.Open(options);
  rig.view.texts[TextField::kTitle] = "T";
  rig.user.AnswerBox(Answer::kYes);
  rig.user.InProgress([](FakeProgressView& view) { view.ClickAbort(); }, [&]() { return clock.Waiting(); });
  rig.user.AnswerBox(Answer::kNo);
  rig.user.InProgress([&](FakeProgressView&) { clock.Release(); });
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnStart();
  EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{kConfirm, kAbortQuestion, kSuccess}));
  rig.ExpectIdle();
}

// 中断 and the close box ask; Yes stops the job where it stands, with no
// result box; the next job starts afresh and runs to its end.
TEST(TitlerLogic, AbortYesAndCloseBoxStopTheJobWithoutAResult) {
  for (const bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "中断 and Yes");
    HoldingClock clock;
    TitlerRig rig;
    TitlerOptions options;
    options.clock = &clock;
    rig.Open(options);
    rig.view.texts[TextField::kTitle] = "T";
    rig.view.SetRow(0, "x", "");
    rig.user.AnswerBox(Answer::kYes);
    rig.user.InProgress(
        [=](FakeProgressView& view) { closeBox ? view.ClickCloseBox() : view.ClickAbort(); },
        [&]() { return clock.Waiting(); });
    rig.user.AnswerBox(Answer::kYes);
    rig.user.AnswerBox(Answer::kOk);
    rig.logic->OnStart();
    ASSERT_EQ(rig.user.Boxes().size(), 3u);
    EXPECT_EQ(rig.user.Boxes()[1], kAbortQuestion);
    EXPECT_EQ(rig.user.Boxes().back(), StoppedBox(messages::kPlaceTitle));
    EXPECT_EQ(rig.Packets(), 1u);  // held in the wait after the first key
    rig.ExpectIdle();
    EXPECT_EQ(rig.logic->Runner()->Result(), std::nullopt);
    rig.progress.RunPosted();  // a stale result would show up now
    EXPECT_EQ(rig.user.Unexpected(), 0);
    EXPECT_EQ(rig.Packets(), 1u);

    clock.Release();
    rig.user.AnswerBox(Answer::kYes);
    rig.user.AnswerBox(Answer::kOk);
    rig.logic->OnStart();
    EXPECT_EQ(rig.user.Boxes().back(), kSuccess);
    rig.ExpectIdle();
  }
}

TEST(TitlerLogic, ThreadThatCannotStartIsReported) {
  FakeClock clock;
  TitlerRig rig;
  TitlerOptions options;
  options.clock = &clock;
  rig.Open(options);
  rig.logic->Runner()->SetThreadFactory([](std::function<void()>) -> std::thread {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  rig.view.texts[TextField::kTitle] = "T";
  rig.user.AnswerBox(Answer::kYes);
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnStart();
  EXPECT_EQ(rig.user.Boxes(),
            (std::vector<ShownBox>{kConfirm, (ShownBox{messages::kThreadStartFailed, MessageIcon::kError})}));
  EXPECT_EQ(rig.progress.TimesOpened(), 0);
  EXPECT_EQ(rig.Packets(), 0u);
  rig.ExpectIdle();
}

// ---- Continuing after a stop

// Stopped inside track 2 on the simulator: the user is told where and what to
// do, and is offered to continue. Taken, the next start enters tracks 2 and 3
// only and the device then holds the whole album; declined, the next start
// offers the whole album. The check marks stay as the user set them.
TEST(TitlerLogic, StopInATrackOffersToContinueFromIt) {
  for (const bool resume : {true, false}) {
    SCOPED_TRACE(resume ? "continue" : "whole album");
    HoldingClock clock;
    TitlerRig rig;
    TitlerOptions simulator;
    simulator.openLine = sim::SimulatorLines({}, &clock);
    rig.Open(simulator, kMissingDevice);
    // Loaded: nothing unsaved.
    testing::WriteBytes(rig.dir.File("a.csv"), "Title\r\nnone\r\nnone\r\nSong1\r\nnone\r\nSong2\r\nnone\r\nSong3\r\n"
                                               "none\r\nnone,none\r\nnone,none\r\nunticked,none\r\n");
    rig.view.fileName = rig.dir.File("a.csv");
    rig.logic->OnLoadCsv();
    rig.view.SetChecked(5, false);
    clock.HoldWhen([&] { return rig.progress.Logic().Status() == messages::TrackStatus(2, 3); });
    rig.user.AnswerBox(Answer::kYes);
    rig.user.InProgress([](FakeProgressView& view) { view.ClickCloseBox(); }, [&] { return clock.Waiting(); });
    rig.user.AnswerBox(Answer::kYes);
    rig.user.AnswerBox(Answer::kOk);
    rig.user.AnswerBox(resume ? Answer::kYes : Answer::kNo);
    rig.logic->OnStart();
    const std::vector<ShownBox> afterStop(rig.user.Boxes().begin() + 2, rig.user.Boxes().end());
    EXPECT_EQ(afterStop, (std::vector<ShownBox>{StoppedBox(messages::PlaceTrack(2)), ResumeBox(messages::PlaceTrack(2))}));
    const std::string wholeAlbum = rig.user.Texts()[0];
    ASSERT_EQ(rig.view.dumps.size(), 1u);
    // While the offer stands the caption says so, and Escape asks (No by default).
    const std::string place = messages::PlaceTrack(2);
    EXPECT_EQ(rig.view.caption, resume ? messages::ResumeCaption(messages::kSimulatorCaption, place)
                                       : messages::kSimulatorCaption);
    if (resume) rig.user.AnswerBox(Answer::kNo);
    EXPECT_EQ(rig.logic->OnCancel(), !resume);
    const ShownBox leaving{messages::ResumeLost(place) + "\n" + messages::kExitQuestion, MessageIcon::kWarning,
                           MessageButtons::kYesNo, true};
    EXPECT_EQ(rig.user.Boxes().back() == leaving, resume);

    clock.Release();
    rig.user.AnswerBox(Answer::kYes);
    rig.user.AnswerBox(Answer::kOk);
    const std::size_t asked = rig.user.Boxes().size();
    rig.logic->OnStart();
    EXPECT_EQ(rig.view.caption, messages::kSimulatorCaption);
    const std::string question = rig.user.Texts()[asked];
    if (resume) {
      EXPECT_EQ(question.rfind(messages::ResumeNote(messages::PlaceTrack(2)) + "\n", 0), 0u) << question;
    } else {
      EXPECT_EQ(question, wholeAlbum);
    }
    EXPECT_EQ(rig.user.Boxes().back(), kSuccess);
    // Tracks counted as the album does, whether the job continues or not.
    EXPECT_EQ(rig.progress.Logic().Status(), messages::TrackStatus(3, 3));
    EXPECT_EQ(rig.progress.Position(), rig.progress.Range());
    ASSERT_EQ(rig.view.dumps.size(), 2u);
    // Empty fields keep their old text; a continued job leaves the header fields out, unjudged.
    const std::string left = resume ? "" : "よみ: 以前の内容のまま\nアーティスト: 以前の内容のまま\nトラック1のよみ: 以前の内容のまま\n";
    EXPECT_EQ(rig.view.dumps[1].verdict, messages::kSimulatorEnteredMatch + ("\n" + left) +
                                             "トラック2のよみ: 以前の内容のまま\nトラック3のよみ: 以前の内容のまま\n" +
                                             messages::kSimulatorEmptyNotEntered);
    const std::vector<std::string> held = Lines(rig.view.dumps[1].dump);
    for (const char* line : {"title Title", "track 1 name Song1", "track 2 name Song2", "track 3 name Song3"}) {
      EXPECT_NE(std::find(held.begin(), held.end(), line), held.end()) << line << "\n" << rig.view.dumps[1].dump;
    }
    for (int row = 0; row < 6; ++row) EXPECT_EQ(rig.view.rows[static_cast<std::size_t>(row)].checked, row < 3);

    // Once through, the next start is the whole album again.
    rig.user.AnswerBox(Answer::kNo);
    rig.logic->OnStart();
    EXPECT_EQ(rig.user.Boxes().back().text, wholeAlbum);
    rig.ExpectIdle();
  }
}

// ---- The simulator

// ---- Readings and CUE sheets

// A window on the simulator whose readings come from the test dictionary.
TitlerLogic& OpenWithDictionary(TitlerRig& rig, ReadingProvider& dictionary) {
  TitlerOptions options;
  options.openLine = sim::SimulatorLines();
  options.readings = &dictionary;
  return rig.OpenAsItStands(options);
}

// The field's menu item labelled label.
const MenuItem& Item(const Menu& menu, const std::string& label) {
  const auto found = std::find_if(menu.begin(), menu.end(), [&](const MenuItem& item) { return item.label == label; });
  EXPECT_NE(found, menu.end()) << label;
  return found == menu.end() ? menu.front() : *found;
}

// The readings of an album saved come first from then on (what each menu
// item does is in MenusOfferEveryActionInTheFieldsAndTheWindowMenu).
TEST(TitlerLogic, SavingTeachesTheAlbumsReadings) {
  testing::TableReadingProvider dictionary = testing::Dictionary();
  TitlerRig rig;
  TitlerLogic& logic = OpenWithDictionary(rig, dictionary);
  rig.view.texts[TextField::kTitle] = "少女";
  rig.view.texts[TextField::kYomi] = "おとめ";
  rig.view.fileName = rig.dir.File("album.csv");
  rig.user.AnswerBox(Answer::kOk);
  logic.OnSaveCsv();
  const Menu yomiMenu = logic.FieldMenu(TextField::kYomi);
  EXPECT_EQ(Item(yomiMenu, messages::kSuggestReadingItem).submenu.at(0).label, "おとめ");
  EXPECT_EQ(testing::ReadBytes(rig.dir.File("readings.tsv")), "少女\tおとめ\n");
  EXPECT_EQ(rig.user.Texts(), std::vector<std::string>{messages::kFileSaved});
}

// よみを一括推定 lists each empty reading with its candidates and each name it
// skipped with why; OK makes the checked choices and teaches them.
TEST(TitlerLogic, FillReadingsMakesTheCheckedChoicesOnOk) {
  testing::TableReadingProvider dictionary = testing::Dictionary();
  TitlerRig rig;
  TitlerLogic& logic = OpenWithDictionary(rig, dictionary);
  rig.view.texts[TextField::kTitle] = "米津玄師";
  rig.view.SetRow(0, "東京事変", "");
  rig.view.SetRow(1, "娘", "むすめ");
  rig.view.SetRow(2, "Lemon", "");
  rig.view.SetRow(3, "鬱", "");
  rig.user.ChooseReadings([](ReadingChoices&) { return false; });
  logic.OnFillReadings();
  EXPECT_EQ(rig.view.CellText(0, TrackColumn::kYomi), "");
  rig.user.ChooseReadings([](ReadingChoices& choices) {
    choices.rows[0].reading = choices.rows[0].candidates[3];
    choices.rows[1].checked = false;
    return true;
  });
  logic.OnFillReadings();
  ASSERT_EQ(rig.user.ReadingDialogs().size(), 2u);
  const ReadingChoices& shown = rig.user.ReadingDialogs()[0];
  ASSERT_EQ(shown.rows.size(), 2u);
  EXPECT_EQ(shown.rows[0].name, "米津玄師");
  EXPECT_EQ(shown.rows[0].candidates.size(), 4u);
  EXPECT_EQ(shown.rows[1].field, (AlbumField{AlbumField::Kind::kTrackYomi, 1}));
  EXPECT_EQ(shown.skipped, (std::vector<std::string>{
                               messages::SkippedName("トラック3の曲名", "Lemon", messages::kLatinWordNotRead),
                               messages::SkippedName("トラック4の曲名", "鬱", messages::kNoReadingOffered)}));
  EXPECT_EQ(rig.view.texts[TextField::kYomi], "よねづけんし");
  EXPECT_EQ(rig.view.replaced, std::vector<TextField>{TextField::kYomi});
  EXPECT_EQ(rig.view.CellText(0, TrackColumn::kYomi), "");
  EXPECT_EQ(rig.view.CellText(1, TrackColumn::kYomi), "むすめ");
  EXPECT_TRUE(logic.HasUnsavedChanges());
  const Menu yomiMenu = logic.FieldMenu(TextField::kYomi);
  EXPECT_EQ(Item(yomiMenu, messages::kSuggestReadingItem).submenu.at(0).label, "よねづけんし");
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

TEST(TitlerLogic, CueSheetBecomesTheAlbumOrIsRefusedLeavingItAlone) {
  testing::TableReadingProvider dictionary = testing::Dictionary();
  TitlerRig rig;
  TitlerLogic& logic = OpenWithDictionary(rig, dictionary);
  testing::WriteBytes(rig.dir.File("disc.cue"), "PERFORMER \"A\"\nTITLE T\nTRACK 01 AUDIO\n TITLE \"うた\"\n");
  std::string many = "TITLE T\n";
  for (int track = 1; track <= 51; ++track) many += "TRACK " + std::to_string(track) + " AUDIO\n TITLE x\n";
  testing::WriteBytes(rig.dir.File("many.cue"), many);

  rig.view.fileName = rig.dir.File("many.cue");
  rig.user.AnswerBox(Answer::kOk);
  logic.OnImportCue();
  EXPECT_EQ(rig.user.Texts(), std::vector<std::string>{messages::CueTooManyTracks(51)});
  EXPECT_EQ(rig.view.texts[TextField::kTitle], "");

  rig.view.fileName = rig.dir.File("disc.cue");
  logic.OnImportCue();
  EXPECT_EQ(rig.view.fileQuestions.back(), FileQuestion::kOpenCueSheet);
  EXPECT_EQ(rig.view.texts[TextField::kTitle], "T");
  EXPECT_EQ(rig.view.texts[TextField::kArtist], "A");
  EXPECT_EQ(rig.view.CellText(0, TrackColumn::kName), "うた");
  EXPECT_TRUE(rig.view.IsChecked(0));
  // Not saved yet: another sheet over it asks first.
  rig.user.AnswerBox(Answer::kNo);
  logic.OnImportCue();
  EXPECT_EQ(rig.user.Texts().back(), messages::kUnsavedLoadQuestion);
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

// ---- Menus

// The menus, the same in every window, and what each item does: the first
// box or dialog it brings up.
TEST(TitlerLogic, MenusOfferEveryActionInTheFieldsAndTheWindowMenu) {
  const std::string suggest = messages::kSuggestReadingItem;
  const std::string hiragana = messages::kToHiraganaItem;
  const std::string katakana = messages::kToKatakanaItem;
  const std::string title = std::string(messages::kPlaceTitle) + " > ";
  const std::string artist = std::string(messages::kPlaceArtist) + " > ";
  const std::string port = messages::kPortSettingsItem;
  const std::string about = messages::kAboutItem;
  const std::vector<std::vector<std::string>> fields{{suggest, hiragana, katakana}, {suggest}, {hiragana, katakana}};
  testing::TableReadingProvider dictionary = testing::Dictionary();
  TitlerRig rig;
  TitlerLogic& logic = OpenWithDictionary(rig, dictionary);
  EXPECT_EQ(Labels(logic.WindowMenu()),
            (std::vector<std::string>{suggest, messages::kPlaceTitle, title + hiragana, title + katakana,
                                      messages::kPlaceArtist, artist + hiragana, artist + katakana,
                                      messages::kFillReadingsItem, messages::kImportCueItem, "", port, about}));
  EXPECT_EQ(Labels(logic.SystemMenu()), (std::vector<std::string>{"", port, about}));
  const TextField fieldOrder[] = {TextField::kTitle, TextField::kYomi, TextField::kArtist};
  for (std::size_t f = 0; f < 3; ++f) EXPECT_EQ(Labels(logic.FieldMenu(fieldOrder[f])), fields[f]);

  rig.view.texts[TextField::kTitle] = "少女";
  rig.view.texts[TextField::kArtist] = "東京事変";
  rig.user.AnswerBox(Answer::kOk);   // よみを一括推定: nothing left to fill
  rig.user.AnswerBox(Answer::kYes);  // CUE読込 over the unsaved texts
  rig.user.EditPorts([](PortSettingsEdit&) { return false; });
  const Menu windowMenu = logic.WindowMenu();
  for (const MenuItem* command : MenuCommands(windowMenu)) command->action();
  EXPECT_EQ(rig.view.texts[TextField::kYomi], "しょうじょ");
  EXPECT_EQ(rig.view.selected, TextField::kYomi);  // その他…
  EXPECT_EQ(rig.view.texts[TextField::kTitle], "ショウジョ");
  EXPECT_EQ(rig.view.texts[TextField::kArtist], "トウキョウジヘン");
  EXPECT_EQ(rig.view.replaced.size(), 5u);  // each candidate picked, undoably
  EXPECT_EQ(rig.user.Texts(), (std::vector<std::string>{messages::kNothingToChange, messages::kUnsavedLoadQuestion}));
  EXPECT_EQ(rig.view.fileQuestions, std::vector<FileQuestion>{FileQuestion::kOpenCueSheet});
  EXPECT_EQ(rig.user.PortEdits().size(), 1u);
  EXPECT_TRUE(rig.user.Done());
  EXPECT_EQ(rig.view.aboutBoxes, 1);
  const Menu systemMenu = logic.SystemMenu();
  systemMenu.back().action();
  EXPECT_EQ(rig.view.aboutBoxes, 2);
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

TEST(TitlerLogic, SimulatorShowsWhatTheDeviceHolds) {
  TitlerRig rig;
  TitlerOptions simulator;
  simulator.openLine = sim::SimulatorLines();
  rig.Open(simulator, kMissingDevice);
  EXPECT_TRUE(rig.user.Boxes().empty());
  EXPECT_TRUE(rig.view.enabled[Control::kStart]);
  rig.view.texts[TextField::kTitle] = "Abc 1";
  rig.view.texts[TextField::kYomi] = "あいう";
  rig.view.texts[TextField::kArtist] = "Art";
  rig.view.SetRow(2, "ﾄﾗｯｸ", "");
  rig.user.AnswerBox(Answer::kYes);
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnStart();
  EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{kConfirm, kSuccess}));
  ASSERT_EQ(rig.view.dumps.size(), 1u);
  // The empty reading is not entered: the device keeps its old one.
  EXPECT_EQ(rig.view.dumps[0].verdict, std::string(messages::kSimulatorEnteredMatch) + "\n" +
                                           "トラック3のよみ: 以前の内容のまま\n" + messages::kSimulatorEmptyNotEntered);
  const std::vector<std::string> lines = Lines(rig.view.dumps[0].dump);
  for (const char* held : {"title Abc 1", "yomi あいう", "track 3 name ﾄﾗｯｸ", "track 3 yomi OLD"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), held), lines.end()) << held << "\n" << rig.view.dumps[0].dump;
  }
  for (const std::string& line : lines) EXPECT_NE(line.rfind("error", 0), 0u) << line;
  EXPECT_EQ(rig.Packets(), 0u);  // nothing went to the port named in the settings
}

// A stopped job never counts as holding the album, even where the fields it
// reached match.
TEST(TitlerLogic, SimulatorVerdictOfAStoppedJob) {
  HoldingClock clock;
  TitlerRig rig;
  TitlerOptions simulator;
  simulator.openLine = sim::SimulatorLines({}, &clock);
  rig.Open(simulator, kMissingDevice);
  rig.view.texts[TextField::kTitle] = "T";
  rig.user.AnswerBox(Answer::kYes);
  rig.user.InProgress([](FakeProgressView& view) { view.ClickCloseBox(); }, [&]() { return clock.Waiting(); });
  rig.user.AnswerBox(Answer::kYes);
  rig.user.AnswerBox(Answer::kOk);
  rig.logic->OnStart();
  ASSERT_EQ(rig.view.dumps.size(), 1u);
  EXPECT_EQ(rig.view.dumps[0].verdict, std::string(messages::kSimulatorJobUnfinished) + "\n" +
                                           messages::kSimulatorDiffers + "title\n" +
                                           messages::LeftAsItWas(messages::kPlaceYomi) + "\n" +
                                           messages::LeftAsItWas(messages::kPlaceArtist) + "\n" +
                                           messages::kSimulatorEmptyNotEntered);
  rig.ExpectIdle();
}

}  // namespace
}  // namespace vrellix
