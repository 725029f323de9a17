// The character layouts of the simulated device's palette pages: the multi-tap
// cycles of the kana and letter pages, the digits, the symbol grid and the
// voiced forms of kana. Characters are code page 932 codes (one byte below 0x100).
//
// The entry engine has tables of its own (entry/) for the same layouts, and
// neither is made from the other on purpose: the engine's say which keys make a
// character, these say what a key does on the device, and the property tests
// run the engine's keys through this model. One table shared by both would let
// a slip in it pass every test.
#pragma once

#include <cstdint>
#include <string>

namespace vrellix::sim {

// A cycle cell that holds no character but a mark for the previous character.
constexpr std::uint16_t kVoicedMark = 0xFFFE;
constexpr std::uint16_t kSemiVoicedMark = 0xFFFD;
// A cycle position that exists (the cycle steps through it) but holds nothing.
constexpr std::uint16_t kNoChar = 0;

constexpr int kMaxKanaPresses = 10;
constexpr int kMaxLetterPresses = 6;

// One press of a kana key: the hiragana, full-width katakana and half-width
// katakana cell.
struct KanaCell {
  std::uint16_t hiragana;
  std::uint16_t fullKatakana;
  std::uint16_t halfKatakana;
};

struct KanaCycle {
  int length;
  KanaCell cells[kMaxKanaPresses];
};

// The cycle of a digit key (0..9) on the kana pages.
const KanaCycle& KanaCycleOf(int digit);

// The letters of a digit key on the letter page, as ASCII ("abcABC"); empty
// for a key without letters.
const char* LetterCycleOf(int digit);

// Full-width letter of an ASCII letter.
std::uint16_t FullWidthLetter(char ascii);

// Digit n (0..9) in full or half width.
std::uint16_t DigitChar(int digit, bool halfWidth);

constexpr int kGridRows = 3;
constexpr int kGridColumns = 12;
constexpr int kGridCells = kGridRows * kGridColumns;
constexpr int kMissingCell = 24;  // row 2 has no column 0

// The symbol of a grid cell of page 4, or kNoChar for the missing cell.
std::uint16_t SymbolChar(int cell, bool halfWidth);

constexpr std::uint16_t kFullWidthSpace = 0x8140;
constexpr std::uint16_t kHalfWidthSpace = 0x20;

// The voiced or semi-voiced form of a kana, or kNoChar when it has none.
std::uint16_t VoicedForm(std::uint16_t kana);
std::uint16_t SemiVoicedForm(std::uint16_t kana);

// The code's bytes: one byte for a code below 0x100, two otherwise.
std::string CharBytes(std::uint16_t code);
// The code of a one- or two-byte character.
std::uint16_t CharCode(const std::string& bytes);

}  // namespace vrellix::sim
