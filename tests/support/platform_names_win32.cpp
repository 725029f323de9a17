#include "support/platform_names.h"

#include <windows.h>

namespace vrellix::testing {

const PortNames kPortNames{"COM3", "COM1", "COM12", "COM12"};

const char* const kNoLongCurrentDirectory =
    "a Windows program's current directory holds at most 260 characters unless the program and the system "
    "both allow long paths (wine then even refuses to start it there)";
const int kNameTooLongError = ERROR_FILENAME_EXCED_RANGE;

}  // namespace vrellix::testing
