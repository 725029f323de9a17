// The settings file and the serial port, set up as the window does at start-up,
// for the commands that talk to the transmitter.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/arg_parser.h"
#include "serial/serial_port.h"
#include "settings/link_settings.h"

namespace vrellix::cli {

// Command-line values that win over the settings file for one run (never
// written to it).
struct LinkOverrides {
  std::optional<std::string> port;  // a device path or name, or a port number
  std::optional<int> commandDelay;
};

struct OpenLink {
  LinkSettings settings;  // as used: the file's values with the overrides applied
  std::unique_ptr<SerialChannel> port;
};

// LoadIniSettings (which creates or completes the file), the overrides, then
// the transmitter's port with its receive buffer emptied. When the port cannot
// be opened, prints the port-failure message and returns nothing.
std::optional<OpenLink> OpenConfiguredLink(const LinkOverrides& overrides);

// The command delay of the settings file, read when it is there, never
// written; a file that cannot be read is reported on stderr (the default applies).
int ConfiguredCommandDelay();

// A whole non-negative number that fits an int ("0".."999999999").
bool IsDecimal(const std::string& text);

// The values of --port and --delay, for the commands that take them.
ValueSpec PortValue();
ValueSpec DelayValue();

}  // namespace vrellix::cli
