// The program's message boxes and file dialogs. Each view goes through these
// two functions, and a test can put its own in their place to answer them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "window/message.h"
#include "window/titler_view.h"

namespace vrellix::win32 {

// Shows message over owner (may be null), captioned "Vrellix".
using MessageBoxFunction = std::function<Answer(HWND owner, const Message& message)>;
// A CSV file name (UTF-8) for the question; nothing when cancelled. proposed:
// the album file last loaded or saved, or empty. For saving, a name typed
// without an extension has ".csv" added before the overwrite question.
using FileNameFunction =
    std::function<std::optional<std::string>(HWND owner, FileQuestion question, const std::string& proposed)>;

Answer ShowMessageBox(HWND owner, const Message& message);
std::optional<std::string> AskFileName(HWND owner, FileQuestion question, const std::string& proposed);

// Message boxes over one window, for the logic that asks through a MessageView.
class BoxMessages final : public MessageView {
 public:
  explicit BoxMessages(HWND owner) : m_owner(owner) {}
  Answer ShowMessage(const Message& message) override { return ShowMessageBox(m_owner, message); }

 private:
  HWND m_owner;
};

// Empty functions put the system's boxes back.
void SetMessageBoxFunction(MessageBoxFunction function);
void SetFileNameFunction(FileNameFunction function);

// The system's boxes themselves.
Answer SystemMessageBox(HWND owner, const Message& message);
std::optional<std::string> SystemFileDialog(HWND owner, FileQuestion question, const std::string& proposed);

}  // namespace vrellix::win32
