// The layout tables hold code page 932 codes; these checks read them back as
// the characters of the device's layout, written out as text.
#include "sim/palette_layout.h"

#include <gtest/gtest.h>

#include "sim/sim_keys.h"
#include "support/cp932.h"

namespace vrellix::sim {
namespace {

using testing::Cp932;

// One string per digit key, press by press; '.' for a cell without a character,
// 'V' and 'S' for the voiced and semi-voiced marks.
struct KanaRow {
  int digit;
  const char* hiragana;
  const char* fullKatakana;
  const char* halfKatakana;
};

const KanaRow kKanaRows[] = {
    {0, "わをんVS。、ー", "ワヲンVS..－", "ﾜｦﾝﾞﾟ..ｰ"},
    {1, "あいうえおぁぃぅぇぉ", "アイウエオァィゥェォ", "ｱｲｳｴｵｧｨｩｪｫ"},
    {2, "かきくけこ", "カキクケコ", "ｶｷｸｹｺ"},
    {3, "さしすせそ", "サシスセソ", "ｻｼｽｾｿ"},
    {4, "たちつてとっ", "タチツテトッ", "ﾀﾁﾂﾃﾄｯ"},
    {5, "なにぬねの", "ナニヌネノ", "ﾅﾆﾇﾈﾉ"},
    {6, "はひふへほ", "ハヒフヘホ", "ﾊﾋﾌﾍﾎ"},
    {7, "まみむめも", "マミムメモ", "ﾏﾐﾑﾒﾓ"},
    {8, "やゆよゃゅょ", "ヤユヨャュョ", "ﾔﾕﾖｬｭｮ"},
    {9, "らりるれろ", "ラリルレロ", "ﾗﾘﾙﾚﾛ"},
};

std::string CellText(std::uint16_t code) {
  if (code == kVoicedMark) return "V";
  if (code == kSemiVoicedMark) return "S";
  if (code == kNoChar) return ".";
  return CharBytes(code);
}

TEST(PaletteLayout, KanaCyclesMatchTheLayout) {
  for (const KanaRow& row : kKanaRows) {
    const KanaCycle& cycle = KanaCycleOf(row.digit);
    std::string hira, full, half;
    for (int i = 0; i < cycle.length; ++i) {
      hira += CellText(cycle.cells[i].hiragana);
      full += CellText(cycle.cells[i].fullKatakana);
      half += CellText(cycle.cells[i].halfKatakana);
    }
    EXPECT_EQ(hira, Cp932(row.hiragana)) << "KEY_" << row.digit;
    EXPECT_EQ(full, Cp932(row.fullKatakana)) << "KEY_" << row.digit;
    EXPECT_EQ(half, Cp932(row.halfKatakana)) << "KEY_" << row.digit;
  }
}

TEST(PaletteLayout, SymbolGridMatchesTheLayout) {
  const char* const full[kGridRows] = {"＿｛｝＜＞【】（）「」＊", "｜！？￥＄％＆＝＋－～＃", ".‘’”＾；：，・＠／．"};
  const char* const half[kGridRows] = {"_{}<>[]()｢｣*", "|!?\\$%&=+-~#", ".`'\"^;:,･@/."};
  for (int row = 0; row < kGridRows; ++row) {
    std::string gotFull, gotHalf;
    for (int column = 0; column < kGridColumns; ++column) {
      gotFull += CellText(SymbolChar(row * kGridColumns + column, false));
      gotHalf += CellText(SymbolChar(row * kGridColumns + column, true));
    }
    EXPECT_EQ(gotFull, Cp932(full[row])) << "row " << row;
    EXPECT_EQ(gotHalf, Cp932(half[row])) << "row " << row;
  }
}

TEST(PaletteLayout, VoicedFormsAreTheMarkedKana) {
  const char* const bases = "かきくけこさしすせそたちつてとはひふへほカキクケコサシスセソタチツテトハヒフヘホ";
  const char* const voiced = "がぎぐげござじずぜぞだぢづでどばびぶべぼガギグゲゴザジズゼゾダヂヅデドバビブベボ";
  const std::string b = Cp932(bases), v = Cp932(voiced);
  for (std::size_t i = 0; i < b.size(); i += 2) {
    EXPECT_EQ(CharBytes(VoicedForm(CharCode(b.substr(i, 2)))), v.substr(i, 2)) << i / 2;
  }
  const std::string semiBases = Cp932("はひふへほハヒフヘホ"), semi = Cp932("ぱぴぷぺぽパピプペポ");
  for (std::size_t i = 0; i < semiBases.size(); i += 2) {
    EXPECT_EQ(CharBytes(SemiVoicedForm(CharCode(semiBases.substr(i, 2)))), semi.substr(i, 2)) << i / 2;
  }
}

}  // namespace
}  // namespace vrellix::sim
