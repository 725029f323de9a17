#include "text/trim.h"

namespace vrellix {

std::string TrimWhite(std::string_view text) {
  constexpr std::string_view kWhite = " \t\n\v\f\r";
  const size_t first = text.find_first_not_of(kWhite);
  if (first == std::string_view::npos) return std::string();
  const size_t last = text.find_last_not_of(kWhite);
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace vrellix
