// A message box as the window logic asks for one; each toolkit draws it. The
// caption is always the program's name.
#pragma once

#include <string>

namespace vrellix {

enum class MessageIcon { kInformation, kWarning, kError };
enum class MessageButtons { kOk, kYesNo };
// kNo also for a Yes/No box closed any other way.
enum class Answer { kOk, kYes, kNo };

struct Message {
  std::string text;  // UTF-8
  MessageIcon icon = MessageIcon::kInformation;
  MessageButtons buttons = MessageButtons::kOk;
  // A Yes/No box whose default button (Enter) is No: for questions whose Yes loses work.
  bool defaultNo = false;
};

// A window that can show a message box over itself.
class MessageView {
 public:
  virtual ~MessageView() = default;
  // Shows the box modally and returns the button that closed it. Work posted
  // to the window thread goes on running while the box is up.
  virtual Answer ShowMessage(const Message& message) = 0;
};

}  // namespace vrellix
