// The file messages of the album and sheet loads and the save say what failed
// but not on which file nor why; on a command line both matter.
#pragma once

#include <string>

namespace vrellix::cli {

// message, and when it is the failed open, " (PATH: why)" after it: why the
// file at path (UTF-8) cannot be read.
std::string WithReadFailure(const std::string& message, const std::string& path);

// The same for a file that was to be written.
std::string WithWriteFailure(const std::string& message, const std::string& path);

}  // namespace vrellix::cli
