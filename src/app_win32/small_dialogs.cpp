#include "app_win32/small_dialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app_win32/control_hooks.h"
#include "app_win32/dialog_window.h"
#include "app_win32/field_marks_win32.h"
#include "app_win32/popup_menu.h"
#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "messages/messages.h"
#include "resource.h"
#include "version/version.h"
#include "window/port_settings_logic.h"
#include "window/port_settings_view.h"
#include "window/reading_choice_logic.h"
#include "window/track_edit_logic.h"
#include "window/track_edit_view.h"

namespace vrellix::win32 {

namespace {

class TrackEditDialog final : public DialogWindow, public TrackEditView {
 public:
  TrackEditDialog(TrackEdit& edit, ReadingActions* readings) : m_logic(*this, edit, readings) {}
  ~TrackEditDialog() override {
    Destroy();
    if (m_font) DeleteObject(m_font);
  }
  TrackEditDialog(const TrackEditDialog&) = delete;
  TrackEditDialog& operator=(const TrackEditDialog&) = delete;

  // TrackEditView.
  std::string Text(TrackEditField field) const override { return WindowTextUtf8(Item(FieldId(field))); }
  void SetText(TrackEditField field, const std::string& text) override { SetWindowTextUtf8(Item(FieldId(field)), text); }
  void ReplaceText(TrackEditField field, const std::string& text) override {
    ReplaceTextUndoably(Item(FieldId(field)), text);
  }
  void SetNumber(const std::string& number) override { SetWindowTextUtf8(Item(IDC_TRACK_NUMBER), number); }
  void ShowFieldMarks(TrackEditField field, const FieldMarks& marks) override {
    m_marks.Show(Item(FieldId(field)),
                 Item(field == TrackEditField::kName ? IDC_TRACK_NAME_COUNT : IDC_TRACK_YOMI_COUNT), marks);
  }
  void FocusText(TrackEditField field) override { SetFocus(Item(FieldId(field))); }
  void SelectText(TrackEditField field) override { SelectWholeText(Hwnd(), Item(FieldId(field))); }
  void Close(bool ok) override { End(ok ? IDOK : IDCANCEL); }
  Answer ShowMessage(const Message& message) override { return ShowMessageBox(Hwnd(), message); }

 protected:
  void OnInitDialog() override {
    m_font = CreateFixedWidthFont(Hwnd());
    for (int id : {IDC_TRACK_NAME, IDC_TRACK_YOMI}) SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    m_marks.Attach(Hwnd(), {Item(IDC_TRACK_NAME), Item(IDC_TRACK_YOMI)});
    // Each field's own menu: its edit commands, then its actions.
    for (TrackEditField field : {TrackEditField::kName, TrackEditField::kYomi}) {
      ControlHooks hooks;
      hooks.menu = [this, field] { return m_logic.FieldMenu(field); };
      HookControl(Item(FieldId(field)), std::move(hooks));
    }
    m_logic.OnInitDialog();
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    // Beside the fields: both fields' actions.
    if (message == WM_CONTEXTMENU) {
      const Menu menu = m_logic.DialogMenu();
      if (menu.empty()) return false;
      RunPopupMenu(Hwnd(), menu, lParam);
      result = 0;
      return true;
    }
    if (message != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (!m_marks.SetColour(reinterpret_cast<HWND>(lParam), dc)) return false;
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
  }

  void OnCommand(int id, int code) override {
    if ((id == IDC_TRACK_NAME || id == IDC_TRACK_YOMI) && code == EN_CHANGE) {
      m_logic.OnTextChanged();
    } else if (id == IDOK) {
      m_logic.OnOk();
    } else {
      DialogWindow::OnCommand(id, code);
    }
  }

 private:
  static int FieldId(TrackEditField field) { return field == TrackEditField::kName ? IDC_TRACK_NAME : IDC_TRACK_YOMI; }

  TrackEditLogic m_logic;
  FieldMarkDisplay m_marks;
  HFONT m_font = nullptr;
};

class PortSettingsDialog final : public DialogWindow, public PortSettingsView {
 public:
  explicit PortSettingsDialog(PortSettingsEdit& edit) : m_logic(*this, edit) {}

  // PortSettingsView.
  void SetPortEntries(const std::vector<std::string>& entries) override {
    SendMessageW(Item(IDC_PORT), CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries) {
      const std::wstring text = Wide(entry);
      SendMessageW(Item(IDC_PORT), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  void ChoosePortEntry(int index) override { SendMessageW(Item(IDC_PORT), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  void SetPortText(const std::string& text) override { SetWindowTextUtf8(Item(IDC_PORT), text); }
  std::string PortText() const override { return WindowTextUtf8(Item(IDC_PORT)); }
  void SetDelayRange(int min, int max) override {
    SendMessageW(Item(IDC_COMMAND_DELAY_SPIN), UDM_SETRANGE32, static_cast<WPARAM>(min), max);
  }
  void SetDelay(int ms) override { SendMessageW(Item(IDC_COMMAND_DELAY_SPIN), UDM_SETPOS32, 0, ms); }
  int Delay() const override {
    // The up-down control keeps a typed value within its range.
    BOOL failed = FALSE;
    return static_cast<int>(
        SendMessageW(Item(IDC_COMMAND_DELAY_SPIN), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  }
  void FocusPort() override { SetFocus(Item(IDC_PORT)); }
  void SetPortNote(const std::string& text) override { SetWindowTextUtf8(Item(IDC_PORT_NOTE), text); }
  void Close(bool ok) override { End(ok ? IDOK : IDCANCEL); }

 protected:
  void OnInitDialog() override { m_logic.OnInitDialog(); }

  void OnCommand(int id, int code) override {
    if (id == IDOK) {
      m_logic.OnOk();
    } else {
      DialogWindow::OnCommand(id, code);
    }
  }

 private:
  PortSettingsLogic m_logic;
};

class ReadingChoiceDialog final : public DialogWindow, public ReadingChoiceView {
 public:
  explicit ReadingChoiceDialog(ReadingChoices& choices) : m_logic(*this, choices) {}

  // ReadingChoiceView.
  void SetRows(const std::vector<std::string>& texts, const std::vector<bool>& checked) override {
    HWND list = Item(IDC_READING_ROWS);
    ListView_DeleteAllItems(list);
    for (std::size_t row = 0; row < texts.size(); ++row) {
      std::wstring text = Wide(texts[row]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(row);
      item.pszText = text.data();
      const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
      ListView_SetCheckState(list, index, checked[row]);
    }
  }
  void SetRowText(int row, const std::string& text) override {
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = wide.data();
    SendMessageW(Item(IDC_READING_ROWS), LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
  bool IsRowChecked(int row) const override { return ListView_GetCheckState(Item(IDC_READING_ROWS), row) != 0; }
  void SelectRow(int row) override {
    HWND list = Item(IDC_READING_ROWS);
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, row, state, state);
    ListView_EnsureVisible(list, row, FALSE);
  }
  void SetCandidates(const std::vector<std::string>& candidates, const std::string& text) override {
    HWND field = Item(IDC_READING);
    SendMessageW(field, CB_RESETCONTENT, 0, 0);
    for (const std::string& candidate : candidates) {
      const std::wstring wide = Wide(candidate);
      SendMessageW(field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SetWindowTextUtf8(field, text);
  }
  std::string ReadingText() const override { return WindowTextUtf8(Item(IDC_READING)); }
  void SetSkipped(const std::vector<std::string>& lines) override {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
    SetWindowTextUtf8(Item(IDC_READING_SKIPPED), text);
  }
  void Close(bool ok) override { End(ok ? IDOK : IDCANCEL); }
  Answer ShowMessage(const Message& message) override { return ShowMessageBox(Hwnd(), message); }

 protected:
  void OnInitDialog() override {
    HWND list = Item(IDC_READING_ROWS);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT inside{};
    GetClientRect(list, &inside);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = inside.right - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    m_logic.OnInitDialog();
    m_ready = true;  // what the logic put in is no choice of the user's
  }

  bool OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) override {
    if (message != WM_NOTIFY || !m_ready) return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (change->hdr.idFrom != IDC_READING_ROWS || change->hdr.code != LVN_ITEMCHANGED) return false;
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED)) {
      m_logic.OnRowSelected(change->iItem);
    }
    result = 0;
    return true;
  }

  void OnCommand(int id, int code) override {
    if (id == IDC_READING && m_ready && code == CBN_SELCHANGE) {
      // The field shows the entry picked only after this notification.
      HWND field = Item(IDC_READING);
      const LRESULT picked = SendMessageW(field, CB_GETCURSEL, 0, 0);
      if (picked == CB_ERR) return;
      std::wstring text(static_cast<std::size_t>(SendMessageW(field, CB_GETLBTEXTLEN, static_cast<WPARAM>(picked), 0)), L'\0');
      SendMessageW(field, CB_GETLBTEXT, static_cast<WPARAM>(picked), reinterpret_cast<LPARAM>(text.data()));
      SetWindowTextW(field, text.c_str());
      m_logic.OnReadingChanged();
    } else if (id == IDC_READING && m_ready && code == CBN_EDITCHANGE) {
      m_logic.OnReadingChanged();
    } else if (id == IDOK) {
      m_logic.OnOk();
    } else {
      DialogWindow::OnCommand(id, code);
    }
  }

 private:
  ReadingChoiceLogic m_logic;
  bool m_ready = false;
};

// OK is its default button: Enter closes it, as Escape does.
class AboutBox final : public DialogWindow {
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
  ~SimulatorDump() override {
    Destroy();
    if (m_font) DeleteObject(m_font);
  }
  SimulatorDump(const SimulatorDump&) = delete;
  SimulatorDump& operator=(const SimulatorDump&) = delete;

 protected:
  void OnInitDialog() override {
    // The device's fields line up in columns.
    m_font = CreateFixedWidthFont(Hwnd());
    SendMessageW(Item(IDC_DUMP), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
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
    FitVerdict();
    // Nothing selected: the dialog would select the first field's whole text.
    SetInitialFocus(Item(IDOK));
  }

 private:
  // The verdict as high as its lines (the template's five at most), the dump
  // taking the rest, so that no gap stands under a short verdict.
  void FitVerdict() {
    HWND verdict = Item(IDC_VERDICT);
    RECT box;
    GetWindowRect(verdict, &box);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&box), 2);
    HDC dc = GetDC(verdict);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(verdict, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    ReleaseDC(verdict, dc);
    const int lineCount = static_cast<int>(SendMessageW(verdict, EM_GETLINECOUNT, 0, 0));
    const int height = std::min<int>(box.bottom - box.top, std::max(1, lineCount) * metrics.tmHeight + 4);
    const int shift = box.bottom - box.top - height;
    if (shift <= 0) return;
    SetWindowPos(verdict, nullptr, 0, 0, box.right - box.left, height, SWP_NOMOVE | SWP_NOZORDER);
    for (int id : {IDC_DUMP_LABEL, IDC_DUMP}) {
      RECT rect;
      GetWindowRect(Item(id), &rect);
      MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
      // The label moves up; the dump grows by what the verdict gave up.
      const int grow = id == IDC_DUMP ? shift : 0;
      SetWindowPos(Item(id), nullptr, rect.left, rect.top - shift, rect.right - rect.left,
                   rect.bottom - rect.top + grow, SWP_NOZORDER);
    }
  }

  const std::string& m_verdict;
  const std::string& m_dump;
  HFONT m_font = nullptr;
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

bool RunReadingChoiceDialog(HWND owner, ReadingChoices& choices) {
  ReadingChoiceDialog dialog(choices);
  return dialog.DoModal(owner, IDD_READING_CHOICE) == IDOK;
}

void RunSimulatorDump(HWND owner, const std::string& verdict, const std::string& dump) {
  SimulatorDump dialog(verdict, dump);
  dialog.DoModal(owner, IDD_SIMULATOR_DUMP);
}

}  // namespace vrellix::win32
