// vrellix-cli ports: the serial ports present, one per line: the name that
// --port and ｼﾘｱﾙﾎﾟｰﾄ名 take, then, after a tab, what the system calls it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console.h"
#include "serial/serial_port.h"

namespace vrellix::cli {

namespace {

ExitCode Run(const ParsedArgs&) {
  const std::vector<SerialPortInfo> ports = ListSerialPorts();
  for (const SerialPortInfo& port : ports) {
    if (port.description.empty()) {
      Print(stdout, "%s\n", port.device.c_str());
    } else {
      Print(stdout, "%s\t%s\n", port.device.c_str(), port.description.c_str());
    }
  }
  if (ports.empty()) {
    Print(stderr, "vrellix-cli: no serial port found\n");
    return ExitCode::kFailed;
  }
  return ExitCode::kDone;
}

}  // namespace

const Command& PortsCommand() {
  static const Command command{
      "ports",
      "lists the serial ports present",
      {"ports"},
      "Lists the serial ports present, one per line: the name that --port and\n"
      "ｼﾘｱﾙﾎﾟｰﾄ名 take, then a tab and the system's name for it (on Linux a USB\n"
      "adapter's product name, else its /dev/serial/by-id name; on Windows the\n"
      "Device Manager's name for the port, else the driver's device).\n"
      "Exits 1 when there is none.\n",
      {},
      {"vrellix-cli ports"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
