// Readable names for the typed results in test failure messages.
#pragma once

#include <ostream>

#include "keys/byte_channel.h"
#include "keys/key_link.h"
#include "serial/serial_port.h"

namespace vrellix {

inline void PrintTo(KeyResult result, std::ostream* os) {
  switch (result) {
    case KeyResult::kStopped: *os << "kStopped"; return;
    case KeyResult::kFailed: *os << "kFailed"; return;
    case KeyResult::kAcknowledged: *os << "kAcknowledged"; return;
  }
  *os << "KeyResult(" << static_cast<int>(result) << ")";
}

inline void PrintTo(CommResult result, std::ostream* os) {
  switch (result) {
    case CommResult::kOk: *os << "kOk"; return;
    case CommResult::kNoPort: *os << "kNoPort"; return;
    case CommResult::kFailed: *os << "kFailed"; return;
  }
  *os << "CommResult(" << static_cast<int>(result) << ")";
}

inline void PrintTo(OpenResult result, std::ostream* os) {
  *os << (result == OpenResult::kOpened ? "kOpened" : result == OpenResult::kFailed ? "kFailed" : "OpenResult(?)");
}

}  // namespace vrellix
