#include "text/lines.h"

namespace vrellix {

TextLine TakeLine(std::string_view& rest) {
  const std::size_t end = rest.find_first_of("\r\n");
  if (end == std::string_view::npos) {
    const TextLine last{rest, {}};
    rest = {};
    return last;
  }
  const std::size_t endingSize = rest.compare(end, 2, "\r\n") == 0 ? 2 : 1;
  const TextLine line{rest.substr(0, end), rest.substr(end, endingSize)};
  rest.remove_prefix(end + endingSize);
  return line;
}

}  // namespace vrellix
