// The process's current directory.
#pragma once

#include <string>

namespace vrellix {

// The current directory as UTF-8, whatever its length; empty when the system
// cannot tell it.
std::string CurrentDirectory();

}  // namespace vrellix
