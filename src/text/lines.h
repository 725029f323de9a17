// Lines of the program's text files (album files, CUE sheets, settings).
#pragma once

#include <string_view>

namespace vrellix {

struct TextLine {
  std::string_view text;    // without its line ending
  std::string_view ending;  // "\r\n", "\n", "\r", or empty for a last line without one
};

// Takes the first line off rest, which must not be empty. A line ends at CR LF,
// LF or a lone CR, whatever wrote the file; neither byte is ever part of a
// two-byte character of code page 932 or UTF-8. Text after the last line
// ending makes one more line; a final line ending does not.
TextLine TakeLine(std::string_view& rest);

}  // namespace vrellix
