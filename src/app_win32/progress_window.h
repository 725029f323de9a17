// The progress window (dialog 131) in Win32: modeless, run by its own modal
// loop over the main window; the job's reports arrive as messages posted to a
// message-only window, which also exists while the progress window does not.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "app_win32/dialog_window.h"
#include "window/progress_logic.h"
#include "window/progress_view.h"

namespace vrellix::win32 {

class ProgressWindow final : public DialogWindow, public ProgressView {
 public:
  // On the window thread.
  ProgressWindow();
  ~ProgressWindow() override;

  ProgressLogic& Logic() { return m_logic; }
  // The window the progress window is shown over.
  void SetOwner(HWND owner) { m_owner = owner; }

  // ProgressView.
  void SetRange(int max) override;
  void SetPosition(int position) override;
  void SetStatusText(const std::string& text) override;
  void SetItemText(const std::string& text) override;
  void SetTimeText(const std::string& text) override;
  void SetAbortText(const std::string& text) override;
  void EnableAbort(bool enabled) override;
  bool IsOpen() const override;
  void Close(bool ok) override;
  bool RunModal() override;
  bool Post(std::function<void()> fn) override;
  Answer ShowMessage(const Message& message) override;

 protected:
  void OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  static LRESULT CALLBACK PostedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void RunPosted();

  ProgressLogic m_logic;
  HWND m_owner = nullptr;
  HWND m_postTarget = nullptr;
  std::mutex m_postMutex;
  std::deque<std::function<void()>> m_posted;  // guarded by m_postMutex
};

}  // namespace vrellix::win32
