#include "app_win32/dialog_window.h"

namespace vrellix::win32 {

DialogWindow::~DialogWindow() { Destroy(); }

bool DialogWindow::Create(HWND owner, int templateId) {
  Destroy();
  m_ended = false;
  m_result = IDCANCEL;
  m_hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &Procedure,
                              reinterpret_cast<LPARAM>(this));
  return m_hwnd != nullptr;
}

void DialogWindow::Destroy() {
  if (!m_hwnd) return;
  HWND hwnd = m_hwnd;
  SetWindowLongPtrW(hwnd, DWLP_USER, 0);
  m_hwnd = nullptr;
  DestroyWindow(hwnd);
}

int DialogWindow::DoModal(HWND owner, int templateId) {
  if (!Create(owner, templateId)) return -1;
  const int result = RunModal();
  Destroy();
  return result;
}

void DialogWindow::End(int result) {
  m_result = result;
  m_ended = true;
  // Wakes GetMessage should End come from outside the loop's own dispatch.
  if (m_hwnd) PostMessageW(m_hwnd, WM_NULL, 0, 0);
}

int DialogWindow::RunModal() {
  if (!m_hwnd) return -1;
  HWND owner = GetWindow(m_hwnd, GW_OWNER);
  const bool enableOwner = owner && IsWindowEnabled(owner);
  if (enableOwner) EnableWindow(owner, FALSE);
  CentreOverOwner(m_hwnd);
  ShowWindow(m_hwnd, SW_SHOW);
  m_running = true;
  MSG msg;
  while (!m_ended) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT belongs to the outermost loop.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    const bool ours = msg.hwnd == m_hwnd || IsChild(m_hwnd, msg.hwnd);
    if (ours && m_swallowEnter && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) continue;
    if (m_hwnd && IsDialogMessageW(m_hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  m_running = false;
  // The owner is enabled before this window hides, so it gets the activation.
  if (enableOwner) EnableWindow(owner, TRUE);
  if (m_hwnd) ShowWindow(m_hwnd, SW_HIDE);
  return m_ended ? m_result : IDCANCEL;
}

void DialogWindow::SetInitialFocus(HWND control) {
  SetFocus(control);
  m_focusSet = true;
}

void DialogWindow::OnCommand(int id, int /*code*/) {
  if (id == IDOK || id == IDCANCEL) End(id);
}

bool DialogWindow::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK DialogWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DialogWindow*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->m_hwnd = hwnd;
    self->m_focusSet = false;
    self->OnInitDialog();
    return self->m_focusSet ? FALSE : TRUE;
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_COMMAND) {
    self->OnCommand(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
  INT_PTR result = 0;
  if (!self->OnMessage(message, wParam, lParam, result)) return FALSE;
  // These few return their answer itself, not through DWLP_MSGRESULT.
  if ((message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_QUERYDRAGICON) return result;
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

void CentreOverOwner(HWND window) {
  RECT area;
  HWND owner = GetWindow(window, GW_OWNER);
  if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &area))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT own;
  GetWindowRect(window, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vrellix::win32
