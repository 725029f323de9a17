// What the POSIX serial files share, and the port listing with its roots given
// (tests point it at a fake device tree).
#pragma once

#include <string>
#include <vector>

#include "serial/serial_port.h"

namespace vrellix {

// True when the kernel's record of the terminal says there is no port behind
// it (a ttyS node without a UART). Only serial-core ports keep such a record;
// USB adapters and pseudo-terminals have none and are never judged by it.
bool KnownToHaveNoPort(int fd);

// ListSerialPorts with devDir laid out like /dev and ttyClassDir like
// /sys/class/tty.
std::vector<SerialPortInfo> ListSerialPortsUnder(const std::string& devDir, const std::string& ttyClassDir);

}  // namespace vrellix
