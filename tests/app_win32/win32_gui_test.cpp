// The Win32 window program's real dialogs, driven with window messages under
// Windows or wine: start-up without a port and the 通信設定 dialog, the track
// edit dialog, live counts and marks, CSV load and save under a Japanese file
// name, the unsaved-changes questions, Start refusing a fault, jobs on the
// built-in simulator to the success box, a line that refuses keys to the
// failure box and the resume from a track, 中断 during a job, and
// vrellix.exe --simulate itself.
//   vrellix_win32_tests [NAME-PART] [--screenshots DIR]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "album/album_csv.h"
#include "app_win32/progress_window.h"
#include "app_win32/titler_window.h"
#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "link/clock.h"
#include "link/stop_event.h"
#include "messages/messages.h"
#include "resource.h"
#include "sim/simulated_run.h"
#include "text/trim.h"
#include "validate/input_checks.h"
#include "version/version.h"
#include "win32_driver.h"
#include "link/settings.h"
#include "window/field_marks.h"
#include "window/simulator_verdict.h"

namespace vrellix::win32::testing {
namespace {

std::wstring g_screenshots;  // where the screenshots go; empty: none taken

// The main window and the progress window, as wWinMain makes them, but
// created for the test to drive instead of run.
class Program {
 public:
  explicit Program(const TitlerOptions& options) : m_window(m_progress, options) {
    m_window.Create(nullptr, IDD_TITLER_DIALOG);
    ShowWindow(m_window.Hwnd(), SW_SHOW);
    UpdateWindow(m_window.Hwnd());
  }
  HWND Hwnd() const { return m_window.Hwnd(); }
  TitlerWindow& Window() { return m_window; }

  // The list's texts and check marks, row by row.
  std::string Cell(int row, int column) {
    return m_window.CellText(row, static_cast<TrackColumn>(column));
  }
  bool Checked(int row) { return ListView_GetCheckState(GetDlgItem(Hwnd(), IDC_TRACKS), row) != 0; }
  void Check(int row, bool on) { ListView_SetCheckState(GetDlgItem(Hwnd(), IDC_TRACKS), row, on); }

 private:
  ProgressWindow m_progress;
  TitlerWindow m_window;
};

TitlerOptions Simulating() {
  TitlerOptions options;
  options.simulate = true;
  return options;
}

// Each test runs in a directory of its own holding its settings file.
void EnterFreshDirectory(const std::string& name, int portNumber) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"vrellix-win32-test-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  dir += L"\\" + Wide(name);
  CreateDirectoryW(dir.c_str(), nullptr);
  SetCurrentDirectoryW(dir.c_str());
  // "[シリアル通信設定]" "ｼﾘｱﾙﾎﾟｰﾄ番号=n" in code page 932. Never a port number
  // wine maps to a port of the machine.
  std::ofstream ini("rzt_input.ini", std::ios::binary);
  ini << "[\x83\x56\x83\x8A\x83\x41\x83\x8B\x92\xCA\x90\x4D\x90\xDD\x92\xE8]\r\n"
      << "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x94\xD4\x8D\x86=" << portNumber << "\r\n";
}

constexpr int kNoPort = 9;  // COM9: no such port in the test's wine prefix

void FillHeader(HWND window, const std::string& title, const std::string& yomi, const std::string& artist) {
  SetText(window, IDC_TITLE, title);
  SetText(window, IDC_YOMI, yomi);
  SetText(window, IDC_ARTIST, artist);
}

// Types into the track edit dialog that the click opens and presses OK.
void EditRowThroughDialog(Program& program, int row, const std::string& name, const std::string& yomi) {
  bool shown = false;
  WhenDialog("入力", IDC_TRACK_NAME, [&](HWND edit) {
    shown = true;
    W32_CHECK_EQ(Text(edit, IDC_TRACK_NUMBER), std::to_string(row + 1));
    SetText(edit, IDC_TRACK_NAME, name);
    SetText(edit, IDC_TRACK_YOMI, yomi);
    Click(edit, IDOK);
  });
  ClickCell(program.Hwnd(), IDC_TRACKS, row, 1);
  W32_CHECK(shown);
}

std::string ExampleAlbum() { return VRELLIX_EXAMPLE_ALBUM; }

// What the simulator report dialog said; closes it.
struct Report {
  bool shown = false;
  std::string verdict;
  std::string dump;
};
void ReadReportWhenShown(Report& report) {
  WhenDialog("Vrellix", IDC_DUMP, [&report](HWND dialog) {
    report.shown = true;
    report.verdict = Text(dialog, IDC_VERDICT);
    report.dump = Text(dialog, IDC_DUMP);
    Click(dialog, IDOK);
  });
}

// The start question, whatever time it estimates.
bool IsStartQuestion(const std::string& text, const std::string& firstLine = "") {
  for (int minutes = 1; minutes < 1000; ++minutes) {
    const std::string question = messages::StartQuestion(minutes);
    if (text == question || text == firstLine + "\n" + question) return true;
  }
  return false;
}

std::string StoppedBox(const char* place) { return messages::StoppedAt(place) + "\n" + messages::kReturnToPlaylist; }

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// ---------------------------------------------------------------------------

void StartupWithoutPort() {
  EnterFreshDirectory("no-port", kNoPort);
  ScriptedUser user;
  user.Answer(Answer::kNo);  // 通信設定?
  Program program(TitlerOptions{});
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 1);
  if (!user.Boxes().empty()) {
    W32_CHECK(user.Boxes()[0].text.find("(COM9)") != std::string::npos);
    W32_CHECK(user.Boxes()[0].text.find(messages::kChoosePortQuestion) != std::string::npos);
    W32_CHECK_EQ(Show(user.Boxes()[0].icon), Show(MessageIcon::kError));
  }
  // Only 処理開始 waits for a port.
  W32_CHECK(!IsWindowEnabled(GetDlgItem(program.Hwnd(), IDC_START)));
  for (int id : {IDC_LOAD_CSV, IDC_SAVE_CSV, IDOK}) W32_CHECK(IsWindowEnabled(GetDlgItem(program.Hwnd(), id)));

  // 通信設定 from the system menu: the choice is written, and the port it
  // names (COM8: nothing in the test's wine prefix) fails in turn.
  bool shown = false;
  WhenDialog("通信設定", IDC_PORT, [&](HWND dialog) {
    shown = true;
    W32_CHECK_EQ(Text(dialog, IDC_PORT).substr(0, 4), std::string("COM9"));
    SetText(dialog, IDC_PORT, "COM8");
    SetText(dialog, IDC_COMMAND_DELAY, "250");
    Click(dialog, IDOK);
  });
  user.Answer(Answer::kNo);
  SendMessageW(program.Hwnd(), WM_SYSCOMMAND, kPortSettingsCommand, 0);
  W32_CHECK(shown);
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 2);
  if (user.Boxes().size() == 2) W32_CHECK(user.Boxes()[1].text.find("(COM8)") != std::string::npos);
  const LinkSettings written = ReadIniSettings(SettingsPath());
  W32_CHECK_EQ(written.portName, std::string("COM8"));
  W32_CHECK_EQ(written.m_nCommandDelay, 250);
  W32_CHECK(!IsWindowEnabled(GetDlgItem(program.Hwnd(), IDC_START)));
  // Editing still works without a port.
  EditRowThroughDialog(program, 0, "曲", "きょく");
  W32_CHECK_EQ(program.Cell(0, 1), std::string("曲"));
}

void WindowLooksAsLaidOut() {
  EnterFreshDirectory("look", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  W32_CHECK_EQ(WindowTextUtf8(program.Hwnd()), std::string(messages::kSimulatorCaption));
  HWND list = GetDlgItem(program.Hwnd(), IDC_TRACKS);
  W32_CHECK_EQ(ListView_GetItemCount(list), kTrackCount);
  W32_CHECK((ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES) != 0);
  W32_CHECK_EQ(program.Cell(49, 0), std::string("50"));
  // The About item: one separator and the item, last in the system menu.
  HMENU menu = GetSystemMenu(program.Hwnd(), FALSE);
  const int count = GetMenuItemCount(menu);
  W32_CHECK_EQ(static_cast<int>(GetMenuItemID(menu, count - 1)), static_cast<int>(kAboutCommand));
  wchar_t item[128] = {};
  GetMenuStringW(menu, kAboutCommand, item, 128, MF_BYCOMMAND);
  W32_CHECK_EQ(Utf8(item), std::string(messages::kAboutItem));
  GetMenuStringW(menu, kPortSettingsCommand, item, 128, MF_BYCOMMAND);
  W32_CHECK_EQ(Utf8(item), std::string(messages::kPortSettingsItem));
  // The About box ignores Enter and Escape and closes with OK.
  bool aboutShown = false;
  WhenDialog("Vrellixのﾊﾞｰｼﾞｮﾝ情報", IDOK, [&](HWND about) {
    aboutShown = true;
    W32_CHECK(FindWindowExW(about, nullptr, L"Static", Wide(std::string("Vrellix Version ") + kVersion).c_str()));
    HWND ok = GetDlgItem(about, IDOK);
    PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 0);
    WhenDialog("Vrellixのﾊﾞｰｼﾞｮﾝ情報", IDOK, [](HWND stillOpen) { Click(stillOpen, IDOK); });
  });
  SendMessageW(program.Hwnd(), WM_SYSCOMMAND, kAboutCommand, 0);
  W32_CHECK(aboutShown);
  W32_CHECK(!FindDialog("Vrellixのﾊﾞｰｼﾞｮﾝ情報"));
  W32_CHECK_EQ(PendingSteps(), 0);
  W32_CHECK(user.Boxes().empty());
}

// The track edit dialog's checks, and what OK and ｷｬﾝｾﾙ leave in the row.
void TrackEditDialog() {
  EnterFreshDirectory("track-edit", kNoPort);
  struct Case {
    const char* name;
    const char* yomi;
    bool pressOk;
    bool refused;  // a box comes and the dialog stays open
    bool checkedAfter;
  };
  const Case cases[] = {
      {"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ", "", true, false, true},     // 32 bytes
      {"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰQ", "", true, true, false},    // 33 bytes
      {"", "よみだけ", true, true, false},
      {"", "   ", true, false, false},
      {"  名前  ", "なまえ", true, false, true},
      {"取り消し", "", false, false, false},
  };
  ScriptedUser user;
  Program program(Simulating());
  for (const Case& c : cases) {
    const std::size_t boxesBefore = user.Boxes().size();
    bool shown = false;
    WhenDialog("入力", IDC_TRACK_NAME, [&](HWND edit) {
      shown = true;
      SetText(edit, IDC_TRACK_NAME, c.name);
      SetText(edit, IDC_TRACK_YOMI, c.yomi);
      Click(edit, c.pressOk ? IDOK : IDCANCEL);
      // A refused OK leaves the dialog open with the text as typed.
      if (c.refused && FindDialog("入力", IDC_TRACK_NAME)) {
        W32_CHECK_EQ(Text(edit, IDC_TRACK_NAME), std::string(c.name));
        Click(edit, IDCANCEL);
      }
    });
    program.Check(3, false);
    ClickCell(program.Hwnd(), IDC_TRACKS, 3, 2);
    W32_CHECK(shown);
    W32_CHECK_EQ(user.Boxes().size() - boxesBefore, static_cast<std::size_t>(c.refused ? 1 : 0));
    W32_CHECK_EQ(program.Checked(3), c.checkedAfter);
    if (c.pressOk && !c.refused) W32_CHECK_EQ(program.Cell(3, 1), TrimWhite(c.name));
  }
  // The number column never opens the dialog.
  ClickCell(program.Hwnd(), IDC_TRACKS, 5, 0);
  W32_CHECK(!FindDialog("入力"));
}

// Saving and loading back under a Japanese file name keeps every text; loading
// checks the rows that have a name.
void CsvSaveAndLoad() {
  EnterFreshDirectory("csv", kNoPort);
  const std::string file = "アルバム一覧.csv";
  ScriptedUser user;
  {
    Program program(Simulating());
    FillHeader(program.Hwnd(), "ﾀｲﾄﾙ", "たいとる", "ＡＲＴＩＳＴ");
    EditRowThroughDialog(program, 0, "はじまり", "はじまり");
    EditRowThroughDialog(program, 7, "Track 8", "");
    program.Check(7, false);
    program.Check(9, true);
    user.FileName(file);
    Click(program.Hwnd(), IDC_SAVE_CSV);
  }
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 1);
  if (!user.Boxes().empty()) W32_CHECK_EQ(Show(user.Boxes().back().icon), Show(MessageIcon::kInformation));
  W32_CHECK(GetFileAttributesW(Wide(file).c_str()) != INVALID_FILE_ATTRIBUTES);

  Program program(Simulating());
  user.FileName(file);
  Click(program.Hwnd(), IDC_LOAD_CSV);
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 1);
  W32_CHECK_EQ(Text(program.Hwnd(), IDC_TITLE), std::string("ﾀｲﾄﾙ"));
  W32_CHECK_EQ(Text(program.Hwnd(), IDC_YOMI), std::string("たいとる"));
  W32_CHECK_EQ(Text(program.Hwnd(), IDC_ARTIST), std::string("ＡＲＴＩＳＴ"));
  W32_CHECK_EQ(program.Cell(0, 1), std::string("はじまり"));
  W32_CHECK_EQ(program.Cell(7, 1), std::string("Track 8"));
  W32_CHECK(program.Checked(0));
  W32_CHECK(program.Checked(7));
  W32_CHECK(!program.Checked(9));
}

// CSVﾌｧｲﾙ保存 with the system's dialog: "out" typed where out.csv exists asks
// (about out.csv: "out" does not exist), and No leaves it as it was.
void SaveAsksAboutTheCsvFileTheNameBecomes() {
  EnterFreshDirectory("overwrite", kNoPort);
  std::ofstream("out.csv", std::ios::binary) << "kept";
  DeleteFileW(L"out");  // from an earlier run
  ScriptedUser user;
  SetFileNameFunction(nullptr);
  Program program(Simulating());
  constexpr int kFileName = 0x47C;  // cmb13
  const auto post = [](HWND window, int id) { PostMessageW(window, WM_COMMAND, id, 0); };
  std::string question;
  WhenDialog("", kFileName, [&](HWND files) {
    SetText(files, kFileName, "out");
    post(files, IDOK);
  });
  WhenDialog("", IDNO, [&](HWND box) {
    question = LongestStaticText(box);
    post(box, IDNO);
  }, [](HWND box) { return GetDlgItem(box, IDYES) != nullptr; });
  WhenDialog("", kFileName, [&](HWND files) { post(files, IDCANCEL); }, [&](HWND) { return !question.empty(); });
  Click(program.Hwnd(), IDC_SAVE_CSV);
  std::ifstream in("out.csv", std::ios::binary);
  W32_CHECK(!question.empty());
  W32_CHECK_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string("kept"));
}

// Start refuses a fault with the check's own message and runs nothing.
void StartRefusesFaults() {
  EnterFreshDirectory("start-faults", kNoPort);
  struct Case {
    const char* title;
    const char* yomi;
    const char* trackName;
    const char* trackYomi;
  };
  const Case cases[] = {
      {"Title", "漢字のよみ", "", ""},
      {"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱ", "", "", ""},
      {"Title", "", "Track", "カタカナ"},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    ScriptedUser user;
    Program program(Simulating());
    FillHeader(program.Hwnd(), c.title, c.yomi, "");
    program.Window().SetCellText(0, TrackColumn::kName, c.trackName);
    program.Window().SetCellText(0, TrackColumn::kYomi, c.trackYomi);
    program.Check(0, c.trackName[0] != '\0');
    EditedAlbum album;
    album.title = c.title;
    album.yomi = c.yomi;
    album.rows[0] = {c.trackName, c.trackYomi, c.trackName[0] != '\0'};
    const StartCheckResult expected = RunStartChecks(album);
    Click(program.Hwnd(), IDC_START);
    W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 1);
    // The check's message, then a line naming what is at fault.
    if (!user.Boxes().empty()) W32_CHECK_EQ(user.Boxes()[0].text.substr(0, expected.message.size()), expected.message);
    W32_CHECK(expected.outcome != StartCheckResult::kReady);
  }
}

// The example album through the simulator to the success box; the report
// shows what a job without any window leaves on a simulated device.
void SimulatedJobSucceeds() {
  EnterFreshDirectory("simulated-job", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  user.FileName(ExampleAlbum());
  Click(program.Hwnd(), IDC_LOAD_CSV);
  W32_CHECK(user.Boxes().empty());
  if (!g_screenshots.empty()) CaptureWindow(program.Hwnd(), g_screenshots + L"\\win32-main.bmp");

  Report report;
  ReadReportWhenShown(report);
  user.Answer(Answer::kYes);  // the start question
  user.Answer(Answer::kOk);   // the success box
  Click(program.Hwnd(), IDC_START);

  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 2);
  if (user.Boxes().size() == 2) {
    W32_CHECK(IsStartQuestion(user.Boxes()[0].text));
    W32_CHECK_EQ(user.Boxes()[1].text, std::string(messages::kJobSucceeded));
  }
  W32_CHECK(report.shown);
  W32_CHECK(!FindDialog("ＲＺＴデータ入力中"));

  EditedAlbum edited;
  W32_CHECK(LoadAlbumCsv(ExampleAlbum(), edited).Ok());
  const StartCheckResult checked = RunStartChecks(edited);
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  sim::SimulatedDevice device;
  const sim::SimulatedRun headless = sim::RunJobOnDevice(device, checked.album, checks, kDefaultCommandDelay);
  W32_CHECK(headless.Passed());
  W32_CHECK_EQ(WithoutCarriageReturns(report.dump), device.Dump());
  W32_CHECK_EQ(WithoutCarriageReturns(report.verdict), SimulatorVerdict(headless));
}

// A line that answers every key with NAK ends in the failure box.
void RefusingLineFails() {
  EnterFreshDirectory("nak", kNoPort);
  TitlerOptions options = Simulating();
  options.simulator.nakRate = 1.0;
  ScriptedUser user;
  Program program(options);
  FillHeader(program.Hwnd(), "Title", "", "");
  Report report;
  ReadReportWhenShown(report);
  user.Answer(Answer::kYes);
  user.Answer(Answer::kOk);
  Click(program.Hwnd(), IDC_START);
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 3);
  if (user.Boxes().size() == 3) {
    W32_CHECK(IsStartQuestion(user.Boxes()[0].text));
    W32_CHECK_EQ(user.Boxes()[1].text, std::string(messages::kJobFailed));
    W32_CHECK_EQ(Show(user.Boxes()[1].icon), Show(MessageIcon::kError));
    W32_CHECK_EQ(user.Boxes()[2].text, StoppedBox(messages::kPlaceTitle));
  }
  W32_CHECK(report.shown);
  W32_CHECK(report.verdict != "Title");
}

// Real time, ten times as fast: a job that is still running when the test
// acts in its window, yet no test waits long.
class FastClock final : public Clock {
 public:
  std::int64_t NowMs() override { return m_real.NowMs() * kFactor; }
  bool Sleep(int ms, const StopEvent* stop) override { return m_real.Sleep(ms / kFactor, stop); }

 private:
  static constexpr int kFactor = 10;
  SystemClock m_real;
};

// 中断: No lets the job go on, Enter and Escape do nothing; the close box asks
// the same, and Yes stops the job with no result box.
void AbortDuringJob() {
  EnterFreshDirectory("abort", kNoPort);
  FastClock clock;
  TitlerOptions options = Simulating();
  options.clock = &clock;
  ScriptedUser user;
  Program program(options);
  FillHeader(program.Hwnd(), "AB", "", "ＡＲＴＩＳＴ");
  for (int row = 0; row < 20; ++row) {  // a job of a minute or more, if not stopped
    program.Window().SetCellText(row, TrackColumn::kName, "TRACK " + std::to_string(row + 1));
    program.Check(row, true);
  }
  const auto started = [](HWND progress) {
    return SendMessageW(GetDlgItem(progress, IDC_PROGRESS), PBM_GETPOS, 0, 0) > 0;
  };
  bool stillOpenAfterNo = false;
  WhenDialog("ＲＺＴデータ入力中", IDC_ABORT, [&](HWND progress) {
    if (!g_screenshots.empty()) CaptureWindow(progress, g_screenshots + L"\\win32-progress.bmp");
    W32_CHECK_EQ(Text(progress, IDC_ABORT), std::string(messages::kAbortButton));
    HWND abort = GetDlgItem(progress, IDC_ABORT);
    PostMessageW(abort, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(abort, WM_KEYDOWN, VK_RETURN, 0);
    Click(progress, IDC_ABORT);  // answered No
    stillOpenAfterNo = FindDialog("ＲＺＴデータ入力中") != nullptr;
    WhenDialog("ＲＺＴデータ入力中", IDC_ABORT, [](HWND again) { SendMessageW(again, WM_SYSCOMMAND, SC_CLOSE, 0); });
  }, started);
  Report report;
  ReadReportWhenShown(report);
  user.Answer(Answer::kYes);  // start
  user.Answer(Answer::kNo);   // 中断?
  user.Answer(Answer::kYes);  // the close box: 中断?
  Click(program.Hwnd(), IDC_START);
  W32_CHECK(stillOpenAfterNo);
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 4);
  if (user.Boxes().size() == 4) {
    W32_CHECK(IsStartQuestion(user.Boxes()[0].text));
    W32_CHECK_EQ(user.Boxes()[1].text, std::string(messages::kAbortQuestion));
    W32_CHECK_EQ(user.Boxes()[2].text, std::string(messages::kAbortQuestion));
    W32_CHECK_EQ(user.Boxes()[3].text, StoppedBox(messages::kPlaceArtist));
  }
  W32_CHECK(program.Window().Logic().IsJobIdle());
  W32_CHECK(report.shown);
}

// 終了 asks; No keeps the window, Yes ends it. Escape ends it at once.
void ExitQuestion() {
  EnterFreshDirectory("exit", kNoPort);
  struct Case {
    int button;
    std::vector<Answer> answers;
    std::vector<std::string> boxes;
    bool ends;
  };
  const Case cases[] = {
      {IDOK, {Answer::kNo}, {messages::kExitQuestion}, false},
      {IDOK, {Answer::kYes}, {messages::kExitQuestion}, true},
      {IDCANCEL, {}, {}, true},
  };
  for (const Case& c : cases) {
    ScriptedUser user;
    Program program(Simulating());
    for (Answer answer : c.answers) user.Answer(answer);
    SendMessageW(program.Hwnd(), WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
    W32_CHECK_EQ(user.BoxTexts(), c.boxes);
    for (const Message& box : user.Boxes()) W32_CHECK(box.defaultNo);
    W32_CHECK_EQ(program.Window().HasEnded(), c.ends);
  }
}

// vrellix.exe --simulate itself, with the system's own message boxes, driven
// from outside: a title, 処理開始, Yes, the success box, the simulator's report
// (what a job without any window leaves), Escape and Yes to leaving the
// unsaved title; the program then ends.
void ProgramRunsWithSimulator() {
  EnterFreshDirectory("program", kNoPort);
  std::wstring commandLine = L"\"" + Wide(VRELLIX_PROGRAM) + L"\" --simulate";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    Fail(__FILE__, __LINE__, "vrellix.exe did not start");
    return;
  }
  const DWORD pid = process.dwProcessId;
  const auto hasControl = [](int id) { return [id](HWND window) { return GetDlgItem(window, id) != nullptr; }; };
  const auto box = [](HWND window) { return GetDlgItem(window, IDC_TITLE) == nullptr && GetDlgItem(window, IDC_DUMP) == nullptr; };
  std::vector<std::string> boxes;
  const auto answer = [&](int button) {
    HWND shown = WaitForWindowOf(pid, "Vrellix", box, 20000);
    if (!shown) return false;
    boxes.push_back(LongestStaticText(shown));
    PostMessageW(shown, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    // Gone before the next one is looked for.
    PumpUntil([shown]() { return !IsWindow(shown) || !IsWindowVisible(shown); }, 5000);
    return true;
  };

  HWND main = WaitForWindowOf(pid, messages::kSimulatorCaption, hasControl(IDC_TITLE), 30000);
  W32_CHECK(main != nullptr);
  std::string dump;
  if (main) {
    const std::wstring title = L"ABC";
    SendMessageW(GetDlgItem(main, IDC_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
    PostMessageW(GetDlgItem(main, IDC_START), BM_CLICK, 0, 0);
    W32_CHECK(answer(IDYES));
    W32_CHECK(answer(IDOK));
    if (HWND report = WaitForWindowOf(pid, "Vrellix", hasControl(IDC_DUMP), 20000)) {
      wchar_t text[4096] = {};
      SendMessageW(GetDlgItem(report, IDC_DUMP), WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
      dump = WithoutCarriageReturns(Utf8(text));
      PostMessageW(report, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    PumpUntil([main]() { return IsWindowEnabled(main) != FALSE; }, 5000);
    // The title was never saved: leaving asks first.
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    W32_CHECK(answer(IDYES));
  }
  W32_CHECK_EQ(static_cast<int>(boxes.size()), 3);
  if (boxes.size() == 3) {
    W32_CHECK(IsStartQuestion(boxes[0]));
    W32_CHECK_EQ(boxes[1], std::string(messages::kJobSucceeded));
    W32_CHECK_EQ(boxes[2], std::string(messages::kUnsavedExitQuestion));
  }

  EditedAlbum edited;
  edited.title = "ABC";
  sim::SimulatedDevice device;
  sim::RunJobOnDevice(device, RunStartChecks(edited).album, {}, kDefaultCommandDelay);
  W32_CHECK_EQ(dump, device.Dump());

  const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
  W32_CHECK(ended);
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// The counts beside the fields and in the track edit dialog follow the typing,
// as MarkField counts; a fault colours the field and becomes its tooltip.
void LiveCounts() {
  EnterFreshDirectory("counts", kNoPort);
  struct Case {
    int field, count;
    int mode;
    const char* text;
  };
  const Case cases[] = {
      {IDC_TITLE, IDC_TITLE_COUNT, CHECK_GENERAL, "ABC"},
      {IDC_TITLE, IDC_TITLE_COUNT, CHECK_GENERAL, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱ"},
      {IDC_YOMI, IDC_YOMI_COUNT, CHECK_READING, "ひらがな"},
      {IDC_YOMI, IDC_YOMI_COUNT, CHECK_READING, "漢字"},
      {IDC_ARTIST, IDC_ARTIST_COUNT, CHECK_GENERAL, ""},
  };
  ScriptedUser user;
  Program program(Simulating());
  for (const Case& c : cases) {
    SetText(program.Hwnd(), c.field, c.text);
    W32_CHECK_EQ(Text(program.Hwnd(), c.count), MarkField(c.text, c.mode).count);
  }
  bool shown = false;
  WhenDialog("入力", IDC_TRACK_NAME, [&](HWND edit) {
    shown = true;
    for (const Case& c : cases) {
      const bool reading = c.mode == CHECK_READING;
      SetText(edit, reading ? IDC_TRACK_YOMI : IDC_TRACK_NAME, c.text);
      W32_CHECK_EQ(Text(edit, reading ? IDC_TRACK_YOMI_COUNT : IDC_TRACK_NAME_COUNT), MarkField(c.text, c.mode).count);
    }
    Click(edit, IDCANCEL);
  });
  ClickCell(program.Hwnd(), IDC_TRACKS, 0, 1);
  W32_CHECK(shown);
}

// Changes not saved: leaving and loading ask first, warning, default No.
void UnsavedChanges() {
  EnterFreshDirectory("unsaved", kNoPort);
  struct Case {
    int command;
    Answer answer;
    const char* question;
    bool ends;
    int fileQuestions;
  };
  const Case cases[] = {
      {IDOK, Answer::kNo, messages::kUnsavedExitQuestion, false, 0},
      {IDOK, Answer::kYes, messages::kUnsavedExitQuestion, true, 0},
      {IDCANCEL, Answer::kNo, messages::kUnsavedExitQuestion, false, 0},
      {IDCANCEL, Answer::kYes, messages::kUnsavedExitQuestion, true, 0},
      {IDC_LOAD_CSV, Answer::kNo, messages::kUnsavedLoadQuestion, false, 0},
  };
  for (const Case& c : cases) {
    ScriptedUser user;
    Program program(Simulating());
    SetText(program.Hwnd(), IDC_TITLE, "新しいタイトル");
    user.Answer(c.answer);
    SendMessageW(program.Hwnd(), WM_COMMAND, MAKEWPARAM(c.command, BN_CLICKED), 0);
    W32_CHECK_EQ(user.BoxTexts(), std::vector<std::string>{c.question});
    if (!user.Boxes().empty()) {
      W32_CHECK(user.Boxes()[0].defaultNo);
      W32_CHECK_EQ(Show(user.Boxes()[0].icon), Show(MessageIcon::kWarning));
    }
    W32_CHECK_EQ(program.Window().HasEnded(), c.ends);
    W32_CHECK_EQ(user.Unanswered(), 0);
  }
}

// A job that fails in a track offers to go on from there; the next Start
// says so and finishes the album, which the device then holds whole.
void ResumeFromTrack() {
  EnterFreshDirectory("resume", kNoPort);
  EditedAlbum edited;
  W32_CHECK(LoadAlbumCsv(ExampleAlbum(), edited).Ok());
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  sim::SimulatedDevice counting;
  const int packets = sim::RunJobOnDevice(counting, RunStartChecks(edited).album, checks, kDefaultCommandDelay).packets;
  // Both tries of one key late in the album are refused.
  TitlerOptions options = Simulating();
  const int refused = packets * 3 / 4;
  for (int packet : {refused, refused + 1}) {
    sim::PacketFault fault;
    fault.kind = sim::PacketFault::kRefused;
    fault.packet = packet;
    options.simulator.faults.push_back(fault);
  }

  ScriptedUser user;
  Program program(options);
  user.FileName(ExampleAlbum());
  Click(program.Hwnd(), IDC_LOAD_CSV);
  Report first;
  ReadReportWhenShown(first);
  user.Answer(Answer::kYes);  // start
  user.Answer(Answer::kOk);   // failure
  user.Answer(Answer::kOk);   // where it stopped
  user.Answer(Answer::kYes);  // resume from the track next time
  Click(program.Hwnd(), IDC_START);
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 4);
  std::string place;
  if (user.Boxes().size() == 4) {
    W32_CHECK_EQ(user.Boxes()[1].text, std::string(messages::kJobFailed));
    const std::string& offer = user.Boxes()[3].text;
    for (int track = 1; track <= kTrackCount; ++track) {
      if (offer == messages::ResumeQuestion(messages::PlaceTrack(track))) place = messages::PlaceTrack(track);
    }
  }
  W32_CHECK(!place.empty());

  Report second;
  ReadReportWhenShown(second);
  user.Answer(Answer::kYes);  // start, from the track
  user.Answer(Answer::kOk);   // success
  Click(program.Hwnd(), IDC_START);
  W32_CHECK_EQ(static_cast<int>(user.Boxes().size()), 6);
  if (user.Boxes().size() == 6) {
    W32_CHECK(IsStartQuestion(user.Boxes()[4].text, messages::ResumeNote(place)));
    W32_CHECK_EQ(user.Boxes()[5].text, std::string(messages::kJobSucceeded));
  }
  W32_CHECK(second.shown);
  W32_CHECK_EQ(WithoutCarriageReturns(second.dump), counting.Dump());
}

struct TestCase {
  const char* name;
  void (*run)();
  int seconds;
};

const TestCase kTests[] = {
    {"StartupWithoutPort", &StartupWithoutPort, 30},
    {"WindowLooksAsLaidOut", &WindowLooksAsLaidOut, 30},
    {"TrackEditDialog", &TrackEditDialog, 30},
    {"CsvSaveAndLoad", &CsvSaveAndLoad, 30},
    {"SaveAsksAboutTheCsvFileTheNameBecomes", &SaveAsksAboutTheCsvFileTheNameBecomes, 30},
    {"StartRefusesFaults", &StartRefusesFaults, 30},
    {"SimulatedJobSucceeds", &SimulatedJobSucceeds, 60},
    {"RefusingLineFails", &RefusingLineFails, 30},
    {"AbortDuringJob", &AbortDuringJob, 60},
    {"ExitQuestion", &ExitQuestion, 30},
    {"LiveCounts", &LiveCounts, 30},
    {"UnsavedChanges", &UnsavedChanges, 30},
    {"ResumeFromTrack", &ResumeFromTrack, 30},
    {"ProgramRunsWithSimulator", &ProgramRunsWithSimulator, 90},
};

}  // namespace
}  // namespace vrellix::win32::testing

int main(int argc, char** argv) {
  using namespace vrellix::win32::testing;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  std::string only;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshots") == 0 && i + 1 < argc) {
      g_screenshots = vrellix::win32::Wide(argv[++i]);
    } else {
      only = argv[i];
    }
  }
  int failed = 0;
  int ran = 0;
  for (const TestCase& test : kTests) {
    if (!only.empty() && std::string(test.name).find(only) == std::string::npos) continue;
    ++ran;
    const int before = FailureCount();
    ArmWatchdog(test.name, test.seconds);
    const DWORD started = GetTickCount();
    test.run();
    if (PendingSteps() != 0) Fail(__FILE__, __LINE__, std::to_string(PendingSteps()) + " step(s) never ran");
    ClearSteps();
    DisarmWatchdog();
    const bool ok = FailureCount() == before;
    failed += ok ? 0 : 1;
    std::printf("[%s] %s (%lu ms)\n", ok ? "  OK  " : " FAIL ", test.name,
                static_cast<unsigned long>(GetTickCount() - started));
    std::fflush(stdout);
  }
  std::printf("%d of %d Win32 window tests passed\n", ran - failed, ran);
  return failed == 0 && ran > 0 ? 0 : 1;
}
