// Lookups into the key layouts of the entry routines. The routines and
// CanEnterCharacter share them, so that what Start accepts is exactly what
// the routines can key.
// The device model (sim/palette_layout.h) writes the same layouts apart, so
// that the tests can check each against the other.
#pragma once

#include <optional>
#include <string>

namespace vrellix {

// Presses of the voiced and semi-voiced marks on KEY_0, after the base kana.
constexpr int kVoicedMarkPresses = 4;
constexpr int kSemiVoicedMarkPresses = 5;

// How one multi-tap character is keyed: `presses` of `key`, then
// `markPresses` of KEY_0 (0 when the character has no mark).
struct MultiTap {
  int key;
  int presses;
  int markPresses;
};

// The symbol grid: 3 rows of 12 cells, cell = row * 12 + column. Row 2 has no
// cell in column 0, so 24 is never a cell.
constexpr int kSymbolColumns = 12;
constexpr int kSymbolRows = 3;
constexpr int kMissingSymbolCell = 24;

bool IsSymbolCell(int cell);

// The code of a two-byte character at the start of piece (first byte * 256 +
// second byte; missing bytes count as 0), and the first byte of a one-byte one.
unsigned TwoByteCodeAt(const std::string& piece);
unsigned char FirstByteOf(const std::string& piece);

std::optional<MultiTap> FindHiragana(unsigned code);
std::optional<MultiTap> FindZKatakana(unsigned code);
std::optional<MultiTap> FindHKatakana(unsigned char byte);
std::optional<MultiTap> FindZEizi(unsigned code);        // Ａ..Ｚ, ａ..ｚ
std::optional<MultiTap> FindHEizi(unsigned char byte);   // A..Z, a..z
std::optional<int> FindZSuhziKey(unsigned code);         // ０..９ -> KEY_0..KEY_9
std::optional<int> FindHSuhziKey(unsigned char byte);    // 0..9 -> KEY_0..KEY_9
std::optional<int> FindZSymbolCell(unsigned code);
std::optional<int> FindHSymbolCell(unsigned char byte);

}  // namespace vrellix
