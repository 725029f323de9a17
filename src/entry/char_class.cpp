#include "entry/char_class.h"

#include <algorithm>
#include <iterator>

#include "entry/entry_tables.h"

namespace vrellix {
namespace {

// clang-format off
// The full-width symbols that the symbol grid can enter (－ 817C is katakana-page).
constexpr unsigned kFullWidthSymbols[34] = {
  0x8143, 0x8144, 0x8145, 0x8146, 0x8147, 0x8148, 0x8149,  // ， ． ・ ： ； ？ ！
  0x814F, 0x8151,                                          // ＾ ＿
  0x815E, 0x8160, 0x8162, 0x8165, 0x8166, 0x8168,          // ／ ～ ｜ ‘ ’ ”
  0x8169, 0x816A, 0x816F, 0x8170,                          // （ ） ｛ ｝
  0x8175, 0x8176, 0x8179, 0x817A, 0x817B,                  // 「 」 【 】 ＋
  0x8181, 0x8183, 0x8184,                                  // ＝ ＜ ＞
  0x818F, 0x8190, 0x8193, 0x8194, 0x8195, 0x8196, 0x8197,  // ￥ ＄ ％ ＃ ＆ ＊ ＠
};

// The half-width symbols: 21-2F, 3A-40, 5B-60, 7B-7E and ｢ ｣ ･.
constexpr unsigned char kHalfWidthSymbols[35] = {
  0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
  0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
  0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60,
  0x7B, 0x7C, 0x7D, 0x7E,
  0xA2, 0xA3, 0xA5,
};
// clang-format on

bool In(unsigned value, unsigned low, unsigned high) { return value >= low && value <= high; }

int TwoByteClass(unsigned code) {
  if (In(code, 0x829F, 0x82EB) || code == 0x82ED || code == 0x82F0 || code == 0x82F1 ||
      code == 0x8141 || code == 0x8142 || code == 0x815B) {
    return CHARCLASS_HIRAGANA;
  }
  if (In(code, 0x8340, 0x8396) || code == 0x817C) return CHARCLASS_ZKATAKANA;
  if (In(code, 0x8260, 0x829A)) return CHARCLASS_ZEIZI;
  if (In(code, 0x824F, 0x8258)) return CHARCLASS_ZSUHZI;
  if (code == 0x8140) return CHARCLASS_ZSPACE;
  if (std::find(std::begin(kFullWidthSymbols), std::end(kFullWidthSymbols), code) !=
      std::end(kFullWidthSymbols)) {
    return CHARCLASS_ZSYMBOL;
  }
  return CHARCLASS_NONE;
}

int OneByteClass(unsigned char b) {
  if (In(b, 0xA6, 0xDF)) return CHARCLASS_HKATAKANA;
  if (In(b, 0x41, 0x5A) || In(b, 0x61, 0x7A)) return CHARCLASS_HEIZI;
  if (In(b, 0x30, 0x39)) return CHARCLASS_HSUHZI;
  if (b == 0x20) return CHARCLASS_HSPACE;
  if (std::find(std::begin(kHalfWidthSymbols), std::end(kHalfWidthSymbols), b) !=
      std::end(kHalfWidthSymbols)) {
    return CHARCLASS_HSYMBOL;
  }
  return CHARCLASS_NONE;
}

}  // namespace

int GetCharClass(const std::string& piece) {
  const unsigned char b0 = piece.empty() ? 0 : static_cast<unsigned char>(piece[0]);
  const unsigned char b1 = piece.size() < 2 ? 0 : static_cast<unsigned char>(piece[1]);
  // Only lead bytes 80-8F are looked at as two-byte characters; a lone lead
  // byte has low byte 0, which no range holds.
  if (In(b0, 0x80, 0x8F)) return TwoByteClass(b0 * 256u + b1);
  return OneByteClass(b0);
}

bool CanEnterCharacter(const std::string& piece) {
  // Asks the very tables the routines key from, so the two cannot drift apart.
  switch (GetCharClass(piece)) {
    case CHARCLASS_HIRAGANA: return FindHiragana(TwoByteCodeAt(piece)).has_value();
    case CHARCLASS_ZKATAKANA: return FindZKatakana(TwoByteCodeAt(piece)).has_value();
    case CHARCLASS_HKATAKANA: return FindHKatakana(FirstByteOf(piece)).has_value();
    case CHARCLASS_ZEIZI: return FindZEizi(TwoByteCodeAt(piece)).has_value();
    case CHARCLASS_HEIZI: return FindHEizi(FirstByteOf(piece)).has_value();
    case CHARCLASS_ZSUHZI: return FindZSuhziKey(TwoByteCodeAt(piece)).has_value();
    case CHARCLASS_HSUHZI: return FindHSuhziKey(FirstByteOf(piece)).has_value();
    case CHARCLASS_ZSYMBOL: return FindZSymbolCell(TwoByteCodeAt(piece)).has_value();
    case CHARCLASS_HSYMBOL: return FindHSymbolCell(FirstByteOf(piece)).has_value();
    case CHARCLASS_ZSPACE:
    case CHARCLASS_HSPACE: return true;  // SetSpace takes any space of its width
    default: return false;
  }
}

bool IsTwoByteClass(int charClass) {
  switch (charClass) {
    case CHARCLASS_HIRAGANA:
    case CHARCLASS_ZKATAKANA:
    case CHARCLASS_ZEIZI:
    case CHARCLASS_ZSUHZI:
    case CHARCLASS_ZSYMBOL:
    case CHARCLASS_ZSPACE:
      return true;
    default:
      return false;
  }
}

}  // namespace vrellix
