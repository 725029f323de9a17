#include "job/string_input.h"

#include "entry/char_class.h"
#include "entry/palette_pages.h"
#include "keys/keys.h"

namespace vrellix {

namespace {

using Routine = int (EntryEngine::*)(const std::string& piece);

constexpr int kNone = -1;

// How one class of character is entered, step by step in column order.
struct ClassRow {
  int charClass;
  bool resetSymbolPos;  // fresh symbol cursor unless the palette is already on symbols
  int page;             // SetPalletPage target, or kNone
  int width;            // SetHZSwitch target, or kNone
  Routine routine;      // the class's routine, or nullptr for a space
  int spaceMode;        // SetSpace mode when routine is nullptr
  bool closeWithNext;   // KEY_NEXT after the character
  int step;             // bytes the character takes
};

// clang-format off
constexpr ClassRow kClassRows[] = {
  // class               symbol  page           width  routine                              space  NEXT   step
  {CHARCLASS_HIRAGANA,   false,  kHiraganaPage, kNone, &EntryEngine::HiraganaInputProcess,  kNone, true,  2},
  {CHARCLASS_ZKATAKANA,  false,  kKatakanaPage, 0,     &EntryEngine::ZKatakanaInputProcess, kNone, true,  2},
  {CHARCLASS_HKATAKANA,  false,  kKatakanaPage, 1,     &EntryEngine::HKatakanaInputProcess, kNone, true,  1},
  {CHARCLASS_ZEIZI,      false,  kLetterPage,   0,     &EntryEngine::ZEiziInputProcess,     kNone, true,  2},
  {CHARCLASS_HEIZI,      false,  kLetterPage,   1,     &EntryEngine::HEiziInputProcess,     kNone, true,  1},
  {CHARCLASS_ZSUHZI,     false,  kDigitPage,    0,     &EntryEngine::ZSuhziInputProcess,    kNone, false, 2},
  {CHARCLASS_HSUHZI,     false,  kDigitPage,    1,     &EntryEngine::HSuhziInputProcess,    kNone, false, 1},
  {CHARCLASS_ZSYMBOL,    true,   kSymbolPage,   0,     &EntryEngine::ZSymbolInputProcess,   kNone, false, 2},
  {CHARCLASS_HSYMBOL,    true,   kSymbolPage,   1,     &EntryEngine::HSymbolInputProcess,   kNone, false, 1},
  {CHARCLASS_ZSPACE,     false,  kNone,         kNone, nullptr,                             0,     false, 2},
  {CHARCLASS_HSPACE,     false,  kNone,         kNone, nullptr,                             1,     false, 1},
};
// clang-format on

const ClassRow* FindClassRow(int charClass) {
  for (const ClassRow& row : kClassRows) {
    if (row.charClass == charClass) return &row;
  }
  return nullptr;
}

// One character: 1 when every step of its row succeeded.
int EnterCharacter(EntryEngine& engine, const ClassRow& row, const std::string& piece) {
  if (row.resetSymbolPos && engine.m_nPalletPage != kSymbolPage) engine.m_nSymbolPos = 0;
  if (row.page != kNone && engine.SetPalletPage(row.page) != 1) return 0;
  if (row.width != kNone && engine.SetHZSwitch(row.width) != 1) return 0;
  const int entered = row.routine ? (engine.*row.routine)(piece) : engine.SetSpace(row.spaceMode);
  if (entered != 1) return 0;
  // Only an acknowledged key counts: a stop (-1) fails like a refusal.
  if (row.closeWithNext && engine.PutCommand(KEY_NEXT) != KeyResult::kAcknowledged) return 0;
  return 1;
}

}  // namespace

int StringInputProcess(EntryEngine& engine, const std::string& text) {
  std::size_t position = 0;
  while (position < text.size()) {
    // Two bytes even for a half-width character: the routines look only at
    // the first character of the piece.
    const std::string piece = text.substr(position, 2);
    const ClassRow* row = FindClassRow(GetCharClass(piece));
    if (row == nullptr) return 0;
    if (EnterCharacter(engine, *row, piece) != 1) return 0;
    engine.m_bHasText = true;
    position += static_cast<std::size_t>(row->step);
  }
  return 1;
}

}  // namespace vrellix
