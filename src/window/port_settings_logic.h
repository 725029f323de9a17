// The 通信設定 dialog's behaviour, apart from how it draws: the ports offered,
// each shown with the system's name for it; the port in use picked, or shown
// as typed when it is not listed; and on OK the device of the entry picked, or
// what was typed, with the command delay within its range.
#pragma once

#include <string>

#include "serial/serial_port.h"
#include "window/port_settings_view.h"
#include "window/titler_view.h"

namespace vrellix {

// How the list shows a port: its device, then the system's name for it, if any.
std::string PortEntryText(const SerialPortInfo& port);

class PortSettingsLogic {
 public:
  // edit: what the dialog shows, and after OK the choice (the port untrimmed).
  // view and edit outlive the logic.
  PortSettingsLogic(PortSettingsView& view, PortSettingsEdit& edit);

  // Once the view's controls exist: the list, the line naming the ports found
  // (or that there are none), the port and the delay; the focus in the port field.
  void OnInitDialog();
  // OK: edit takes the choice and the dialog closes with OK.
  void OnOk();

 private:
  PortSettingsView& m_view;
  PortSettingsEdit& m_edit;
};

}  // namespace vrellix
