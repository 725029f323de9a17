// A dialog from a resource template, run modally by our own message loop
// rather than DialogBox, so that the owner stays responsive to posted work and
// a test can create the dialog and drive it with messages.
#pragma once

#include <windows.h>

namespace vrellix::win32 {

class DialogWindow {
 public:
  DialogWindow() = default;
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Creates the dialog (hidden) from template id; owner may be null.
  bool Create(HWND owner, int templateId);
  // Shows it with its owner disabled until End(); then hides it. Returns the
  // code given to End, or IDCANCEL when the thread is told to quit.
  int RunModal();
  // Create + RunModal + destroy.
  int DoModal(HWND owner, int templateId);
  void Destroy();

  HWND Hwnd() const { return m_hwnd; }
  HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
  bool IsRunning() const { return m_running && !m_ended; }
  // End() was called since Create().
  bool HasEnded() const { return m_ended; }

  // Ends RunModal with result.
  void End(int result);

 protected:
  // Enter key presses never reach this dialog's controls.
  bool m_swallowEnter = false;

  // OnInitDialog may put the focus itself (the dialog otherwise gives it to
  // the first control that takes it, selecting an edit field's text).
  void SetInitialFocus(HWND control);

  virtual void OnInitDialog() {}
  // A WM_COMMAND; the default ends the dialog with IDOK and IDCANCEL.
  virtual void OnCommand(int id, int code);
  // Any other message; return true and set result when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hwnd = nullptr;
  bool m_running = false;
  bool m_ended = false;
  bool m_focusSet = false;
  int m_result = IDCANCEL;
};

// Centres window over its owner, or over the screen's work area without one.
void CentreOverOwner(HWND window);

}  // namespace vrellix::win32
