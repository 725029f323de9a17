// What the Windows serial files share with their tests.
#pragma once

#include <windows.h>

#include <string>

namespace vrellix {

// The highest COM number Windows gives a port.
constexpr int kHighestComNumber = 255;

// The name CreateFile takes for a port name: in the device namespace ("COM12"
// and "CNCA0" are reachable only as "\\.\COM12", "\\.\CNCA0"); a name that
// is a path already is left as it is.
std::string DevicePathFor(const std::string& name);

// True when a driver reporting prop can carry the link: 4800 baud, 8 data bits,
// and total and interval read time-outs. Nothing else is asked for: wine's
// driver, and some USB and virtual ones, do not report line-signal (RLSD)
// support, which the link never uses. A driver that reports no parameters or
// no rates at all is let through: SetCommState then decides.
bool CanCarryTheLink(const COMMPROP& prop);

}  // namespace vrellix
