#include "window/port_settings_logic.h"

#include <algorithm>
#include <vector>

#include "messages/messages.h"

namespace vrellix {

std::string PortEntryText(const SerialPortInfo& port) {
  // The device is what gets written; the system's name helps to tell them apart.
  return port.description.empty() ? port.device : port.device + "  " + port.description;
}

PortSettingsLogic::PortSettingsLogic(PortSettingsView& view, PortSettingsEdit& edit) : m_view(view), m_edit(edit) {}

void PortSettingsLogic::OnInitDialog() {
  std::vector<std::string> entries;
  int chosen = -1;
  for (const SerialPortInfo& port : m_edit.ports) {
    if (chosen < 0 && port.device == m_edit.port) chosen = static_cast<int>(entries.size());
    entries.push_back(PortEntryText(port));
  }
  m_view.SetPortEntries(entries);
  std::string found;
  for (const SerialPortInfo& port : m_edit.ports) found += (found.empty() ? "" : ", ") + port.device;
  m_view.SetPortNote(found.empty() ? messages::kNoPortFound : messages::PortsFound(found));
  if (chosen >= 0) {
    m_view.ChoosePortEntry(chosen);
  } else {
    m_view.SetPortText(m_edit.port);
  }
  m_view.SetDelayRange(0, kMaxCommandDelayMs);
  m_view.SetDelay(m_edit.commandDelay);
  m_view.FocusPort();
}

void PortSettingsLogic::OnOk() {
  // A listed entry stands for its device; anything else was typed.
  const std::string shown = m_view.PortText();
  const auto listed = std::find_if(m_edit.ports.begin(), m_edit.ports.end(),
                                   [&](const SerialPortInfo& port) { return PortEntryText(port) == shown; });
  m_edit.port = listed == m_edit.ports.end() ? shown : listed->device;
  // A field may hold what its arrows would not reach.
  m_edit.commandDelay = std::clamp(m_view.Delay(), 0, kMaxCommandDelayMs);
  m_view.Close(true);
}

}  // namespace vrellix
