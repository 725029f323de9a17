#include "app_win32/progress_window.h"

#include <commctrl.h>

#include <utility>

#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "resource.h"

namespace vrellix::win32 {

namespace {

constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT_PTR kStatusTimer = 1;
constexpr wchar_t kPostClass[] = L"VrellixProgressPosts";

}  // namespace

ProgressWindow::ProgressWindow() : m_logic(*this) {
  // Escape is 中断 (IDCANCEL), which asks; a stray Enter does nothing.
  m_swallowEnter = true;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &PostedProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kPostClass;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  m_postTarget = CreateWindowExW(0, kPostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  if (m_postTarget) SetWindowLongPtrW(m_postTarget, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ProgressWindow::~ProgressWindow() {
  if (m_postTarget) {
    SetWindowLongPtrW(m_postTarget, GWLP_USERDATA, 0);
    DestroyWindow(m_postTarget);
  }
}

void ProgressWindow::SetRange(int max) {
  if (Hwnd()) SendMessageW(Item(IDC_PROGRESS), PBM_SETRANGE32, 0, max);
}

void ProgressWindow::SetPosition(int position) {
  if (Hwnd()) SendMessageW(Item(IDC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void ProgressWindow::SetStatusText(const std::string& text) {
  if (Hwnd()) SetWindowTextUtf8(Item(IDC_STATUS), text);
}

void ProgressWindow::SetItemText(const std::string& text) {
  if (Hwnd()) SetWindowTextUtf8(Item(IDC_ITEM), text);
}

void ProgressWindow::SetTimeText(const std::string& text) {
  if (Hwnd()) SetWindowTextUtf8(Item(IDC_TIMES), text);
}

void ProgressWindow::SetAbortText(const std::string& text) {
  if (Hwnd()) SetWindowTextUtf8(Item(IDC_ABORT), text);
}

void ProgressWindow::EnableAbort(bool enabled) {
  if (Hwnd()) EnableWindow(Item(IDC_ABORT), enabled);
}

bool ProgressWindow::IsOpen() const { return IsRunning(); }

void ProgressWindow::Close(bool ok) { End(ok ? IDOK : IDCANCEL); }

bool ProgressWindow::RunModal() {
  if (!Create(m_owner, IDD_ENTRY_PROGRESS)) return false;
  const int result = DialogWindow::RunModal();
  Destroy();
  return result == IDOK;
}

void ProgressWindow::OnInitDialog() {
  m_logic.OnInitDialog();
  SetTimer(Hwnd(), kStatusTimer, kStatusTimerMs, nullptr);
  SetFocus(Item(IDC_ABORT));
}

void ProgressWindow::OnCommand(int id, int code) {
  // The close box asks as 中断 does. Enter and Escape never get here.
  if ((id == IDC_ABORT && code == BN_CLICKED) || id == IDCANCEL) m_logic.OnAbort();
}

bool ProgressWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  if (message == WM_TIMER && wParam == kStatusTimer) {
    m_logic.OnStatusTimer();
    result = 0;
    return true;
  }
  if (message == WM_DESTROY) KillTimer(Hwnd(), kStatusTimer);
  return false;
}

bool ProgressWindow::Post(std::function<void()> fn) {
  if (!m_postTarget) return false;
  {
    std::lock_guard<std::mutex> lock(m_postMutex);
    m_posted.push_back(std::move(fn));
  }
  // One message per call; each runs whatever is queued, so none is lost when
  // one runs early.
  return PostMessageW(m_postTarget, kRunPosted, 0, 0) != FALSE;
}

void ProgressWindow::RunPosted() {
  for (;;) {
    std::function<void()> fn;
    {
      std::lock_guard<std::mutex> lock(m_postMutex);
      if (m_posted.empty()) return;
      fn = std::move(m_posted.front());
      m_posted.pop_front();
    }
    // May show a message box, whose loop runs later posts in turn.
    fn();
  }
}

LRESULT CALLBACK ProgressWindow::PostedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunPosted) {
    if (auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) self->RunPosted();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

Answer ProgressWindow::ShowMessage(const Message& message) {
  // A warning may come after the window closed (a forced stop).
  return ShowMessageBox(IsOpen() ? Hwnd() : m_owner, message);
}

}  // namespace vrellix::win32
