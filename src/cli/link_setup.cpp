#include "cli/link_setup.h"

#include <cstdio>

#include "cli/console.h"

namespace vrellix::cli {

bool IsDecimal(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;  // 9 digits always fit an int
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

ValueSpec PortValue() { return Text("NAME", "a device name or port number"); }

ValueSpec DelayValue() { return Integer("MS", "a number of milliseconds", 0, kMaxCommandDelayMs); }

int ConfiguredCommandDelay() {
  const std::string settingsPath = SettingsPath();
  SettingsLoad load;
  const int delay = ReadIniSettings(settingsPath, &load).m_nCommandDelay;
  const std::string warning = SettingsLoadWarning(settingsPath, load);
  if (!warning.empty()) Print(stderr, "%s\n", warning.c_str());
  return delay;
}

std::optional<OpenLink> OpenConfiguredLink(const LinkOverrides& overrides) {
  OpenLink link;
  // The values read (or the defaults) are used even when the file could not be
  // read or written back.
  const std::string settingsPath = SettingsPath();
  const std::string warning = SettingsLoadWarning(settingsPath, LoadIniSettings(settingsPath, link.settings));
  if (!warning.empty()) Print(stderr, "%s\n", warning.c_str());
  if (overrides.port) {
    if (IsDecimal(*overrides.port)) {
      link.settings.m_nPortNo = std::stoi(*overrides.port);
      link.settings.m_strPortName.clear();
    } else {
      link.settings.m_strPortName = *overrides.port;
    }
  }
  if (overrides.commandDelay) link.settings.m_nCommandDelay = *overrides.commandDelay;

  const std::string portWarning = PortNumberWarning(link.settings);
  if (!portWarning.empty()) Print(stderr, "%s\n", portWarning.c_str());
  PortFailure failure;
  link.port = OpenTransmitterPort(PortDeviceName(link.settings), &failure);
  if (!link.port) {
    Print(stderr, "%s\n", PortFailureMessage(link.settings, failure).c_str());
    return std::nullopt;
  }
  // Bytes left from before belong to no key of this run.
  link.port->PurgeInput();
  return link;
}

}  // namespace vrellix::cli
