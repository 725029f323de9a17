// Drives the real Win32 windows of the program from the same thread, with
// window messages: a scripted user answers message boxes and file questions
// through the program's replaceable box functions, and acts in modal windows
// from a thread timer, which every modal loop dispatches. A watchdog ends the
// process when a test hangs. The checks are GoogleTest's.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "window/message.h"
#include "window/titler_view.h"

namespace vrellix::win32::testing {

// The user of one test. Boxes are answered from the queue, in order; a box
// with nothing queued is answered the cautious way (No, OK) and counted.
class ScriptedUser {
 public:
  ScriptedUser();
  ~ScriptedUser();

  // whileShown runs as the box comes up, before it is answered.
  void Answer(vrellix::Answer answer, std::function<void()> whileShown = nullptr) {
    m_answers.push_back({answer, std::move(whileShown)});
  }
  void FileName(std::optional<std::string> name) { m_files.push_back(std::move(name)); }

  const std::vector<Message>& Boxes() const { return m_boxes; }
  std::vector<std::string> BoxTexts() const;
  int Unanswered() const { return m_unanswered; }

 private:
  vrellix::Answer OnBox(const Message& message);
  std::optional<std::string> OnFile(FileQuestion question);

  std::deque<std::pair<vrellix::Answer, std::function<void()>>> m_answers;
  std::deque<std::optional<std::string>> m_files;
  std::vector<Message> m_boxes;
  int m_unanswered = 0;
};

// The visible top-level dialog of this thread with that caption (UTF-8; empty:
// any) and, if controlId is not 0, a control of that id.
HWND FindDialog(const std::string& caption, int controlId = 0);

// Runs action once on the dialog as soon as it is up (and ready says so),
// from whatever message loop runs then; steps whose dialogs are up together
// run in the order given. A step that never ran counts as a
// failure at the end of the test.
void WhenDialog(const std::string& caption, int controlId, std::function<void(HWND)> action,
                std::function<bool(HWND)> ready = nullptr);
// Steps still waiting; the test's end clears them.
int PendingSteps();
void ClearSteps();

// Dispatches this thread's messages until done() or timeoutMs passed.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

void SetText(HWND dialog, int id, const std::string& text);
std::string Text(HWND dialog, int id);
void Click(HWND dialog, int id);
// A click on the track list's cell, as the list reports it to the window.
void ClickCell(HWND dialog, int listId, int row, int column);

// Another process's windows: the first visible top-level window of process
// pid with that caption for which match returns true, waited for up to
// timeoutMs; null when none came.
HWND WaitForWindowOf(DWORD pid, const std::string& caption, const std::function<bool(HWND)>& match, int timeoutMs);
// The longest text among a window's static controls (a message box's text).
std::string LongestStaticText(HWND window);

// The command of the item with that text (UTF-8) in the window's system menu;
// 0 when there is none.
UINT SystemMenuCommand(HWND window, const std::string& text);

// Ends the process when the current test runs longer than seconds.
void ArmWatchdog(const std::string& test, int seconds);
void DisarmWatchdog();

// Writes the window's pixels, as the screen shows them, to a 24-bit BMP.
bool CaptureWindow(HWND window, const std::wstring& path);

}  // namespace vrellix::win32::testing
