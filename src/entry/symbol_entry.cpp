// Symbols: the palette cursor is walked over the 3 x 12 symbol grid from the
// cell it was last left on, and the cell is pressed.
#include "entry/entry_engine.h"
#include "entry/entry_tables.h"
#include "keys/keys.h"

namespace vrellix {
namespace {

// clang-format off
// The same cell holds the full-width and the half-width symbol; the width mode
// decides which one is entered. 0 marks the missing cell 24.
constexpr unsigned kZSymbolGrid[kSymbolRows][kSymbolColumns] = {
  // ＿      ｛      ｝      ＜      ＞      【      】      （      ）      「      」      ＊
  {0x8151, 0x816F, 0x8170, 0x8183, 0x8184, 0x8179, 0x817A, 0x8169, 0x816A, 0x8175, 0x8176, 0x8196},
  // ｜      ！      ？      ￥      ＄      ％      ＆      ＝      ＋      －      ～      ＃
  {0x8162, 0x8149, 0x8148, 0x818F, 0x8190, 0x8193, 0x8195, 0x8181, 0x817B, 0x817C, 0x8160, 0x8194},
  //         ‘      ’      ”      ＾      ；      ：      ，      ・      ＠      ／      ．
  {     0, 0x8165, 0x8166, 0x8168, 0x814F, 0x8147, 0x8146, 0x8143, 0x8145, 0x8197, 0x815E, 0x8144},
};

// 0x5C is the code page's yen sign, in the cell of ￥.
constexpr unsigned char kHSymbolGrid[kSymbolRows][kSymbolColumns] = {
  //  _     {     }     <     >     [     ]     (     )     ｢     ｣     *
  {0x5F, 0x7B, 0x7D, 0x3C, 0x3E, 0x5B, 0x5D, 0x28, 0x29, 0xA2, 0xA3, 0x2A},
  //  |     !     ?     ¥     $     %     &     =     +     -     ~     #
  {0x7C, 0x21, 0x3F, 0x5C, 0x24, 0x25, 0x26, 0x3D, 0x2B, 0x2D, 0x7E, 0x23},
  //        `     '     "     ^     ;     :     ,     ･     @     /     .
  {   0, 0x60, 0x27, 0x22, 0x5E, 0x3B, 0x3A, 0x2C, 0xA5, 0x40, 0x2F, 0x2E},
};
// clang-format on

template <typename Code>
std::optional<int> FindInGrid(const Code (&grid)[kSymbolRows][kSymbolColumns], unsigned code) {
  if (code == 0) return std::nullopt;
  for (int row = 0; row < kSymbolRows; ++row) {
    for (int column = 0; column < kSymbolColumns; ++column) {
      if (grid[row][column] == code) return row * kSymbolColumns + column;
    }
  }
  return std::nullopt;
}

int RowOf(int cell) { return cell / kSymbolColumns; }
int ColumnOf(int cell) { return cell % kSymbolColumns; }

}  // namespace

bool IsSymbolCell(int cell) {
  return cell >= 0 && cell < kSymbolRows * kSymbolColumns && cell != kMissingSymbolCell;
}

std::optional<int> FindZSymbolCell(unsigned code) { return FindInGrid(kZSymbolGrid, code); }

std::optional<int> FindHSymbolCell(unsigned char byte) { return FindInGrid(kHSymbolGrid, byte); }

int EntryEngine::EnterSymbolCell(const std::optional<int>& target) {
  if (!target) return 0;
  if (m_bCursorOffGrid) {
    if (ResetSymbolCursor() != 1) return 0;
  } else if (!IsSymbolCell(m_nSymbolPos)) {
    // A record that names no cell cannot be walked from; sending moves from it
    // would press some other symbol.
    return 0;
  }
  // Counted from where the cursor stands now: after ResetSymbolCursor that is
  // cell 0, not the cell recorded before it.
  const int start = m_nSymbolPos;
  const int rowStep = RowOf(*target) - RowOf(start);
  int columnStep = ColumnOf(*target) - ColumnOf(start);

  // Rows first. Straight down column 0 into row 2 would hit the missing cell
  // 24, so such a move steps right first.
  if (rowStep > 0) {
    if (ColumnOf(start) == 0 && RowOf(start) + rowStep == 2) {
      if (PutCommand(KEY_PAL_RIGHT) != KeyResult::kAcknowledged) return 0;
      --columnStep;
    }
    if (PressKey(KEY_PAL_DOWN, rowStep) != 1) return 0;
  } else if (rowStep < 0) {
    if (PressKey(KEY_PAL_UP, -rowStep) != 1) return 0;
  }
  if (columnStep > 0) {
    if (PressKey(KEY_PAL_RIGHT, columnStep) != 1) return 0;
  } else if (columnStep < 0) {
    if (PressKey(KEY_PAL_LEFT, -columnStep) != 1) return 0;
  }
  if (PutCommand(KEY_PAL_ENTER) != KeyResult::kAcknowledged) return 0;

  m_nSymbolPos = *target;
  m_bCursorOffGrid = false;
  return 1;
}

int EntryEngine::ZSymbolInputProcess(const std::string& piece) {
  return EnterSymbolCell(FindZSymbolCell(TwoByteCodeAt(piece)));
}

int EntryEngine::HSymbolInputProcess(const std::string& piece) {
  return EnterSymbolCell(FindHSymbolCell(FirstByteOf(piece)));
}

}  // namespace vrellix
