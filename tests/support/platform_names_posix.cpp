#include "support/platform_names.h"

namespace vrellix::testing {

const PortNames kPortNames{"/dev/ttyS2", "/dev/ttyS0", "/dev/ttyS0", "/dev/ttyUSB0"};

const char* const kNoLongCurrentDirectory = "";

}  // namespace vrellix::testing
