// The system's own words for why a call failed, for messages that name a file
// or a device and say why.
#pragma once

#include <string>

namespace vrellix {

// The text for an error code of this platform (errno on POSIX systems,
// GetLastError() on Windows), UTF-8, one line.
std::string SystemErrorText(int osError);

}  // namespace vrellix
