#pragma once

#include <string>
#include <string_view>

namespace vrellix {

// Removes single-byte white space (space, \t \n \v \f \r) at both ends. A
// full-width space is not white space and stays.
std::string TrimWhite(std::string_view text);
// The same, as a view into text.
std::string_view TrimWhiteView(std::string_view text);

}  // namespace vrellix
