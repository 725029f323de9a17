// UTF-8, as the program keeps text, and UTF-16, as Windows' W functions take
// it. Windows only.
#pragma once

#include <string>
#include <string_view>

namespace vrellix {

// A sequence that is not UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace vrellix
