// The platform's half of the text module: what the C library or the Windows API
// does. text_codec.cpp adds validation and the input-method variants on top.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vrellix::text_platform {

// Canonical composition (NFC) of valid UTF-8 text.
std::optional<std::string> NormalizeNfc(std::string_view utf8);

// Strict encoding of valid UTF-8 into code page 932: nothing as soon as one
// character has no code, never a substitute character.
std::optional<std::string> EncodeCp932(std::string_view utf8);

// Strict decoding of code page 932 into UTF-8 with the Windows table.
std::optional<std::string> DecodeCp932(std::string_view cp932);

}  // namespace vrellix::text_platform
