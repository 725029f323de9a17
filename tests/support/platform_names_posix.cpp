#include "support/platform_names.h"

#include <cerrno>

namespace vrellix::testing {

const PortNames kPortNames{"/dev/ttyS2", "/dev/ttyS0", "/dev/ttyS0", "/dev/ttyUSB0"};

const char* const kNoLongCurrentDirectory = "";
const int kNameTooLongError = ENAMETOOLONG;

}  // namespace vrellix::testing
