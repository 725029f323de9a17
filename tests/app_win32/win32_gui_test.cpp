// The Win32 window program's real dialogs, driven with window messages under
// Windows or wine: start-up without a port and the 通信設定 dialog, the track
// edit dialog, live counts and marks, CSV load and save under a Japanese file
// name, the unsaved-changes questions, Start refusing a fault, jobs on the
// built-in simulator to the success box, a line that refuses keys to the
// failure box and the resume from a track, 中断 during a job, and
// vrellix.exe --simulate itself.
//   vrellix_win32_tests [--gtest_filter=...] [--screenshots DIR]
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

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
#include "app_win32/small_dialogs.h"
#include "app_win32/titler_window.h"
#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "job/job_plan.h"
#include "timing/clock.h"
#include "timing/stop_event.h"
#include "messages/messages.h"
#include "resource.h"
#include "sim/simulator_line.h"
#include "text/trim.h"
#include "validate/input_checks.h"
#include "version/version.h"
#include "win32_driver.h"
#include "settings/link_settings.h"
#include "window/field_marks.h"

namespace vrellix::win32::testing {

std::wstring g_screenshots;  // where the screenshots go; empty: none taken

namespace {

// Each test against a watchdog that ends the process should it hang, and with
// every step it set for a dialog run by its end.
class Win32Window : public ::testing::Test {
 protected:
  void SetUp() override {
    ArmWatchdog(::testing::UnitTest::GetInstance()->current_test_info()->name(), kHangSeconds);
  }
  void TearDown() override {
    EXPECT_EQ(PendingSteps(), 0) << "steps for dialogs that never came up";
    ClearSteps();
    DisarmWatchdog();
  }

 private:
  static constexpr int kHangSeconds = 90;
};

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

TitlerOptions Simulating(const sim::SimulatorOptions& simulator = {}, Clock* clock = nullptr) {
  TitlerOptions options;
  options.openLine = sim::SimulatorLines(simulator, clock);
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
    EXPECT_EQ(Text(edit, IDC_TRACK_NUMBER), std::to_string(row + 1));
    SetText(edit, IDC_TRACK_NAME, name);
    SetText(edit, IDC_TRACK_YOMI, yomi);
    Click(edit, IDOK);
  });
  ClickCell(program.Hwnd(), IDC_TRACKS, row, 1);
  EXPECT_TRUE(shown);
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
    // Nothing selected, the focus on OK.
    for (int id : {IDC_VERDICT, IDC_DUMP}) {
      const LRESULT selection = SendMessageW(GetDlgItem(dialog, id), EM_GETSEL, 0, 0);
      EXPECT_EQ(LOWORD(selection), HIWORD(selection)) << id;
    }
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
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

TEST_F(Win32Window, StartupWithoutPort) {
  EnterFreshDirectory("no-port", kNoPort);
  ScriptedUser user;
  user.Answer(Answer::kNo);  // 通信設定?
  Program program(TitlerOptions{});
  // The question comes once the window is on the screen, over it.
  EXPECT_TRUE(user.Boxes().empty());
  PumpUntil([&] { return !user.Boxes().empty(); }, 5000);
  ASSERT_EQ(user.Boxes().size(), 1u);
  EXPECT_NE(Text(program.Hwnd(), IDC_LINK).find("COM9"), std::string::npos);
  EXPECT_NE(user.Boxes()[0].text.find("(COM9)"), std::string::npos);
  EXPECT_NE(user.Boxes()[0].text.find(messages::kChoosePortQuestion), std::string::npos);
  EXPECT_EQ(user.Boxes()[0].icon, MessageIcon::kError);
  // Only 処理開始 waits for a port.
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(program.Hwnd(), IDC_START)));
  for (int id : {IDC_LOAD_CSV, IDC_SAVE_CSV, IDOK}) EXPECT_TRUE(IsWindowEnabled(GetDlgItem(program.Hwnd(), id)));

  // 通信設定 from the system menu: the choice is written, and the port it
  // names (COM8: nothing in the test's wine prefix) fails in turn.
  bool shown = false;
  WhenDialog("通信設定", IDC_PORT, [&](HWND dialog) {
    shown = true;
    EXPECT_EQ(Text(dialog, IDC_PORT).substr(0, 4), std::string("COM9"));
    SetText(dialog, IDC_PORT, "COM8");
    SetText(dialog, IDC_COMMAND_DELAY, "250");
    Click(dialog, IDOK);
  });
  user.Answer(Answer::kNo);
  SendMessageW(program.Hwnd(), WM_SYSCOMMAND, SystemMenuCommand(program.Hwnd(), messages::kPortSettingsItem), 0);
  EXPECT_TRUE(shown);
  ASSERT_EQ(user.Boxes().size(), 2u);
  EXPECT_NE(user.Boxes()[1].text.find("(COM8)"), std::string::npos);
  const LinkSettings written = ReadIniSettings(SettingsPath());
  EXPECT_EQ(written.m_strPortName, std::string("COM8"));
  EXPECT_EQ(written.m_nCommandDelay, 250);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(program.Hwnd(), IDC_START)));
  // Editing still works without a port; a name the device cannot enter is
  // kept as typed once the user says so.
  user.Answer(Answer::kYes);
  EditRowThroughDialog(program, 0, "曲", "きょく");
  ASSERT_EQ(user.Boxes().size(), 3u);
  EXPECT_EQ(user.Boxes()[2].buttons, MessageButtons::kYesNo);
  EXPECT_TRUE(user.Boxes()[2].defaultNo);
  EXPECT_EQ(program.Cell(0, 1), std::string("曲"));
}

TEST_F(Win32Window, WindowLooksAsLaidOut) {
  EnterFreshDirectory("look", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  EXPECT_EQ(WindowTextUtf8(program.Hwnd()), std::string(messages::kSimulatorCaption));
  HWND list = GetDlgItem(program.Hwnd(), IDC_TRACKS);
  EXPECT_EQ(ListView_GetItemCount(list), kTrackCount);
  EXPECT_TRUE((ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES) != 0);
  EXPECT_EQ(program.Cell(49, 0), std::string("50"));
  // The system menu ends in the logic's items, after a separator.
  HMENU menu = GetSystemMenu(program.Hwnd(), FALSE);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 3);
  EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(count - 3), MF_BYPOSITION) & MF_SEPARATOR);
  wchar_t item[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(count - 2), item, 128, MF_BYPOSITION);
  EXPECT_EQ(Utf8(item), std::string(messages::kPortSettingsItem));
  GetMenuStringW(menu, static_cast<UINT>(count - 1), item, 128, MF_BYPOSITION);
  EXPECT_EQ(Utf8(item), std::string(messages::kAboutItem));
  EXPECT_EQ(Text(program.Hwnd(), IDC_LINK), messages::LinkLine(messages::kSimulatorInUse, 100));  // the default delay
  // The About box closes with Escape, as every dialog does.
  bool aboutShown = false;
  WhenDialog("Vrellixのﾊﾞｰｼﾞｮﾝ情報", IDOK, [&](HWND about) {
    aboutShown = true;
    EXPECT_TRUE(FindWindowExW(about, nullptr, L"Static", Wide(std::string("Vrellix Version ") + kVersion).c_str()));
    PostMessageW(GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  SendMessageW(program.Hwnd(), WM_SYSCOMMAND, SystemMenuCommand(program.Hwnd(), messages::kAboutItem), 0);
  EXPECT_TRUE(aboutShown);
  EXPECT_FALSE(FindDialog("Vrellixのﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_TRUE(user.Boxes().empty());
}

// Moved to a monitor of another dpi, the window takes the place Windows
// suggests, its fixed-width text the new size, and its columns the list's width.
TEST_F(Win32Window, FollowsTheMonitorsDpi) {
  EnterFreshDirectory("dpi", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  HWND list = GetDlgItem(program.Hwnd(), IDC_TRACKS);
  RECT start{}, now{}, client{};
  GetWindowRect(program.Hwnd(), &start);
  for (const int dpi : {144, 120, 96}) {
    RECT suggested{start.left + dpi / 8, start.top + dpi / 8, 0, 0};
    suggested.right = suggested.left + MulDiv(start.right - start.left, dpi, 96);
    suggested.bottom = suggested.top + MulDiv(start.bottom - start.top, dpi, 96);
    SendMessageW(program.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    PumpUntil([] { return false; }, 100);  // the posted column layout
    GetWindowRect(program.Hwnd(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << dpi << " dpi: " << now.right - now.left << "x" << now.bottom - now.top;
    for (const int id : {IDC_TITLE, IDC_YOMI, IDC_ARTIST, IDC_TRACKS}) {
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(program.Hwnd(), id, WM_GETFONT, 0, 0)), sizeof font, &font);
      EXPECT_EQ(font.lfHeight, -MulDiv(9, dpi, 72)) << "control " << id << " at " << dpi << " dpi";
    }
    GetClientRect(list, &client);
    const int columns = ListView_GetColumnWidth(list, 0) + 2 * ListView_GetColumnWidth(list, 1);
    EXPECT_LE(columns, client.right) << dpi;
    EXPECT_GE(columns, client.right - 2 * GetSystemMetrics(SM_CXVSCROLL) * dpi / 96) << dpi;
  }
  EXPECT_TRUE(user.Boxes().empty());
}

// Enter in a field goes on to the next control; Enter and F2 on the list edit
// its current row (the logic, tests/window); the list takes what the window
// grows by.
TEST_F(Win32Window, KeysAndResizing) {
  EnterFreshDirectory("keys", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  SetForegroundWindow(program.Hwnd());
  SetFocus(GetDlgItem(program.Hwnd(), IDC_TITLE));
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(GetFocus(), GetDlgItem(program.Hwnd(), IDC_YOMI));
  HWND list = GetDlgItem(program.Hwnd(), IDC_TRACKS);
  ListView_SetItemState(list, 6, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  std::vector<std::string> numbers;
  for (WPARAM key : {VK_RETURN, VK_F2}) {
    WhenDialog("入力", IDC_TRACK_NAME, [&](HWND edit) {
      numbers.push_back(Text(edit, IDC_TRACK_NUMBER));
      PostMessageW(GetDlgItem(edit, IDC_TRACK_NAME), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    SendMessageW(list, WM_KEYDOWN, key, 0);
  }
  EXPECT_EQ(numbers, (std::vector<std::string>{"7", "7"}));
  EXPECT_TRUE(user.Boxes().empty());

  RECT before, window, after, ok;
  GetWindowRect(list, &before);
  GetWindowRect(program.Hwnd(), &window);
  SetWindowPos(program.Hwnd(), nullptr, 0, 0, window.right - window.left + 200, window.bottom - window.top + 100,
               SWP_NOZORDER);  // within the test screen's height
  GetWindowRect(list, &after);
  GetWindowRect(GetDlgItem(program.Hwnd(), IDOK), &ok);
  EXPECT_EQ(after.right - after.left, before.right - before.left + 200);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 100);
  EXPECT_GT(ok.top, after.bottom);
}

// OK goes through the logic's checks (tests/window): a refusal's box comes
// over the dialog, which stays open on what was typed; an edit taken lands
// in the row.
TEST_F(Win32Window, TrackEditDialog) {
  EnterFreshDirectory("track-edit", kNoPort);
  struct Case {
    const char* name;
    bool refused;  // a box comes and the dialog stays open
  };
  const Case cases[] = {
      {"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰQ", true},  // 33 bytes
      {"  ＮＡＭＥ  ", false},
  };
  ScriptedUser user;
  Program program(Simulating());
  for (const Case& c : cases) {
    const std::size_t boxesBefore = user.Boxes().size();
    bool shown = false;
    WhenDialog("入力", IDC_TRACK_NAME, [&](HWND edit) {
      shown = true;
      SetText(edit, IDC_TRACK_NAME, c.name);
      Click(edit, IDOK);
      // A refused OK leaves the dialog open with the text as typed.
      if (c.refused && FindDialog("入力", IDC_TRACK_NAME)) {
        EXPECT_EQ(Text(edit, IDC_TRACK_NAME), std::string(c.name));
        Click(edit, IDCANCEL);
      }
    });
    program.Check(3, false);
    ClickCell(program.Hwnd(), IDC_TRACKS, 3, 2);
    EXPECT_TRUE(shown);
    EXPECT_EQ(user.Boxes().size() - boxesBefore, static_cast<std::size_t>(c.refused ? 1 : 0));
    EXPECT_EQ(program.Checked(3), !c.refused);
    EXPECT_EQ(program.Cell(3, 1), c.refused ? std::string() : TrimWhite(c.name));
  }
  // The number column never opens the dialog.
  ClickCell(program.Hwnd(), IDC_TRACKS, 5, 0);
  EXPECT_FALSE(FindDialog("入力"));
}

// The よみを一括推定 dialog's logic (tests/window) sees its rows, the pick
// from the reading's list and the check marks.
TEST_F(Win32Window, ReadingChoiceDialog) {
  ReadingChoices choices;
  choices.rows = {{AlbumField{AlbumField::Kind::kYomi, 0}, "米津玄師", {"よねつげんし", "よねづけんし"}, "よねつげんし", true},
                  {AlbumField{AlbumField::Kind::kTrackYomi, 1}, "少女", {"しょうじょ"}, "しょうじょ", true}};
  choices.skipped = {"skipped line"};
  bool shown = false;
  WhenDialog("よみを一括推定", IDC_READING, [&](HWND dialog) {
    shown = true;
    HWND rows = GetDlgItem(dialog, IDC_READING_ROWS);
    EXPECT_EQ(ListView_GetItemCount(rows), 2);
    EXPECT_EQ(Text(dialog, IDC_READING_SKIPPED), "skipped line");
    HWND reading = GetDlgItem(dialog, IDC_READING);
    EXPECT_EQ(SendMessageW(reading, CB_GETCOUNT, 0, 0), 2);
    SendMessageW(reading, CB_SETCURSEL, 1, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_READING, CBN_SELCHANGE), reinterpret_cast<LPARAM>(reading));
    ListView_SetCheckState(rows, 1, FALSE);
    Click(dialog, IDOK);
  });
  EXPECT_TRUE(RunReadingChoiceDialog(nullptr, choices));
  EXPECT_TRUE(shown);
  EXPECT_EQ(choices.rows[0].reading, "よねづけんし");
  EXPECT_FALSE(choices.rows[1].checked);
}

// Ticking a row whose text Start would refuse marks its number, and the list's
// tip for the row names the fault; unticking takes both away.
TEST_F(Win32Window, CheckBoxMarksARowStartWouldRefuse) {
  EnterFreshDirectory("row-marks", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  HWND list = GetDlgItem(program.Hwnd(), IDC_TRACKS);
  std::wstring name = L"\u6F22";  // 漢
  ListView_SetItemText(list, 4, 1, name.data());
  const auto tip = [&]() {
    wchar_t text[256] = L"";
    NMLVGETINFOTIPW request{};
    request.hdr.hwndFrom = list;
    request.hdr.idFrom = IDC_TRACKS;
    request.hdr.code = LVN_GETINFOTIPW;
    request.pszText = text;
    request.cchTextMax = 256;
    request.iItem = 4;
    SendMessageW(program.Hwnd(), WM_NOTIFY, IDC_TRACKS, reinterpret_cast<LPARAM>(&request));
    return Utf8(text);
  };
  program.Check(4, true);
  EXPECT_EQ(program.Cell(4, 0), messages::TrackNumber(5, true));
  EXPECT_EQ(tip(), "トラック5の曲名の1文字目「漢」: " + std::string(messages::kFaultNotEnterable));
  program.Check(4, false);
  EXPECT_EQ(program.Cell(4, 0), std::string("5"));
  EXPECT_EQ(tip(), std::string());
  EXPECT_TRUE(user.Boxes().empty());
}

// Saving and loading back under a Japanese file name keeps every text; loading
// checks the rows that have a name.
TEST_F(Win32Window, CsvSaveAndLoad) {
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
  ASSERT_EQ(user.Boxes().size(), 1u);
  EXPECT_EQ(user.Boxes().back().icon, MessageIcon::kInformation);
  EXPECT_NE(GetFileAttributesW(Wide(file).c_str()), INVALID_FILE_ATTRIBUTES);

  Program program(Simulating());
  user.FileName(file);
  Click(program.Hwnd(), IDC_LOAD_CSV);
  EXPECT_EQ(user.Boxes().size(), 1u);
  EXPECT_EQ(Text(program.Hwnd(), IDC_TITLE), std::string("ﾀｲﾄﾙ"));
  EXPECT_EQ(Text(program.Hwnd(), IDC_YOMI), std::string("たいとる"));
  EXPECT_EQ(Text(program.Hwnd(), IDC_ARTIST), std::string("ＡＲＴＩＳＴ"));
  EXPECT_EQ(program.Cell(0, 1), std::string("はじまり"));
  EXPECT_EQ(program.Cell(7, 1), std::string("Track 8"));
  EXPECT_TRUE(program.Checked(0));
  EXPECT_TRUE(program.Checked(7));
  EXPECT_FALSE(program.Checked(9));
}

// CSVﾌｧｲﾙ保存 with the system's dialog: "out" typed where out.csv exists asks
// (about out.csv: "out" does not exist), and No leaves it as it was.
TEST_F(Win32Window, SaveAsksAboutTheCsvFileTheNameBecomes) {
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
  EXPECT_FALSE(question.empty());
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string("kept"));
}

// 処理開始 runs the logic's checks (tests/window): a fault is reported with the
// check's own message and nothing runs.
TEST_F(Win32Window, StartRefusesFaults) {
  EnterFreshDirectory("start-faults", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  FillHeader(program.Hwnd(), "Title", "漢字のよみ", "");
  EditedAlbum album;
  album.title = "Title";
  album.yomi = "漢字のよみ";
  const StartCheckResult expected = RunStartChecks(album);
  ASSERT_EQ(expected.outcome, StartCheckResult::Outcome::kFault);
  Click(program.Hwnd(), IDC_START);
  ASSERT_EQ(user.Boxes().size(), 1u);
  // The check's message, then a line naming what is at fault.
  EXPECT_EQ(user.Boxes()[0].text.substr(0, expected.message.size()), expected.message);
  EXPECT_FALSE(FindDialog("ＲＺＴデータ入力中"));
}

// The example album through the simulator to the success box; the report
// shows what a job without any window leaves on a simulated device.
TEST_F(Win32Window, SimulatedJobSucceeds) {
  EnterFreshDirectory("simulated-job", kNoPort);
  ScriptedUser user;
  Program program(Simulating());
  user.FileName(ExampleAlbum());
  Click(program.Hwnd(), IDC_LOAD_CSV);
  EXPECT_TRUE(user.Boxes().empty());
  if (!g_screenshots.empty()) CaptureWindow(program.Hwnd(), g_screenshots + L"\\win32-main.bmp");

  Report report;
  ReadReportWhenShown(report);
  int keysShown = -1;
  int barRange = -1;
  std::string times;
  user.Answer(Answer::kYes);  // the start question
  user.Answer(Answer::kOk, [&] {  // the success box, over the progress window
    HWND progress = FindDialog("ＲＺＴデータ入力中", IDC_PROGRESS);
    keysShown = static_cast<int>(SendMessageW(GetDlgItem(progress, IDC_PROGRESS), PBM_GETPOS, 0, 0));
    barRange = static_cast<int>(SendMessageW(GetDlgItem(progress, IDC_PROGRESS), PBM_GETRANGE, FALSE, 0));
    times = Text(progress, IDC_TIMES);
  });
  Click(program.Hwnd(), IDC_START);

  ASSERT_EQ(user.Boxes().size(), 2u);
  EXPECT_TRUE(IsStartQuestion(user.Boxes()[0].text));
  EXPECT_EQ(user.Boxes()[1].text, std::string(messages::kJobSucceeded));
  EXPECT_TRUE(report.shown);
  EXPECT_FALSE(FindDialog("ＲＺＴデータ入力中"));

  EditedAlbum edited;
  EXPECT_TRUE(LoadAlbumCsv(ExampleAlbum(), edited).Ok());
  const StartCheckResult checked = RunStartChecks(edited);
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  sim::SimulatedDevice device;
  const sim::SimulatedRun headless = sim::RunJobOnDevice(device, checked.album, checks, kDefaultCommandDelay);
  EXPECT_TRUE(headless.Passed());
  // One bar over the job's keys, full; the simulator's time (not the moment the
  // run took), none of it left.
  EXPECT_EQ(barRange, PlanJob(checked.album, checks, kDefaultCommandDelay).keys);
  EXPECT_EQ(keysShown, barRange);
  EXPECT_EQ(times.rfind("経過 0:00", 0), std::string::npos) << times;
  EXPECT_EQ(times.substr(times.size() - std::strlen("残り 約0:00")), "残り 約0:00") << times;
  EXPECT_EQ(WithoutCarriageReturns(report.dump), device.Dump());
  EXPECT_EQ(WithoutCarriageReturns(report.verdict), sim::SimulatorVerdict(headless));
}

// A line that answers every key with NAK ends in the failure box.
TEST_F(Win32Window, RefusingLineFails) {
  EnterFreshDirectory("nak", kNoPort);
  sim::SimulatorOptions refusing;
  refusing.nakRate = 1.0;
  const TitlerOptions options = Simulating(refusing);
  ScriptedUser user;
  Program program(options);
  FillHeader(program.Hwnd(), "Title", "", "");
  Report report;
  ReadReportWhenShown(report);
  user.Answer(Answer::kYes);
  user.Answer(Answer::kOk);
  Click(program.Hwnd(), IDC_START);
  ASSERT_EQ(user.Boxes().size(), 3u);
  EXPECT_TRUE(IsStartQuestion(user.Boxes()[0].text));
  EXPECT_EQ(user.Boxes()[1].text, messages::kJobFailedBox);
  EXPECT_EQ(user.Boxes()[1].icon, MessageIcon::kError);
  EXPECT_EQ(user.Boxes()[2].text, StoppedBox(messages::kPlaceTitle));
  EXPECT_TRUE(report.shown);
  EXPECT_NE(report.verdict, "Title");
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

// 中断: No lets the job go on, Enter does nothing; Escape and the close box ask
// the same, and Yes stops the job with no result box.
TEST_F(Win32Window, AbortDuringJob) {
  EnterFreshDirectory("abort", kNoPort);
  FastClock clock;
  const TitlerOptions options = Simulating({}, &clock);
  ScriptedUser user;
  Program program(options);
  FillHeader(program.Hwnd(), "AB", "", "ＡＲＴＩＳＴ");
  for (int row = 0; row < 20; ++row) {  // a job of a minute or more, if not stopped
    program.Window().SetCellText(row, TrackColumn::kName, "TRACK " + std::to_string(row + 1));
    program.Check(row, true);
  }
  const auto started = [](HWND progress) { return Text(progress, IDC_STATUS) == messages::kStatusArtist; };
  bool stillOpenAfterNo = false;
  WhenDialog("ＲＺＴデータ入力中", IDC_ABORT, [&](HWND progress) {
    if (!g_screenshots.empty()) CaptureWindow(progress, g_screenshots + L"\\win32-progress.bmp");
    EXPECT_EQ(Text(progress, IDC_ABORT), std::string(messages::kAbortButton));
    // Enter does nothing; Escape is 中断, which asks (after the click's No).
    HWND abort = GetDlgItem(progress, IDC_ABORT);
    PostMessageW(abort, WM_KEYDOWN, VK_RETURN, 0);
    Click(progress, IDC_ABORT);  // answered No
    stillOpenAfterNo = FindDialog("ＲＺＴデータ入力中") != nullptr;
    PostMessageW(abort, WM_KEYDOWN, VK_ESCAPE, 0);
    WhenDialog("ＲＺＴデータ入力中", IDC_ABORT, [](HWND again) { SendMessageW(again, WM_SYSCOMMAND, SC_CLOSE, 0); });
  }, started);
  Report report;
  ReadReportWhenShown(report);
  user.Answer(Answer::kYes);  // start
  user.Answer(Answer::kNo);   // 中断?
  user.Answer(Answer::kNo);   // Escape or the close box, whichever comes first: 中断?
  user.Answer(Answer::kYes);  // the other: 中断?
  Click(program.Hwnd(), IDC_START);
  EXPECT_TRUE(stillOpenAfterNo);
  ASSERT_EQ(user.Boxes().size(), 5u);
  EXPECT_TRUE(IsStartQuestion(user.Boxes()[0].text));
  for (int box = 1; box <= 3; ++box) EXPECT_EQ(user.Boxes()[box].text, std::string(messages::kAbortQuestion));
  EXPECT_EQ(user.Boxes()[4].text, StoppedBox(messages::kPlaceArtist));
  EXPECT_TRUE(program.Window().Logic().IsJobIdle());
  EXPECT_TRUE(report.shown);
}

// vrellix.exe --simulate itself, with the system's own message boxes, driven
// from outside: a title, 処理開始, Yes, the success box, the simulator's report
// (what a job without any window leaves), Escape and Yes to leaving the
// unsaved title; the program then ends.
TEST_F(Win32Window, ProgramRunsWithSimulator) {
  EnterFreshDirectory("program", kNoPort);
  std::wstring commandLine = L"\"" + Wide(VRELLIX_PROGRAM) + L"\" --simulate";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    FAIL() << "vrellix.exe did not start";
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
  EXPECT_NE(main, nullptr);
  std::string dump;
  if (main) {
    const std::wstring title = L"ABC";
    SendMessageW(GetDlgItem(main, IDC_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
    PostMessageW(GetDlgItem(main, IDC_START), BM_CLICK, 0, 0);
    EXPECT_TRUE(answer(IDYES));
    EXPECT_TRUE(answer(IDOK));
    if (HWND report = WaitForWindowOf(pid, "Vrellix", hasControl(IDC_DUMP), 20000)) {
      wchar_t text[4096] = {};
      SendMessageW(GetDlgItem(report, IDC_DUMP), WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
      dump = WithoutCarriageReturns(Utf8(text));
      PostMessageW(report, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    PumpUntil([main]() { return IsWindowEnabled(main) != FALSE; }, 5000);
    // The title was never saved: leaving asks first.
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(answer(IDYES));
  }
  EXPECT_EQ(boxes.size(), 3u);
  if (boxes.size() == 3) {
    EXPECT_TRUE(IsStartQuestion(boxes[0]));
    EXPECT_EQ(boxes[1], std::string(messages::kJobSucceeded));
    EXPECT_EQ(boxes[2], std::string(messages::kUnsavedExitQuestion));
  }

  EditedAlbum edited;
  edited.title = "ABC";
  sim::SimulatedDevice device;
  sim::RunJobOnDevice(device, RunStartChecks(edited).album, {}, kDefaultCommandDelay);
  EXPECT_EQ(dump, device.Dump());

  const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
  EXPECT_TRUE(ended);
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// Each field's typing reaches the logic, whose count (tests/window) shows
// beside that field: a reading counts characters, the others bytes.
TEST_F(Win32Window, LiveCounts) {
  EnterFreshDirectory("counts", kNoPort);
  struct Case {
    int field, count;
    CheckMode mode;
    const char* text;
  };
  const Case cases[] = {
      {IDC_TITLE, IDC_TITLE_COUNT, CheckMode::kGeneral, "ＡＢＣ"},
      {IDC_YOMI, IDC_YOMI_COUNT, CheckMode::kReading, "ひらがな"},
      {IDC_ARTIST, IDC_ARTIST_COUNT, CheckMode::kGeneral, "AB"},
  };
  ScriptedUser user;
  Program program(Simulating());
  for (const Case& c : cases) {
    SetText(program.Hwnd(), c.field, c.text);
    EXPECT_EQ(Text(program.Hwnd(), c.count), MarkField(c.text, c.mode).count);
  }
  bool shown = false;
  WhenDialog("入力", IDC_TRACK_NAME, [&](HWND edit) {
    shown = true;
    for (const Case& c : cases) {
      const bool reading = c.mode == CheckMode::kReading;
      SetText(edit, reading ? IDC_TRACK_YOMI : IDC_TRACK_NAME, c.text);
      EXPECT_EQ(Text(edit, reading ? IDC_TRACK_YOMI_COUNT : IDC_TRACK_NAME_COUNT), MarkField(c.text, c.mode).count);
    }
    Click(edit, IDCANCEL);
  });
  ClickCell(program.Hwnd(), IDC_TRACKS, 0, 1);
  EXPECT_TRUE(shown);

  // Only the character the device cannot take is drawn in the marks' red.
  HWND artist = GetDlgItem(program.Hwnd(), IDC_ARTIST);
  for (const std::string text : {"ABCD", "AB漢D"}) {
    SetText(program.Hwnd(), IDC_ARTIST, text);
    RedrawWindow(artist, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT area;
    GetClientRect(artist, &area);
    std::vector<int> red;  // the columns holding red
    HDC dc = GetDC(artist);
    for (int x = 0; x < area.right; ++x) {
      for (int y = 0; y < area.bottom; ++y) {
        if (GetPixel(dc, x, y) == RGB(204, 0, 0)) red.push_back(x);
      }
    }
    ReleaseDC(artist, dc);
    EXPECT_EQ(red.empty(), text == "ABCD");
    const auto column = [artist](int character) { return LOWORD(SendMessageW(artist, EM_POSFROMCHAR, character, 0)); };
    EXPECT_TRUE(red.empty() || (red.front() >= column(2) && red.back() <= column(3)));
  }
}

// 終了, Escape and CSVﾌｧｲﾙ読込 ask the logic (tests/window), which asks over
// changes not saved (No by default); the window ends when it says so.
TEST_F(Win32Window, ExitAndLoadAskTheLogic) {
  EnterFreshDirectory("unsaved", kNoPort);
  struct Case {
    int command;
    bool changed;
    std::vector<Answer> answers;
    std::vector<std::string> boxes;
    bool ends;
  };
  const Case cases[] = {
      {IDOK, false, {Answer::kNo}, {messages::kExitQuestion}, false},
      {IDOK, true, {Answer::kYes}, {messages::kUnsavedExitQuestion}, true},
      {IDCANCEL, false, {}, {}, true},
      {IDC_LOAD_CSV, true, {Answer::kNo}, {messages::kUnsavedLoadQuestion}, false},
  };
  for (const Case& c : cases) {
    ScriptedUser user;
    Program program(Simulating());
    if (c.changed) SetText(program.Hwnd(), IDC_TITLE, "新しいタイトル");
    for (Answer answer : c.answers) user.Answer(answer);
    SendMessageW(program.Hwnd(), WM_COMMAND, MAKEWPARAM(c.command, BN_CLICKED), 0);
    EXPECT_EQ(user.BoxTexts(), c.boxes);
    for (const Message& box : user.Boxes()) EXPECT_TRUE(box.defaultNo);
    EXPECT_EQ(program.Window().HasEnded(), c.ends);
    EXPECT_EQ(user.Unanswered(), 0);  // no file question after No
  }
}

// A job that fails in a track offers to go on from there; the next Start
// says so and finishes the album, which the device then holds whole.
TEST_F(Win32Window, ResumeFromTrack) {
  EnterFreshDirectory("resume", kNoPort);
  EditedAlbum edited;
  EXPECT_TRUE(LoadAlbumCsv(ExampleAlbum(), edited).Ok());
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  sim::SimulatedDevice counting;
  const int packets = sim::RunJobOnDevice(counting, RunStartChecks(edited).album, checks, kDefaultCommandDelay).packets;
  // Both tries of one key late in the album are refused.
  sim::SimulatorOptions faulty;
  const int refused = packets * 3 / 4;
  for (int packet : {refused, refused + 1}) {
    sim::PacketFault fault;
    fault.kind = sim::PacketFault::Kind::kRefused;
    fault.packet = packet;
    faulty.faults.push_back(fault);
  }

  ScriptedUser user;
  Program program(Simulating(faulty));
  user.FileName(ExampleAlbum());
  Click(program.Hwnd(), IDC_LOAD_CSV);
  Report first;
  ReadReportWhenShown(first);
  user.Answer(Answer::kYes);  // start
  user.Answer(Answer::kOk);   // failure
  user.Answer(Answer::kOk);   // where it stopped
  user.Answer(Answer::kYes);  // resume from the track next time
  Click(program.Hwnd(), IDC_START);
  ASSERT_EQ(user.Boxes().size(), 4u);
  EXPECT_EQ(user.Boxes()[1].text, messages::kJobFailedBox);
  std::string place;
  for (int track = 1; track <= kTrackCount; ++track) {
    if (user.Boxes()[3].text == messages::ResumeQuestion(messages::PlaceTrack(track))) place = messages::PlaceTrack(track);
  }
  ASSERT_FALSE(place.empty());

  Report second;
  ReadReportWhenShown(second);
  user.Answer(Answer::kYes);  // start, from the track
  user.Answer(Answer::kOk);   // success
  Click(program.Hwnd(), IDC_START);
  ASSERT_EQ(user.Boxes().size(), 6u);
  EXPECT_TRUE(IsStartQuestion(user.Boxes()[4].text, messages::ResumeNote(place)));
  EXPECT_EQ(user.Boxes()[5].text, std::string(messages::kJobSucceeded));
  EXPECT_TRUE(second.shown);
  EXPECT_EQ(WithoutCarriageReturns(second.dump), counting.Dump());
}

}  // namespace
}  // namespace vrellix::win32::testing

// --screenshots DIR: the tests that can write their window's picture there
// do (scripts/win32-screenshots).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshots") == 0) {
      vrellix::win32::testing::g_screenshots = vrellix::win32::Wide(argv[i + 1]);
    }
  }
  return RUN_ALL_TESTS();
}
