// How the device enters one Shift-JIS character, or that it cannot.
#pragma once

#include <string>

namespace vrellix {

enum CharClass : int {
  CHARCLASS_NONE = 0,       // cannot be entered
  CHARCLASS_HIRAGANA = 1,   // hiragana, 、 。 ー
  CHARCLASS_ZKATAKANA = 2,  // full-width katakana, －
  CHARCLASS_HKATAKANA = 3,  // half-width katakana and marks
  CHARCLASS_ZEIZI = 4,      // full-width Latin letters
  CHARCLASS_HEIZI = 5,      // half-width Latin letters
  CHARCLASS_ZSUHZI = 6,     // full-width digits
  CHARCLASS_HSUHZI = 7,     // half-width digits
  CHARCLASS_ZSYMBOL = 8,    // the 34 full-width symbols
  CHARCLASS_HSYMBOL = 9,    // the 35 half-width symbols
  CHARCLASS_ZSPACE = 10,    // full-width space
  CHARCLASS_HSPACE = 11,    // half-width space
};

// Classifies the character at the start of piece (only its first two bytes are
// read; an empty piece or a lone lead byte is CHARCLASS_NONE).
int GetCharClass(const std::string& piece);

// Classes 1, 2, 4, 6, 8 and 10: the character takes two bytes.
bool IsTwoByteClass(int charClass);

// True when the character has a class and the entry routine of that class can
// enter it. The class ranges hold a few codes that no routine enters: ヮ ヰ ヱ ヴ
// ヵ ヶ, the unassigned 837F, and 827A-8280 between the Latin capitals and smalls.
bool CanEnterCharacter(const std::string& piece);

}  // namespace vrellix
