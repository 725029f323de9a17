// The model's layout tables, code by code, against the layout written out as
// text (support/palette_text.h).
#include "sim/palette_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/cp932.h"
#include "support/palette_text.h"

namespace vrellix::sim {
namespace {

using testing::Cp932;
using testing::Utf8Chars;

// The code the model holds for a cell of the layout text.
std::uint16_t CodeOf(const std::string& cell) {
  if (cell == testing::kVoicedMarkText) return kVoicedMark;
  if (cell == testing::kSemiVoicedMarkText) return kSemiVoicedMark;
  if (cell == testing::kNoCharText) return kNoChar;
  return CharCode(Cp932(cell));
}

std::vector<std::uint16_t> CodesOf(const char* text) {
  std::vector<std::uint16_t> codes;
  for (const std::string& cell : Utf8Chars(text)) codes.push_back(CodeOf(cell));
  return codes;
}

TEST(PaletteLayout, KanaCyclesMatchTheLayout) {
  for (const testing::KanaKeyText& row : testing::kKanaKeys) {
    const KanaCycle& cycle = KanaCycleOf(row.key);
    std::vector<std::uint16_t> hira, full, half;
    for (int i = 0; i < cycle.length; ++i) {
      hira.push_back(cycle.cells[i].hiragana);
      full.push_back(cycle.cells[i].fullKatakana);
      half.push_back(cycle.cells[i].halfKatakana);
    }
    EXPECT_EQ(hira, CodesOf(row.hiragana)) << row.hiragana;
    EXPECT_EQ(full, CodesOf(row.fullKatakana)) << row.fullKatakana;
    EXPECT_EQ(half, CodesOf(row.halfKatakana)) << row.halfKatakana;
  }
}

TEST(PaletteLayout, SymbolGridMatchesTheLayout) {
  for (int row = 0; row < kGridRows; ++row) {
    std::vector<std::uint16_t> full, half;
    for (int column = 0; column < kGridColumns; ++column) {
      full.push_back(SymbolChar(row * kGridColumns + column, false));
      half.push_back(SymbolChar(row * kGridColumns + column, true));
    }
    EXPECT_EQ(full, CodesOf(testing::kFullWidthSymbolRows[row])) << testing::kFullWidthSymbolRows[row];
    EXPECT_EQ(half, CodesOf(testing::kHalfWidthSymbolRows[row])) << testing::kHalfWidthSymbolRows[row];
  }
}

TEST(PaletteLayout, VoicedFormsAreTheMarkedKana) {
  for (const testing::MarkedKanaText& row : testing::kMarkedKana) {
    const std::vector<std::uint16_t> bases = CodesOf(row.base), marked = CodesOf(row.marked);
    ASSERT_EQ(bases.size(), marked.size());
    for (std::size_t i = 0; i < bases.size(); ++i) {
      EXPECT_EQ(row.semiVoiced ? SemiVoicedForm(bases[i]) : VoicedForm(bases[i]), marked[i]) << row.marked << " " << i;
    }
  }
}

}  // namespace
}  // namespace vrellix::sim
