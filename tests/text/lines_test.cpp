#include "text/lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vrellix {
namespace {

TEST(TakeLine, EndsALineAtCrLfLfOrALoneCrAndKeepsTheEnding) {
  const struct {
    std::string text;
    std::vector<std::string> lines;  // each line's text and its ending
  } cases[] = {
      {"a", {"a"}},
      {"a\r\nb\nc\rd", {"a\r\n", "b\n", "c\r", "d"}},
      {"a\n", {"a\n"}},
      {"\r\r\n\n\n\r", {"\r", "\r\n", "\n", "\n", "\r"}},
      {"\x82\xA0\r\n\x82\r", {"\x82\xA0\r\n", "\x82\r"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    for (std::string_view rest = c.text; !rest.empty();) {
      const TextLine line = TakeLine(rest);
      lines.push_back(std::string(line.text) + std::string(line.ending));
    }
    EXPECT_EQ(lines, c.lines) << c.text;
  }
}

}  // namespace
}  // namespace vrellix
