// The palette record and the operations that move the device between pages,
// widths, and out of and back into the character grid. The device is never
// read back: each member moves only after the keys that move it were
// acknowledged.
#include "entry/entry_engine.h"
#include "entry/entry_tables.h"
#include "entry/palette_pages.h"
#include "keys/keys.h"

namespace vrellix {
namespace {

// Fixed walks to the palette's function cells: the same counts from whatever
// cell the cursor is on, never a path computed from the record.
constexpr int kLeftsToFunctionColumn = 13;
constexpr int kUpsToFunctionTop = 4;
constexpr int kDownsToWidthSwitchEmptyField = 2;
constexpr int kDownsToWidthSwitchWithText = 3;  // one step further once the field holds text
constexpr int kDownsToSpace = 1;

struct KeyRun {
  int key;
  int times;
};

// From the function cells back to the symbol grid's first cell.
constexpr KeyRun kBackToSymbolCellZero[] = {
    {KEY_PAL_RIGHT, 1}, {KEY_PAL_UP, 2}, {KEY_PAL_LEFT, 2}, {KEY_PAL_UP, 4}, {KEY_PAL_RIGHT, 1},
};

bool IsWidthMode(int mode) { return mode == 0 || mode == 1; }

}  // namespace

unsigned TwoByteCodeAt(const std::string& piece) {
  const unsigned first = piece.empty() ? 0 : static_cast<unsigned char>(piece[0]);
  const unsigned second = piece.size() < 2 ? 0 : static_cast<unsigned char>(piece[1]);
  return first * 256u + second;
}

unsigned char FirstByteOf(const std::string& piece) {
  return piece.empty() ? 0 : static_cast<unsigned char>(piece[0]);
}

int EntryEngine::PressKey(int key, int times) {
  for (int i = 0; i < times; ++i) {
    if (PutCommand(key) != KeyResult::kAcknowledged) return 0;
  }
  return 1;
}

void EntryEngine::ResetEntryState() {
  m_nPalletPage = kHiraganaPage;
  m_nHZMode = 0;
  m_bHasText = false;
  m_bCursorOffGrid = false;
}

int EntryEngine::SetPalletPage(int page) {
  // Any other target would never be reached: the page counter wraps 5 -> 0.
  if (page < 0 || page > kLastPalletPage) return 0;
  while (m_nPalletPage != page) {
    if (PutCommand(KEY_PALLET) != KeyResult::kAcknowledged) return 0;
    ++m_nPalletPage;
    if (m_nPalletPage > kLastPalletPage) m_nPalletPage = kHiraganaPage;
    // The device needs a moment to draw the new page. A stop cuts the pause
    // short; the next key then reports it.
    m_link.Pause(kPageStepPauseMs);
  }
  return 1;
}

int EntryEngine::SetHZSwitch(int mode) {
  if (!IsWidthMode(mode)) return 0;
  if (m_nHZMode == mode) return 1;
  const int downs = m_bHasText ? kDownsToWidthSwitchWithText : kDownsToWidthSwitchEmptyField;
  if (PressKey(KEY_PAL_LEFT, kLeftsToFunctionColumn) != 1 ||
      PressKey(KEY_PAL_UP, kUpsToFunctionTop) != 1 || PressKey(KEY_PAL_DOWN, downs) != 1 ||
      PutCommand(KEY_PAL_ENTER) != KeyResult::kAcknowledged) {
    return 0;
  }
  m_bCursorOffGrid = true;
  m_nHZMode = mode;
  return 1;
}

int EntryEngine::SetSpace(int mode) {
  if (!IsWidthMode(mode)) return 0;
  const int modeBefore = m_nHZMode;
  if (mode == 0) {
    // The hiragana page has no width switch to use.
    if (m_nPalletPage != kHiraganaPage && SetHZSwitch(0) != 1) return 0;
  } else {
    if (m_nPalletPage == kHiraganaPage && SetPalletPage(kKatakanaPage) != 1) return 0;
    if (SetHZSwitch(1) != 1) return 0;
  }
  // A completed switch leaves the cursor in the function column already.
  if (m_nHZMode == modeBefore && PressKey(KEY_PAL_LEFT, kLeftsToFunctionColumn) != 1) return 0;
  if (PressKey(KEY_PAL_UP, kUpsToFunctionTop) != 1 || PressKey(KEY_PAL_DOWN, kDownsToSpace) != 1 ||
      PutCommand(KEY_PAL_ENTER) != KeyResult::kAcknowledged) {
    return 0;
  }
  m_bCursorOffGrid = true;
  return 1;
}

int EntryEngine::ResetSymbolCursor() {
  for (const KeyRun& run : kBackToSymbolCellZero) {
    if (PressKey(run.key, run.times) != 1) return 0;
  }
  m_bCursorOffGrid = false;
  m_nSymbolPos = 0;
  return 1;
}

}  // namespace vrellix
