// The 通信設定 dialog as the window logic sees it: a list of ports in which one
// is picked or a device typed, the command delay, OK and ｷｬﾝｾﾙ.
#pragma once

#include <string>
#include <vector>

namespace vrellix {

class PortSettingsView {
 public:
  virtual ~PortSettingsView() = default;
  // The list's entries (UTF-8), in order.
  virtual void SetPortEntries(const std::vector<std::string>& entries) = 0;
  // Picks entry index of the list.
  virtual void ChoosePortEntry(int index) = 0;
  // Puts text in the field as if typed, no entry picked.
  virtual void SetPortText(const std::string& text) = 0;
  // What the field shows: a picked entry's text, or what was typed.
  virtual std::string PortText() const = 0;
  // The command delay field (ms) and the values its arrows reach.
  virtual void SetDelayRange(int min, int max) = 0;
  virtual void SetDelay(int ms) = 0;
  virtual int Delay() const = 0;
  virtual void FocusPort() = 0;
  // The line under the list: the ports found, or that there are none.
  virtual void SetPortNote(const std::string& text) = 0;
  // Ends the dialog, with OK (true) or as cancelled.
  virtual void Close(bool ok) = 0;
};

}  // namespace vrellix
