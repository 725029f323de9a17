// vrellix-cli ports: the serial ports present, one per line: the name that
// --port and ｼﾘｱﾙﾎﾟｰﾄ名 take, then, after a tab, what the system calls it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "link/serial_port.h"

namespace vrellix::cli {

int RunPorts(const std::vector<std::string>& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "usage: vrellix-cli ports\n");
    return 2;
  }
  const std::vector<SerialPortInfo> ports = ListSerialPorts();
  for (const SerialPortInfo& port : ports) {
    if (port.description.empty()) {
      std::printf("%s\n", port.device.c_str());
    } else {
      std::printf("%s\t%s\n", port.device.c_str(), port.description.c_str());
    }
  }
  if (ports.empty()) {
    std::fprintf(stderr, "vrellix-cli: no serial port found\n");
    return 1;
  }
  return 0;
}

}  // namespace vrellix::cli
