// Latin letters by multi-tap on the letter page (the same cycles for both
// widths), digits by one press of their own key.
#include "entry/entry_engine.h"
#include "entry/entry_tables.h"
#include "keys/keys.h"

namespace vrellix {
namespace {

constexpr int kMaxLetterPresses = 6;

struct LetterKeyRow {
  int key;
  char cells[kMaxLetterPresses];  // 0 where that press gives no letter
};

// clang-format off
// Lower case first on every key, then upper case; KEY_9 holds only four letters.
constexpr LetterKeyRow kLetterLayout[] = {
  //     press 1    2    3    4    5    6
  {KEY_1,    {'a', 'b', 'c', 'A', 'B', 'C'}},
  {KEY_2,    {'d', 'e', 'f', 'D', 'E', 'F'}},
  {KEY_3,    {'g', 'h', 'i', 'G', 'H', 'I'}},
  {KEY_4,    {'j', 'k', 'l', 'J', 'K', 'L'}},
  {KEY_5,    {'m', 'n', 'o', 'M', 'N', 'O'}},
  {KEY_6,    {'p', 'q', 'r', 'P', 'Q', 'R'}},
  {KEY_7,    {'s', 't', 'u', 'S', 'T', 'U'}},
  {KEY_8,    {'v', 'w', 'x', 'V', 'W', 'X'}},
  {KEY_9,    {'y', 'z', 'Y', 'Z',  0 ,  0 }},
};
// clang-format on

constexpr unsigned kZCapitalA = 0x8260;  // Ａ; Ｚ is 0x8279
constexpr unsigned kZSmallA = 0x8281;    // ａ; ｚ is 0x829A
constexpr unsigned kZDigitZero = 0x824F; // ０; ９ is 0x8258
constexpr int kAlphabetLetters = 26;

}  // namespace

std::optional<MultiTap> FindHEizi(unsigned char byte) {
  if (byte == 0) return std::nullopt;
  for (const LetterKeyRow& row : kLetterLayout) {
    for (int press = 0; press < kMaxLetterPresses; ++press) {
      if (static_cast<unsigned char>(row.cells[press]) == byte) return MultiTap{row.key, press + 1, 0};
    }
  }
  return std::nullopt;
}

// A full-width letter is keyed like its half-width twin; the width mode decides.
std::optional<MultiTap> FindZEizi(unsigned code) {
  if (code >= kZCapitalA && code < kZCapitalA + kAlphabetLetters) {
    return FindHEizi(static_cast<unsigned char>('A' + (code - kZCapitalA)));
  }
  if (code >= kZSmallA && code < kZSmallA + kAlphabetLetters) {
    return FindHEizi(static_cast<unsigned char>('a' + (code - kZSmallA)));
  }
  return std::nullopt;
}

std::optional<int> FindHSuhziKey(unsigned char byte) {
  if (byte < '0' || byte > '9') return std::nullopt;
  return KEY_0 + (byte - '0');
}

std::optional<int> FindZSuhziKey(unsigned code) {
  if (code < kZDigitZero || code > kZDigitZero + 9) return std::nullopt;
  return KEY_0 + static_cast<int>(code - kZDigitZero);
}

int EntryEngine::ZEiziInputProcess(const std::string& piece) {
  return EnterMultiTap(FindZEizi(TwoByteCodeAt(piece)));
}

int EntryEngine::HEiziInputProcess(const std::string& piece) {
  return EnterMultiTap(FindHEizi(FirstByteOf(piece)));
}

int EntryEngine::EnterDigit(const std::optional<int>& key) {
  if (!key) return 0;
  if (PutCommand(*key) != KeyResult::kAcknowledged) return 0;
  m_bCursorOffGrid = false;
  return 1;
}

int EntryEngine::ZSuhziInputProcess(const std::string& piece) {
  return EnterDigit(FindZSuhziKey(TwoByteCodeAt(piece)));
}

int EntryEngine::HSuhziInputProcess(const std::string& piece) {
  return EnterDigit(FindHSuhziKey(FirstByteOf(piece)));
}

}  // namespace vrellix
