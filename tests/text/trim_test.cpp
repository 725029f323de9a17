#include "text/trim.h"

#include <gtest/gtest.h>

namespace vrellix {
namespace {

TEST(TrimWhite, RemovesSingleByteWhiteSpaceAtBothEndsOnly) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},
      {" \t\n\v\f\r", ""},
      {"  a b  ", "a b"},
      {"\tx\r\n", "x"},
      {"\x81\x40" "a" "\x81\x40", "\x81\x40" "a" "\x81\x40"},  // full-width space stays
      {" \x82\xA0 ", "\x82\xA0"},
      {"a", "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimWhite(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace vrellix
