// Windows only.
#pragma once

#include <string>

namespace vrellix {

// The folder of the running .exe, with its trailing backslash; empty if unknown.
std::wstring ProgramFolder();

}  // namespace vrellix
