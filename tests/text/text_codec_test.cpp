#include "text/text_codec.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vrellix {
namespace {

struct EncodeCase {
  const char* what;
  std::string utf8;
  std::string cp932;
};

// Names the case in test listings (the default would print its bytes).
void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.what; }

class Utf8ToCp932Test : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Utf8ToCp932Test, EncodesToTheWindowsBytes) {
  const EncodeCase& c = GetParam();
  const auto encoded = Utf8ToCp932(c.utf8);
  ASSERT_TRUE(encoded.has_value()) << c.what;
  EXPECT_EQ(*encoded, c.cp932) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Utf8ToCp932Test,
    ::testing::Values(
        EncodeCase{"empty", "", ""},
        EncodeCase{"ascii", "Abc 09!", "Abc 09!"},
        EncodeCase{"backslash stays 5C", "\\", "\x5C"},
        EncodeCase{"tilde stays 7E", "~", "\x7E"},
        EncodeCase{"hiragana", "あが", "\x82\xA0\x82\xAA"},
        EncodeCase{"katakana", "アヴ", "\x83\x41\x83\x94"},
        EncodeCase{"half-width katakana with marks", "ｶﾞﾊﾟｰ", "\xB6\xDE\xCA\xDF\xB0"},
        EncodeCase{"kanji", "漢亜", "\x8A\xBF\x88\x9F"},
        EncodeCase{"full-width space", "\xE3\x80\x80", "\x81\x40"},
        EncodeCase{"decomposed ga composes", "か\xE3\x82\x99", "\x82\xAA"},
        EncodeCase{"decomposed pa composes", "は\xE3\x82\x9A", "\x82\xCF"},
        EncodeCase{"fullwidth tilde", "～", "\x81\x60"},
        EncodeCase{"wave dash", "〜", "\x81\x60"},
        EncodeCase{"minus sign", "−", "\x81\x7C"},
        EncodeCase{"double vertical line", "‖", "\x81\x61"},
        EncodeCase{"yen sign", "¥", "\x5C"},
        EncodeCase{"overline", "‾", "\x7E"},
        EncodeCase{"cent sign", "¢", "\x81\x91"},
        EncodeCase{"pound sign", "£", "\x81\x92"},
        EncodeCase{"not sign", "¬", "\x81\xCA"},
        EncodeCase{"em dash", "—", "\x81\x5C"},
        EncodeCase{"horizontal bar", "―", "\x81\x5C"},
        EncodeCase{"nec circled digit", "①", "\x87\x40"},
        EncodeCase{"angstrom sign kept although NFC would replace it", "\xE2\x84\xAB", "\x81\xF0"},
        EncodeCase{"compatibility ideograph kept", "\xEF\xA4\xA9", "\xFA\xE0"},
        EncodeCase{"ohm sign composes to omega", "\xE2\x84\xA6", "\x83\xB6"},
        EncodeCase{"decomposed kana beside an angstrom sign", "か\xE3\x82\x99\xE2\x84\xAB", "\x82\xAA\x81\xF0"}));

TEST(Utf8ToCp932, RefusesWhatTheCodePageCannotHoldInsteadOfSubstituting) {
  const char* const refused[] = {
      "😀",             // emoji
      "abc😀def",       // one bad character fails the whole text
      "é",              // Latin-1 letter outside the code page
      "한",             // Hangul
      "\xE2\x80\x8B",   // zero-width space
      "\xFF",           // not UTF-8
      "\xC0\xAF",       // overlong slash
      "\xED\xA0\x80",   // surrogate
      "\xE3\x81",       // truncated sequence
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "A\xCC\x81",       // A + combining acute: Á is outside the code page
      "ｶ\xE3\x82\x99",   // half-width ka does not take the combining voiced mark
      "a\U000E001Cb",   // language tag, which glibc would drop
      "\U000E007F",     // the last language tag
  };
  for (const char* text : refused) {
    EXPECT_FALSE(Utf8ToCp932(text).has_value()) << text;
  }
}

TEST(Cp932ToUtf8, DecodesWithTheWindowsTable) {
  const struct {
    std::string cp932;
    std::string utf8;
  } cases[] = {
      {"\x5C", "\\"},         {"\x7E", "~"},           {"\x81\x60", "～"},
      {"\x81\x7C", "－"},     {"\x81\x8F", "￥"},      {"\xB1\xDE", "ｱﾞ"},
      {"\x82\xA0\x41", "あA"}, {"\x87\x40", "①"},      {"", ""},
  };
  for (const auto& c : cases) {
    const auto decoded = Cp932ToUtf8(c.cp932);
    ASSERT_TRUE(decoded.has_value()) << c.utf8;
    EXPECT_EQ(*decoded, c.utf8);
  }
}

TEST(Cp932ToUtf8, RefusesBytesThatAreNotCodePage932) {
  const std::string refused[] = {
      "\x82",             // lone lead byte at the end
      "abc\x82",          // lead byte at the end of a text
      "\x85\x40",         // unassigned row
      "\x82\x20",         // lead byte followed by a byte that is no trail byte
      "\xA0",             // unassigned single bytes
      "\x80", "A\xFD", "\xFE", "\xFF",
  };
  for (const std::string& bytes : refused) {
    EXPECT_FALSE(Cp932ToUtf8(bytes).has_value()) << ::testing::PrintToString(bytes);
  }
}

// Every single-byte character and every two-byte code of the rows without
// duplicates (NEC and IBM extensions map some characters twice) survives a round trip.
TEST(Cp932RoundTrip, EveryCodeOfTheUniqueRowsComesBackUnchanged) {
  int checked = 0;
  for (int b = 0x20; b <= 0xDF; ++b) {
    if (b >= 0x7F && b <= 0xA0) continue;
    const std::string bytes(1, static_cast<char>(b));
    const auto decoded = Cp932ToUtf8(bytes);
    ASSERT_TRUE(decoded.has_value()) << b;
    EXPECT_EQ(Utf8ToCp932(*decoded), bytes) << b;
    ++checked;
  }
  for (int lead : {0x81, 0x82, 0x83, 0x84, 0x88, 0x89, 0x8A, 0x93, 0x9F, 0xE0, 0xEA}) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const auto decoded = Cp932ToUtf8(bytes);
      if (!decoded) continue;  // unassigned
      EXPECT_EQ(Utf8ToCp932(*decoded), bytes) << std::hex << lead << trail;
      ++checked;
    }
  }
  EXPECT_GT(checked, 1500);
}

TEST(IsValidUtf8, AcceptsWellFormedAndRefusesTheRest) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("あ😀ｱ"));
  EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
  EXPECT_FALSE(IsValidUtf8("\x82\xA0"));  // code page 932 あ
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));  // overlong NUL
  EXPECT_FALSE(IsValidUtf8("\xED\xBF\xBF"));
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));
  EXPECT_FALSE(IsValidUtf8("\x80"));
  EXPECT_FALSE(IsValidUtf8("\xF8\x88\x80\x80\x80"));
}

// Every lead byte gives the length of the sequences it begins; a byte that
// begins none (a stray continuation byte, F8-FF) is one byte.
TEST(Utf8SequenceLength, IsTheLengthOfTheSequenceTheByteBegins) {
  for (char32_t c = 0; c <= 0x10FFFF; c += c < 0x800 ? 1 : 0x3F) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string utf8 = CodePointsToUtf8(std::u32string(1, c));
    ASSERT_EQ(Utf8SequenceLength(static_cast<unsigned char>(utf8[0])), utf8.size()) << std::hex << c;
  }
  for (int b = 0x80; b <= 0xFF; b = b == 0xBF ? 0xF8 : b + 1) EXPECT_EQ(Utf8SequenceLength(static_cast<unsigned char>(b)), 1u) << std::hex << b;
}

TEST(Cp932LengthOf, CountsTheBytesTheTextBecomesAndTwoPerUnconvertibleCharacter) {
  const struct {
    const char* utf8;
    size_t bytes;
  } cases[] = {
      {"", 0},         {"abc", 3},    {"あいう", 6},   {"ｱｲ", 2},       {"漢", 2},
      {"😀", 2},       {"a😀b", 4},   {"😀😀", 4},     {"か\xE3\x82\x99", 2},
      {"ｶﾞ😀", 4},     {"〜é", 4},    {"\xFF", 2},     {"ab\xFF", 4},
      {"か\xE3\x82\x99😀", 4},                   {"e\xCC\x81", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(Cp932LengthOf(c.utf8), c.bytes) << c.utf8;
}

}  // namespace
}  // namespace vrellix
