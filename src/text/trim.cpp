#include "text/trim.h"

namespace vrellix {

std::string_view TrimWhiteView(std::string_view text) {
  constexpr std::string_view kWhite = " \t\n\v\f\r";
  const size_t first = text.find_first_not_of(kWhite);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhite) - first + 1);
}

std::string TrimWhite(std::string_view text) { return std::string(TrimWhiteView(text)); }

}  // namespace vrellix
