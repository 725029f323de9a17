// The main window's dialogs against fake views: the track edit dialog's marks,
// checks and reading actions, the 通信設定 dialog's list and what its OK
// returns, and where the file dialogs start.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fake_views.h"
#include "fileio/user_folders.h"
#include "messages/messages.h"
#include "reading/reading_test_names.h"
#include "window/file_dialog_start.h"
#include "window/port_settings_logic.h"
#include "window/reading_choice_logic.h"
#include "window/track_edit_logic.h"

namespace vrellix {
namespace {

using testing::FakePortSettingsView;
using testing::FakeTrackEditView;
using testing::Labels;
using testing::FakeUser;
using testing::ShownBox;

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

// The dialog opens on the row as it stands, focused on the name, with both
// fields' marks: the name counts bytes, the reading characters.
TEST(TrackEditLogic, OpensOnTheRowWithTheMarksOfBothFields) {
  FakeUser user;
  FakeTrackEditView view(user);
  TrackEdit edit{"7", "ＡＢ", "あいカ"};
  TrackEditLogic logic(view, edit, nullptr);
  logic.OnInitDialog();
  EXPECT_EQ(view.number, "7");
  EXPECT_EQ(view.Text(TrackEditField::kName), "ＡＢ");
  EXPECT_EQ(view.focus, TrackEditField::kName);
  EXPECT_EQ(view.marks[TrackEditField::kName].count, "4/32");
  EXPECT_EQ(view.marks[TrackEditField::kYomi].count, "3/16");
  EXPECT_EQ(view.marks[TrackEditField::kYomi].tip, "3文字目「カ」: " + std::string(messages::kFaultReadingNotHiragana));
  view.texts[TrackEditField::kName] = Repeat("a", 33);
  logic.OnTextChanged();
  EXPECT_TRUE(view.marks[TrackEditField::kName].tooLong);
  EXPECT_TRUE(user.Boxes().empty());
  EXPECT_FALSE(view.closed);
  // Without readings the fields offer no actions.
  EXPECT_TRUE(logic.DialogMenu().empty());
}

// OK passes the texts as typed, or refuses with the first fault and leaves the
// dialog open on what was typed.
TEST(TrackEditLogic, OkTakesTheTextsAsTypedOrRefusesTheFirstFault) {
  const std::string nameTooLong = messages::kHalfWidthTooLong + std::string(messages::kTrackNameLabel);
  const std::string readingTooLong = messages::kHalfWidthTooLong + std::string(messages::kYomiLabel);
  const struct {
    std::string name;
    std::string yomi;
    std::string refusal;  // empty: taken
  } cases[] = {
      {Repeat("Ａ", 16), "", ""},
      {Repeat("Ａ", 16) + "a", "", nameTooLong},
      {"  " + Repeat("a", 32) + " ", "", ""},
      {"n", Repeat("あ", 16) + "a", readingTooLong},
      {Repeat("a", 33), Repeat("a", 33), nameTooLong},
      {"", "あ", messages::kOnlyReadingTyped},
      {"", "  \t", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " / " + c.yomi);
    FakeUser user;
    FakeTrackEditView view(user);
    TrackEdit edit{"1", "before", ""};
    TrackEditLogic logic(view, edit, nullptr);
    logic.OnInitDialog();
    view.texts = {{TrackEditField::kName, c.name}, {TrackEditField::kYomi, c.yomi}};
    if (!c.refusal.empty()) user.AnswerBox(Answer::kOk);
    logic.OnOk();
    EXPECT_EQ(user.Unexpected(), 0);
    if (c.refusal.empty()) {
      EXPECT_TRUE(user.Boxes().empty());
      EXPECT_EQ(view.closed, true);
      EXPECT_EQ(edit.name, c.name);
      EXPECT_EQ(edit.yomi, c.yomi);
    } else {
      EXPECT_EQ(user.Boxes(), std::vector<ShownBox>{(ShownBox{c.refusal, MessageIcon::kWarning})});
      EXPECT_FALSE(view.closed);
      EXPECT_EQ(view.Text(TrackEditField::kName), c.name);
      EXPECT_EQ(edit.name, "before");
    }
  }
}

// Characters the device cannot enter are named in a question, No by default:
// Yes takes the texts as typed, No leaves the dialog open on the first field
// at fault.
TEST(TrackEditLogic, OkAsksBeforeTakingWhatTheDeviceCannotEnter) {
  const std::string cannot = messages::kFaultNotEnterable;
  const std::string hiragana = messages::kFaultReadingNotHiragana;
  const struct {
    std::string name;
    std::string yomi;
    std::string lines;
    TrackEditField focus;
  } cases[] = {
      // Counted in the trimmed name, as 処理開始 counts.
      {" 漢a字 ", "かな", "トラック4の曲名の1文字目「漢」: " + cannot + "\nトラック4の曲名の3文字目「字」: " + cannot,
       TrackEditField::kName},
      {"name", "カな", "トラック4のよみの1文字目「カ」: " + hiragana, TrackEditField::kYomi},
      {"ヴ", "a", "トラック4の曲名の1文字目「ヴ」: " + cannot + "\nトラック4のよみの1文字目「a」: " + hiragana,
       TrackEditField::kName},
  };
  for (const auto& c : cases) {
    for (const Answer answer : {Answer::kNo, Answer::kYes}) {
      SCOPED_TRACE(c.name + " / " + c.yomi + (answer == Answer::kYes ? ": Yes" : ": No"));
      FakeUser user;
      FakeTrackEditView view(user);
      TrackEdit edit{"4", "before", ""};
      TrackEditLogic logic(view, edit, nullptr);
      logic.OnInitDialog();
      view.texts = {{TrackEditField::kName, c.name}, {TrackEditField::kYomi, c.yomi}};
      view.focus.reset();
      user.AnswerBox(answer);
      logic.OnOk();
      const ShownBox question{messages::KeepUnenterableQuestion(c.lines), MessageIcon::kWarning,
                              MessageButtons::kYesNo, true};
      EXPECT_EQ(user.Boxes(), std::vector<ShownBox>{question});
      EXPECT_EQ(user.Unexpected(), 0);
      EXPECT_EQ(view.closed, answer == Answer::kYes ? std::optional<bool>(true) : std::nullopt);
      EXPECT_EQ(edit.name, answer == Answer::kYes ? c.name : "before");
      EXPECT_EQ(view.focus, answer == Answer::kYes ? std::nullopt : std::optional<TrackEditField>(c.focus));
    }
  }
}

// よみを推定 on the reading and かなに変換 on the name list the candidates; the
// one picked replaces the field undoably, その他… selects the reading.
TEST(TrackEditLogic, ReadingMenusPutThePickedCandidate) {
  testing::TableReadingProvider dictionary = testing::Dictionary();
  ReadingActions readings(&dictionary, std::string());
  FakeUser user;
  FakeTrackEditView view(user);
  TrackEdit edit{"2", "少女", ""};
  TrackEditLogic logic(view, edit, &readings);
  logic.OnInitDialog();
  const std::string suggest = messages::kSuggestReadingItem;
  const std::string hiragana = messages::kToHiraganaItem;
  const std::string katakana = messages::kToKatakanaItem;
  EXPECT_EQ(Labels(logic.FieldMenu(TrackEditField::kYomi)),
            (std::vector<std::string>{suggest, suggest + " > しょうじょ", suggest + " > ",
                                      suggest + " > " + messages::kOtherReadingItem}));
  EXPECT_EQ(Labels(logic.FieldMenu(TrackEditField::kName)),
            (std::vector<std::string>{hiragana, hiragana + " > しょうじょ", katakana, katakana + " > ショウジョ"}));
  const Menu menu = logic.DialogMenu();
  for (const MenuItem* command : MenuCommands(menu)) command->action();
  EXPECT_EQ(view.Text(TrackEditField::kYomi), "しょうじょ");
  EXPECT_EQ(view.Text(TrackEditField::kName), "ショウジョ");
  EXPECT_EQ(view.replaced,
            (std::vector<TrackEditField>{TrackEditField::kYomi, TrackEditField::kName, TrackEditField::kName}));
  EXPECT_EQ(view.selected, TrackEditField::kYomi);
  EXPECT_EQ(user.Boxes(), std::vector<ShownBox>{});
  EXPECT_FALSE(view.closed);
}

// The よみを一括推定 dialog: a row per reading with its candidates, the
// reading picked or typed shown in its row, a checked reading the field would
// not take refused on OK, the check marks taken on OK.
TEST(ReadingChoiceLogic, RowsTakeTheReadingPickedOrTypedAndOkChecksThem) {
  ReadingChoices choices;
  choices.rows = {{AlbumField{AlbumField::Kind::kYomi, 0}, "米津玄師", {"よねつげんし", "よねづけんし"}, "よねつげんし", true},
                  {AlbumField{AlbumField::Kind::kTrackYomi, 2}, "少女", {"しょうじょ"}, "しょうじょ", true}};
  choices.skipped = {"トラック3の曲名「Lemon」: why"};
  FakeUser user;
  testing::FakeReadingChoiceView view(user);
  ReadingChoiceLogic logic(view, choices);
  logic.OnInitDialog();
  EXPECT_EQ(view.rows, (std::vector<std::string>{"よみ: よねつげんし (米津玄師)", "トラック2のよみ: しょうじょ (少女)"}));
  EXPECT_EQ(view.skipped, choices.skipped);
  EXPECT_EQ(view.selected, 0);
  EXPECT_EQ(view.candidates, choices.rows[0].candidates);
  view.reading = "よねづけんし";
  logic.OnReadingChanged();
  EXPECT_EQ(view.rows[0], "よみ: よねづけんし (米津玄師)");
  logic.OnRowSelected(1);
  EXPECT_EQ(view.reading, "しょうじょ");
  for (const char* typed : {"", "少女"}) {
    view.reading = typed;
    logic.OnReadingChanged();
    user.AnswerBox(Answer::kOk);
    logic.OnOk();
    EXPECT_EQ(user.Boxes().back().icon, MessageIcon::kWarning) << typed;
    EXPECT_FALSE(view.closed);
  }
  view.checked[1] = false;
  logic.OnOk();
  EXPECT_EQ(view.closed, true);
  EXPECT_EQ(choices.rows[0].reading, "よねづけんし");
  EXPECT_FALSE(choices.rows[1].checked);
  EXPECT_EQ(user.Unexpected(), 0);
}

// The list shows each port with the system's name for it, the one in use
// picked or, when not listed, typed; OK returns the device of the entry the
// field shows, or the typed text, and a delay within its range.
TEST(PortSettingsLogic, ListsThePortsAndOkReturnsTheDevice) {
  const std::vector<SerialPortInfo> ports{{"/dev/ttyUSB0", "usb-Vendor"}, {"/dev/ttyUSB1", ""}};
  const struct {
    std::string inUse;
    std::optional<int> picked;  // as the dialog opens
    std::function<void(FakePortSettingsView&)> user;
    std::string port;
    int delay;
  } cases[] = {
      {"/dev/ttyUSB1", 1, [](FakePortSettingsView&) {}, "/dev/ttyUSB1", 100},
      {"/dev/ttyUSB1", 1, [](FakePortSettingsView& view) { view.picked = 0; }, "/dev/ttyUSB0", 100},
      {"/dev/ttyS3", std::nullopt, [](FakePortSettingsView& view) { view.delay = 250; }, "/dev/ttyS3", 250},
      {"COM3", std::nullopt, [](FakePortSettingsView& view) { view.SetPortText("/dev/ttyUSB0  usb-Vendor"); },
       "/dev/ttyUSB0", 100},
      {"COM3", std::nullopt, [](FakePortSettingsView& view) { view.SetPortText(" /dev/ttyUSB1 "); }, " /dev/ttyUSB1 ",
       100},
      {"COM3", std::nullopt, [](FakePortSettingsView& view) { view.delay = kMaxCommandDelayMs + 1; }, "COM3",
       kMaxCommandDelayMs},
      {"COM3", std::nullopt, [](FakePortSettingsView& view) { view.delay = -1; }, "COM3", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.inUse + " -> " + c.port);
    FakePortSettingsView view;
    PortSettingsEdit edit{ports, c.inUse, 100};
    PortSettingsLogic logic(view, edit);
    logic.OnInitDialog();
    EXPECT_EQ(view.entries, (std::vector<std::string>{"/dev/ttyUSB0  usb-Vendor", "/dev/ttyUSB1"}));
    EXPECT_EQ(view.picked, c.picked);
    EXPECT_EQ(view.PortText(), c.inUse);
    EXPECT_EQ(view.delay, 100);
    EXPECT_EQ(std::make_pair(view.minDelay, view.maxDelay), std::make_pair(0, kMaxCommandDelayMs));
    EXPECT_TRUE(view.focused);
    EXPECT_EQ(view.note, messages::PortsFound("/dev/ttyUSB0, /dev/ttyUSB1"));
    c.user(view);
    logic.OnOk();
    EXPECT_EQ(view.closed, true);
    EXPECT_EQ(edit.port, c.port);
    EXPECT_EQ(edit.commandDelay, c.delay);
  }
  // None found: the line says so, and the port in use stands typed.
  FakePortSettingsView view;
  PortSettingsEdit edit{{}, "COM3", 100};
  PortSettingsLogic(view, edit).OnInitDialog();
  EXPECT_EQ(view.note, messages::kNoPortFound);
  EXPECT_EQ(view.PortText(), "COM3");
}

// In the last file's folder; before any, where the platform says. Saving
// offers the last file's name and adds ".csv"; the kind asked for is listed
// first, all files on request.
TEST(FileDialogStart, InTheLastFilesFolderListingTheKindAskedFor) {
  const std::string first = FirstFileDialogFolder();
  const std::string csv = messages::kCsvFilesFilter, cue = messages::kCueFilesFilter;
  const struct {
    FileQuestion question;
    std::string proposed;
    std::string folder, name, extension, filter;
  } cases[] = {
      {FileQuestion::kOpenAlbum, "", first, "", "", csv},
      {FileQuestion::kSaveAlbum, "", first, "", "csv", csv},
      {FileQuestion::kOpenCueSheet, "", first, "", "", cue},
      {FileQuestion::kOpenAlbum, "/music/アルバム.csv", "/music", "", "", csv},
      {FileQuestion::kSaveAlbum, "/music/アルバム.csv", "/music", "アルバム.csv", "csv", csv},
      {FileQuestion::kOpenCueSheet, "/music/アルバム.csv", "/music", "", "", cue},
      {FileQuestion::kSaveAlbum, "album", first, "album", "csv", csv},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.proposed + " " + std::to_string(static_cast<int>(c.question)));
    const FileDialogStart start = StartOfFileDialog(c.question, c.proposed);
    EXPECT_EQ(start.folder, c.folder);
    EXPECT_EQ(start.name, c.name);
    EXPECT_EQ(start.extension, c.extension);
    ASSERT_EQ(start.filters.size(), 2u);
    EXPECT_EQ(start.filters[0].label, c.filter);
    EXPECT_EQ(start.filters[0].pattern, c.filter.substr(c.filter.find('(') + 1, 5));
    EXPECT_EQ(start.filters[1].label, messages::kAllFilesFilter);
  }
}

}  // namespace
}  // namespace vrellix
