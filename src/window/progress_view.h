// The progress window as the window logic sees it: a bar, a status line, the
// 中断 button. The logic belongs to the view: the view calls its handlers.
#pragma once

#include <functional>
#include <string>

#include "window/message.h"

namespace vrellix {

// How often the status line looks for a new text while the window is open.
constexpr int kStatusTimerMs = 10;

class ProgressView : public MessageView {
 public:
  // Window thread.
  virtual void SetRange(int max) = 0;  // the bar runs from 0 to max
  virtual void SetPosition(int position) = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  // The line under the bar naming what is being entered (a track's number and
  // name), and the one with the elapsed and the remaining time.
  virtual void SetItemText(const std::string& text) = 0;
  virtual void SetTimeText(const std::string& text) = 0;
  virtual void SetAbortText(const std::string& text) = 0;
  virtual void EnableAbort(bool enabled) = 0;
  virtual bool IsOpen() const = 0;
  // Ends RunModal with ok as its result.
  virtual void Close(bool ok) = 0;

  // Shows the window modally until Close(). Once open it calls
  // ProgressLogic::OnInitDialog, then OnStatusTimer every kStatusTimerMs, and
  // OnAbort when 中断 or the close box is clicked (the close box alone never
  // closes it); the Enter and Escape keys do nothing.
  virtual bool RunModal() = 0;

  // Any thread: fn runs later on the window thread, in the order posted, also
  // while a message box is up and before the window has opened. False when it
  // could not be queued.
  virtual bool Post(std::function<void()> fn) = 0;
};

}  // namespace vrellix
