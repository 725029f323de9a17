// What the Windows serial files share with their tests.
#pragma once

#include <windows.h>

namespace vrellix {

// True when a driver reporting prop can carry the link: 4800 baud, 8 data bits,
// and total and interval read time-outs. Nothing else is asked for: wine's
// driver, and some USB and virtual ones, do not report line-signal (RLSD)
// support, which the link never uses.
bool CanCarryTheLink(const COMMPROP& prop);

}  // namespace vrellix
