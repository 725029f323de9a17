// Test texts written as UTF-8 and turned into code page 932 by the text module,
// not by the entry engine's or the device model's own tables, which they check.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "text/text_codec.h"

namespace vrellix::testing {

// The code page 932 bytes of a UTF-8 literal; throws (failing the test) when
// there are none.
inline std::string Cp932(const std::string& utf8) {
  const std::optional<std::string> cp932 = Utf8ToCp932(utf8);
  if (!cp932) throw std::invalid_argument("not code page 932: " + utf8);
  return *cp932;
}

// The characters of a UTF-8 text, each as its own UTF-8 string.
inline std::vector<std::string> Utf8Chars(const std::string& text) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    chars.push_back(text.substr(i, length));
    i += length;
  }
  return chars;
}

// The code page 932 form of every character of a UTF-8 text.
inline std::vector<std::string> Cp932Chars(const std::string& text) {
  std::vector<std::string> chars;
  for (const std::string& c : Utf8Chars(text)) chars.push_back(Cp932(c));
  return chars;
}

}  // namespace vrellix::testing
