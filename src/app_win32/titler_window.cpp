#include "app_win32/titler_window.h"

#include <commctrl.h>

#include <algorithm>

#include "app_win32/control_hooks.h"
#include "app_win32/popup_menu.h"
#include "app_win32/small_dialogs.h"
#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "messages/messages.h"
#include "resource.h"

namespace vrellix::win32 {

namespace {

// Posted by OnInitDialog: handled once the window is on the screen.
constexpr UINT kWindowShown = WM_APP + 1;
// Sent to itself after a dpi change, once Windows has laid the controls out anew.
constexpr UINT kLayOutColumns = WM_APP + 2;

constexpr TextField kFields[] = {TextField::kTitle, TextField::kYomi, TextField::kArtist};

int FieldId(TextField field) {
  switch (field) {
    case TextField::kTitle: return IDC_TITLE;
    case TextField::kYomi: return IDC_YOMI;
    case TextField::kArtist: return IDC_ARTIST;
  }
  return 0;
}

int CountId(TextField field) {
  switch (field) {
    case TextField::kTitle: return IDC_TITLE_COUNT;
    case TextField::kYomi: return IDC_YOMI_COUNT;
    case TextField::kArtist: return IDC_ARTIST_COUNT;
  }
  return 0;
}

int ControlId(Control control) {
  switch (control) {
    case Control::kLoad: return IDC_LOAD_CSV;
    case Control::kSave: return IDC_SAVE_CSV;
    case Control::kStart: return IDC_START;
    case Control::kExit: return IDOK;
  }
  return 0;
}

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR));
}

// A control's rectangle in the dialog's client coordinates.
RECT ClientRect(HWND dialog, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

TitlerWindow::TitlerWindow(ProgressWindow& progress, const TitlerOptions& options)
    : m_progress(progress), m_logic(*this, progress.Logic(), options) {}

TitlerWindow::~TitlerWindow() {
  Destroy();
  if (m_background) DeleteObject(m_background);
  if (m_fixedFont) DeleteObject(m_fixedFont);
  if (m_bigIcon) DestroyIcon(m_bigIcon);
  if (m_smallIcon) DestroyIcon(m_smallIcon);
}

void TitlerWindow::OnInitDialog() {
  m_systemMenu = m_logic.SystemMenu();
  AppendToSystemMenu(Hwnd(), m_systemMenu);
  // Fixed-width text in the fields and the list, where counts matter.
  m_fixedFont = CreateFixedWidthFont(Hwnd());
  // Windows 10 1703 and later would give them the dialog's font on a dpi change.
  static const auto keepFont = NewerUser32Function<BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS,
                                                                 DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS)>(
      "SetDialogControlDpiChangeBehavior");
  for (int id : {IDC_TITLE, IDC_YOMI, IDC_ARTIST, IDC_TRACKS}) {
    SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_fixedFont), TRUE);
    if (keepFont) keepFont(Item(id), DCDC_DISABLE_FONT_UPDATE, DCDC_DISABLE_FONT_UPDATE);
  }
  m_marks.Attach(Hwnd(), {Item(IDC_TITLE), Item(IDC_YOMI), Item(IDC_ARTIST)});
  HookControls();
  m_dpi = WindowDpi(Hwnd());
  RECT window;
  GetWindowRect(Hwnd(), &window);
  m_templateSize = {window.right - window.left, window.bottom - window.top};
  RECT client;
  GetClientRect(Hwnd(), &client);
  m_templateClient = {client.right, client.bottom};
  m_listRect = ClientRect(Hwnd(), Item(IDC_TRACKS));
  m_buttonTop = ClientRect(Hwnd(), Item(IDC_LOAD_CSV)).top;
  m_linkTop = ClientRect(Hwnd(), Item(IDC_LINK)).top;
  m_bigIcon = LoadProgramIcon(GetSystemMetrics(SM_CXICON));
  m_smallIcon = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
  m_background = CreateSolidBrush(RGB(kWindowBackground.red, kWindowBackground.green, kWindowBackground.blue));
  m_progress.SetOwner(Hwnd());
  BuildTrackList();
  m_logic.OnInitDialog();
  PostMessageW(Hwnd(), kWindowShown, 0, 0);
}

void TitlerWindow::HookControls() {
  for (TextField field : kFields) {
    ControlHooks hooks;
    hooks.onKey = [this](UINT key) { return m_logic.OnKey(key == VK_RETURN ? Key::kEnter : Key::kEdit, KeyPlace::kTextField); };
    hooks.menu = [this, field] { return m_logic.FieldMenu(field); };
    HookControl(Item(FieldId(field)), std::move(hooks));
  }
  ControlHooks list;
  list.onKey = [this](UINT key) { return m_logic.OnKey(key == VK_RETURN ? Key::kEnter : Key::kEdit, KeyPlace::kTrackList); };
  HookControl(Item(IDC_TRACKS), std::move(list));
}

void TitlerWindow::LayOut(int width, int height) {
  if (m_templateClient.cx == 0) return;  // before the layout was taken
  const int grownX = width - m_templateClient.cx;
  const int grownY = height - m_templateClient.cy;
  HDWP moves = BeginDeferWindowPos(6);
  const auto place = [&](int id, int x, int y, int w, int h, UINT flags) {
    if (moves) moves = DeferWindowPos(moves, Item(id), nullptr, x, y, w, h, flags | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(IDC_TRACKS, m_listRect.left, m_listRect.top, m_listRect.right - m_listRect.left + grownX,
        m_listRect.bottom - m_listRect.top + grownY, 0);
  for (int id : {IDC_LOAD_CSV, IDC_SAVE_CSV, IDC_START, IDOK})
    place(id, ClientRect(Hwnd(), Item(id)).left, m_buttonTop + grownY, 0, 0, SWP_NOSIZE);
  const RECT link = ClientRect(Hwnd(), Item(IDC_LINK));
  place(IDC_LINK, link.left, m_linkTop + grownY, m_listRect.right - m_listRect.left + grownX, link.bottom - link.top, 0);
  if (moves) EndDeferWindowPos(moves);
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void TitlerWindow::BuildTrackList() {
  HWND list = Item(IDC_TRACKS);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
  const std::string headers[] = {messages::kTrackListNumber, messages::kTrackListName, messages::kTrackListYomi};
  for (int column = 0; column < 3; ++column) {
    std::wstring header = Wide(headers[column]);
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_FMT;
    lvc.fmt = LVCFMT_LEFT;
    lvc.pszText = header.data();
    ListView_InsertColumn(list, column, &lvc);
  }
  LayOutTrackColumns(WindowDpi(Hwnd()));
  for (int row = 0; row < kTrackCount; ++row) {
    std::wstring number = std::to_wstring(row + 1);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = number.data();
    ListView_InsertItem(list, &item);
  }
}

void TitlerWindow::LayOutTrackColumns(int dpi) {
  HWND list = Item(IDC_TRACKS);
  static const auto metricsForDpi = NewerUser32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  const int scrollBar =
      metricsForDpi ? metricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi)) : GetSystemMetrics(SM_CXVSCROLL);
  // The two text columns share what the number column and the scroll bar leave.
  RECT client;
  GetClientRect(list, &client);
  const int room = client.right - client.left - scrollBar;
  const int textWidth = room * 5 / 12;
  ListView_SetColumnWidth(list, 0, room - 2 * textWidth);
  ListView_SetColumnWidth(list, 1, textWidth);
  ListView_SetColumnWidth(list, 2, textWidth);
}

void TitlerWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  // Windows 10 1703 and later go on to scale the controls and the dialog's font
  // themselves; the font of the fields and the list, and the columns, are the
  // program's. The place is set here too for systems that leave it. The
  // layout taken at the start, the smallest size among it, is in pixels of the
  // old dpi: it scales first, so the resize below lays out by the new one.
  const auto scale = [&](auto& value) { value = MulDiv(value, dpi, m_dpi); };
  for (auto* value : {&m_templateSize.cx, &m_templateSize.cy, &m_templateClient.cx, &m_templateClient.cy}) scale(*value);
  for (auto* value : {&m_listRect.left, &m_listRect.top, &m_listRect.right, &m_listRect.bottom}) scale(*value);
  scale(m_buttonTop);
  scale(m_linkTop);
  m_dpi = dpi;
  // Scaled twice, the smallest size may round a pixel past what Windows suggests.
  m_templateSize.cx = std::min<LONG>(m_templateSize.cx, suggested.right - suggested.left);
  m_templateSize.cy = std::min<LONG>(m_templateSize.cy, suggested.bottom - suggested.top);
  SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  HFONT font = CreateFixedWidthFont(dpi);
  if (font) {
    for (int id : {IDC_TITLE, IDC_YOMI, IDC_ARTIST, IDC_TRACKS})
      SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (m_fixedFont) DeleteObject(m_fixedFont);
    m_fixedFont = font;
  }
  PostMessageW(Hwnd(), kLayOutColumns, static_cast<WPARAM>(dpi), 0);
}

std::string TitlerWindow::Text(TextField field) const { return WindowTextUtf8(Item(FieldId(field))); }

void TitlerWindow::SetText(TextField field, const std::string& text) { SetWindowTextUtf8(Item(FieldId(field)), text); }

void TitlerWindow::ReplaceText(TextField field, const std::string& text) {
  ReplaceTextUndoably(Item(FieldId(field)), text);
}

void TitlerWindow::ShowFieldMarks(TextField field, const FieldMarks& marks) {
  m_marks.Show(Item(FieldId(field)), Item(CountId(field)), marks);
}

void TitlerWindow::FocusText(TextField field) {
  SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(FieldId(field))), TRUE);
}

void TitlerWindow::SelectText(TextField field) { SelectWholeText(Hwnd(), Item(FieldId(field))); }

void TitlerWindow::FocusTrack(int row, TrackColumn) {
  HWND list = Item(IDC_TRACKS);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
  SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
}

void TitlerWindow::FocusNextControl() { SendMessageW(Hwnd(), WM_NEXTDLGCTL, 0, FALSE); }

int TitlerWindow::CurrentTrack() const {
  return static_cast<int>(ListView_GetNextItem(Item(IDC_TRACKS), -1, LVNI_FOCUSED));
}

void TitlerWindow::SetCaption(const std::string& text) { SetWindowTextUtf8(Hwnd(), text); }

void TitlerWindow::SetLinkText(const std::string& text) { SetWindowTextUtf8(Item(IDC_LINK), text); }

std::string TitlerWindow::CellText(int row, TrackColumn column) const {
  std::wstring text(1024, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = static_cast<int>(column);
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length = static_cast<std::size_t>(
        SendMessageW(Item(IDC_TRACKS), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < text.size()) {
      text.resize(length);
      return Utf8(text);
    }
    text.resize(text.size() * 2);
  }
}

void TitlerWindow::SetCellText(int row, TrackColumn column, const std::string& text) {
  std::wstring wide = Wide(text);
  ListView_SetItemText(Item(IDC_TRACKS), row, static_cast<int>(column), wide.data());
}

bool TitlerWindow::IsChecked(int row) const { return ListView_GetCheckState(Item(IDC_TRACKS), row) != 0; }

void TitlerWindow::SetChecked(int row, bool checked) { ListView_SetCheckState(Item(IDC_TRACKS), row, checked); }

void TitlerWindow::MarkTrack(int row, const std::string& tip) {
  m_trackTips[static_cast<std::size_t>(row)] = tip;
  std::wstring number = Wide(messages::TrackNumber(row + 1, !tip.empty()));
  ListView_SetItemText(Item(IDC_TRACKS), row, 0, number.data());
}

void TitlerWindow::EnableControl(Control control, bool enabled) { EnableWindow(Item(ControlId(control)), enabled); }

std::optional<std::string> TitlerWindow::AskFileName(FileQuestion question, const std::string& proposed) {
  return win32::AskFileName(Hwnd(), question, proposed);
}

bool TitlerWindow::EditTrack(TrackEdit& edit) { return RunTrackEditDialog(Hwnd(), edit, &m_logic.Readings()); }

bool TitlerWindow::EditPortSettings(PortSettingsEdit& edit) { return RunPortSettingsDialog(Hwnd(), edit); }

bool TitlerWindow::ChooseReadings(ReadingChoices& choices) { return RunReadingChoiceDialog(Hwnd(), choices); }

void TitlerWindow::ShowSimulatorDump(const std::string& verdict, const std::string& dump) {
  RunSimulatorDump(Hwnd(), verdict, dump);
}

void TitlerWindow::ShowAbout() { RunAboutBox(Hwnd()); }

Answer TitlerWindow::ShowMessage(const Message& message) { return ShowMessageBox(Hwnd(), message); }

void TitlerWindow::OnCommand(int id, int code) {
  if (code == EN_CHANGE) {
    if (id == IDC_TITLE) m_logic.OnTextChanged(TextField::kTitle);
    if (id == IDC_YOMI) m_logic.OnTextChanged(TextField::kYomi);
    if (id == IDC_ARTIST) m_logic.OnTextChanged(TextField::kArtist);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_LOAD_CSV: m_logic.OnLoadCsv(); break;
    case IDC_SAVE_CSV: m_logic.OnSaveCsv(); break;
    case IDC_START: m_logic.OnStart(); break;
    // 終了: asks first.
    case IDOK:
      if (m_logic.OnExit()) End(IDOK);
      break;
    // Escape and the close box: asks only when there are unsaved changes.
    case IDCANCEL:
      if (m_logic.OnCancel()) End(IDCANCEL);
      break;
    default: break;
  }
}

void TitlerWindow::OnTrackListClick(const NMITEMACTIVATE& click) {
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  const int row = ListView_SubItemHitTest(Item(IDC_TRACKS), &hit);
  m_logic.OnTrackCellClicked(row < 0 ? -1 : hit.iItem, hit.iSubItem);
}

bool TitlerWindow::OnTrackListNotify(LPARAM lParam, INT_PTR& result) {
  const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
  result = 0;
  switch (header.code) {
    case NM_CLICK:
      OnTrackListClick(*reinterpret_cast<const NMITEMACTIVATE*>(lParam));
      return true;
    case LVN_ITEMCHANGED: {
      const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lParam);
      // The check box is the item's state image.
      if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK))
        m_logic.OnTrackChecked(change.iItem);
      return true;
    }
    case LVN_GETINFOTIPW: {
      auto& tip = *reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
      if (tip.iItem < 0 || tip.iItem >= kTrackCount || tip.cchTextMax <= 0) return true;
      const std::string& text = m_trackTips[static_cast<std::size_t>(tip.iItem)];
      // Unmarked rows keep the list's own tip (a cut-off text in full).
      if (text.empty()) return true;
      const std::wstring wide = Wide(text);
      const std::size_t length = std::min<std::size_t>(wide.size(), static_cast<std::size_t>(tip.cchTextMax - 1));
      wide.copy(tip.pszText, length);
      tip.pszText[length] = L'\0';
      return true;
    }
    case NM_CUSTOMDRAW: {
      auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
      if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
      } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        result = CDRF_NOTIFYSUBITEMDRAW;
      } else if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        const std::size_t row = draw.nmcd.dwItemSpec;
        const bool marked = draw.iSubItem == 0 && row < m_trackTips.size() && !m_trackTips[row].empty();
        draw.clrText = marked ? RGB(255, 0, 0) : CLR_DEFAULT;
        result = CDRF_DODEFAULT;
      } else {
        result = CDRF_DODEFAULT;
      }
      return true;
    }
    default:
      return false;
  }
}

bool TitlerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if (!RunSystemMenuCommand(m_systemMenu, wParam)) return false;
      result = 0;
      return true;
    case WM_CONTEXTMENU:
      RunPopupMenu(Hwnd(), m_logic.WindowMenu(), lParam);
      result = 0;
      return true;
    case kWindowShown:
      m_logic.OnWindowShown();
      result = 0;
      return true;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) LayOut(LOWORD(lParam), HIWORD(lParam));
      return false;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      if (m_templateSize.cx > 0) limits->ptMinTrackSize = {m_templateSize.cx, m_templateSize.cy};
      result = 0;
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header->idFrom == IDC_TRACKS && OnTrackListNotify(lParam, result);
    }
    case WM_CTLCOLORDLG:
      result = reinterpret_cast<INT_PTR>(m_background);
      return true;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      m_marks.SetColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
      result = reinterpret_cast<INT_PTR>(m_background);
      return true;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return false;  // the dialog manager's own scaling follows
    case kLayOutColumns:
      LayOutTrackColumns(static_cast<int>(wParam));
      result = 0;
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<INT_PTR>(m_bigIcon);
      return true;
    default:
      return false;
  }
}

}  // namespace vrellix::win32
