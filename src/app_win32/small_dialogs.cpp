#include "app_win32/small_dialogs.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app_win32/dialog_window.h"
#include "app_win32/field_marks_win32.h"
#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "messages/messages.h"
#include "resource.h"
#include "validate/input_checks.h"
#include "window/field_marks.h"
#include "window/reading_actions.h"
#include "version/version.h"

namespace vrellix::win32 {

namespace {

class TrackEditDialog final : public DialogWindow {
 public:
  TrackEditDialog(TrackEdit& edit, ReadingActions* readings) : m_edit(edit), m_pReadings(readings) {}
  ~TrackEditDialog() override {
    Destroy();
    if (m_font) DeleteObject(m_font);
  }

 protected:
  void OnInitDialog() override {
    m_font = CreateFixedWidthFont(Hwnd());
    for (int id : {IDC_TRACK_NAME, IDC_TRACK_YOMI}) SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    m_marks.Attach(Hwnd());
    SetWindowTextUtf8(Item(IDC_TRACK_NAME), m_edit.name);
    SetWindowTextUtf8(Item(IDC_TRACK_NUMBER), m_edit.number);
    SetWindowTextUtf8(Item(IDC_TRACK_YOMI), m_edit.yomi);
    ShowMarks();
    SetFocus(Item(IDC_TRACK_NAME));
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    if (message == WM_CONTEXTMENU && m_pReadings) {
      OnReadingMenu(lParam);
      result = 0;
      return true;
    }
    if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (!m_marks.SetColour(reinterpret_cast<HWND>(lParam), dc)) return false;
    const int background = message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(background));
    result = reinterpret_cast<INT_PTR>(GetSysColorBrush(background));
    return true;
  }

  void OnCommand(int id, int code) override {
    if ((id == IDC_TRACK_NAME || id == IDC_TRACK_YOMI) && code == EN_CHANGE) {
      ShowMarks();
      return;
    }
    if (id != IDOK) {
      DialogWindow::OnCommand(id, code);
      return;
    }
    const std::string name = WindowTextUtf8(Item(IDC_TRACK_NAME));
    const std::string yomi = WindowTextUtf8(Item(IDC_TRACK_YOMI));
    if (const auto fault = CheckTrackEdit(name, yomi)) {
      // The fields keep what the user typed, so it can be corrected.
      ShowMessageBox(Hwnd(), {*fault, MessageIcon::kWarning});
      return;
    }
    m_edit.name = name;
    m_edit.yomi = yomi;
    End(IDOK);
  }

 private:
  void ShowMarks() {
    m_marks.Show(Item(IDC_TRACK_NAME), Item(IDC_TRACK_NAME_COUNT),
                 MarkField(WindowTextUtf8(Item(IDC_TRACK_NAME)), CheckMode::kGeneral));
    m_marks.Show(Item(IDC_TRACK_YOMI), Item(IDC_TRACK_YOMI_COUNT),
                 MarkField(WindowTextUtf8(Item(IDC_TRACK_YOMI)), CheckMode::kReading));
  }

  // The dialog's own menu (a right click beside the fields; the edit fields
  // keep the system's menu for undo and paste).
  void OnReadingMenu(LPARAM lParam) {
    enum : UINT { kSuggestReading = 1, kToHiragana, kToKatakana };
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kSuggestReading, Wide(messages::kSuggestReadingItem).c_str());
    AppendMenuW(menu, MF_STRING, kToHiragana, Wide(messages::kToHiraganaItem).c_str());
    AppendMenuW(menu, MF_STRING, kToKatakana, Wide(messages::kToKatakanaItem).c_str());
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);  // from the keyboard
    const auto chosen =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Hwnd(), nullptr));
    DestroyMenu(menu);
    BoxMessages view(Hwnd());
    const int number = std::atoi(m_edit.number.c_str());
    const std::string name = WindowTextUtf8(Item(IDC_TRACK_NAME));
    if (chosen == kSuggestReading) {
      const std::optional<std::string> reading = m_pReadings->SuggestReading(
          view, AlbumField{AlbumField::Kind::kTrackYomi, number}, name, WindowTextUtf8(Item(IDC_TRACK_YOMI)));
      if (reading) ReplaceTextUndoably(Item(IDC_TRACK_YOMI), *reading);
    } else if (chosen == kToHiragana || chosen == kToKatakana) {
      const std::optional<std::string> converted =
          m_pReadings->ConvertName(view, AlbumField{AlbumField::Kind::kTrackName, number}, name,
                                   chosen == kToHiragana ? KanaStyle::kHiragana : KanaStyle::kKatakana);
      if (converted) ReplaceTextUndoably(Item(IDC_TRACK_NAME), *converted);
    }
  }

  TrackEdit& m_edit;
  ReadingActions* m_pReadings;
  FieldMarkDisplay m_marks;
  HFONT m_font = nullptr;
};

class PortSettingsDialog final : public DialogWindow {
 public:
  explicit PortSettingsDialog(PortSettingsEdit& edit) : m_edit(edit) {}

 protected:
  void OnInitDialog() override {
    HWND ports = Item(IDC_PORT);
    int chosen = -1;
    for (const SerialPortInfo& port : m_edit.ports) {
      // The device is what gets written; the system's name helps to tell them apart.
      const std::string shown = port.description.empty() ? port.device : port.device + "  " + port.description;
      const std::wstring text = Wide(shown);
      const auto index = SendMessageW(ports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      m_devices.push_back(port.device);
      if (port.device == m_edit.port) chosen = static_cast<int>(index);
    }
    if (chosen >= 0) {
      SendMessageW(ports, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    } else {
      SetWindowTextUtf8(ports, m_edit.port);
    }
    SendMessageW(Item(IDC_COMMAND_DELAY_SPIN), UDM_SETRANGE32, 0, kMaxCommandDelayMs);
    SendMessageW(Item(IDC_COMMAND_DELAY_SPIN), UDM_SETPOS32, 0, m_edit.commandDelay);
    SetFocus(ports);
  }

  void OnCommand(int id, int code) override {
    if (id != IDOK) {
      DialogWindow::OnCommand(id, code);
      return;
    }
    // A listed entry stands for its device; anything else was typed.
    const std::string typed = WindowTextUtf8(Item(IDC_PORT));
    m_edit.port = typed;
    for (std::size_t i = 0; i < m_devices.size(); ++i) {
      const std::string& device = m_devices[i];
      const SerialPortInfo& port = m_edit.ports[i];
      if (typed == (port.description.empty() ? device : device + "  " + port.description)) m_edit.port = device;
    }
    BOOL failed = FALSE;
    const auto delay = static_cast<int>(SendMessageW(Item(IDC_COMMAND_DELAY_SPIN), UDM_GETPOS32, 0,
                                                     reinterpret_cast<LPARAM>(&failed)));
    // The up-down control keeps a typed value within its range.
    m_edit.commandDelay = std::clamp(delay, 0, kMaxCommandDelayMs);
    End(IDOK);
  }

 private:
  PortSettingsEdit& m_edit;
  std::vector<std::string> m_devices;
};

class AboutBox final : public DialogWindow {
 public:
  AboutBox() { m_swallowEnterEscape = true; }

 protected:
  void OnInitDialog() override {
    // The template holds a placeholder number; the one shown is the build's.
    SetWindowTextUtf8(FindWindowExW(Hwnd(), nullptr, L"Static", L"Vrellix Version 1.0"),
                      std::string("Vrellix Version ") + kVersion);
  }
};

class SimulatorDump final : public DialogWindow {
 public:
  SimulatorDump(const std::string& verdict, const std::string& dump) : m_verdict(verdict), m_dump(dump) {}

 protected:
  void OnInitDialog() override {
    // An edit control breaks lines only at CR LF.
    const auto lines = [](const std::string& lf) {
      std::string crlf;
      for (char c : lf) {
        if (c == '\n') crlf += '\r';
        crlf += c;
      }
      return crlf;
    };
    SetWindowTextUtf8(Item(IDC_VERDICT), lines(m_verdict));
    SetWindowTextUtf8(Item(IDC_DUMP_LABEL), messages::kSimulatorHolds);
    SetWindowTextUtf8(Item(IDC_DUMP), lines(m_dump));
    SetFocus(Item(IDOK));
  }

 private:
  const std::string& m_verdict;
  const std::string& m_dump;
};

}  // namespace

bool RunTrackEditDialog(HWND owner, TrackEdit& edit, ReadingActions* readings) {
  TrackEditDialog dialog(edit, readings);
  return dialog.DoModal(owner, IDD_TRACK_EDIT) == IDOK;
}

void RunAboutBox(HWND owner) {
  AboutBox about;
  about.DoModal(owner, IDD_ABOUTBOX);
}

bool RunPortSettingsDialog(HWND owner, PortSettingsEdit& edit) {
  PortSettingsDialog dialog(edit);
  return dialog.DoModal(owner, IDD_PORT_SETTINGS) == IDOK;
}

void RunSimulatorDump(HWND owner, const std::string& verdict, const std::string& dump) {
  SimulatorDump dialog(verdict, dump);
  dialog.DoModal(owner, IDD_SIMULATOR_DUMP);
}

}  // namespace vrellix::win32
