// The settings file and the serial port, set up as the window does at start-up,
// for the commands that talk to the transmitter.
#pragma once

#include <optional>
#include <string>

#include "link/serial_port.h"
#include "link/settings.h"

namespace vrellix::cli {

// Command-line values that win over the settings file (never written to it).
struct LinkOverrides {
  std::optional<std::string> portName;
  std::optional<int> commandDelay;
};

struct OpenLink {
  LinkSettings settings;  // as used: the file's values with the overrides applied
  CommHandle port = nullptr;
};

// LoadIniSettings (which creates or completes the file), the overrides, then
// the port at 4800 baud, 8 bits, no parity, 1 stop bit. When the port cannot
// be opened, prints the port-failure message and returns nothing.
std::optional<OpenLink> OpenConfiguredLink(const LinkOverrides& overrides);

}  // namespace vrellix::cli
