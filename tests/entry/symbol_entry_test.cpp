#include <optional>

#include "entry_test_support.h"
#include "support/palette_text.h"

namespace vrellix {
namespace {

using testing::Concat;
using testing::Cp932;
using testing::Cp932Chars;
using testing::EngineRig;
using testing::Hex;
using testing::OneByte;
using testing::Presses;
using testing::ResetSymbolCursorKeys;
using testing::TwoBytes;
using State = EngineRig::State;

// The code page 932 piece of every cell, "" for cell 24.
std::vector<std::string> GridPieces(const char* const rows[3]) {
  std::vector<std::string> cells;
  for (int row = 0; row < 3; ++row) {
    for (const std::string& c : testing::Utf8Chars(rows[row])) {
      cells.push_back(c == testing::kNoCharText ? "" : Cp932(c));
    }
  }
  return cells;
}

std::vector<int> AllCells() {
  std::vector<int> cells;
  for (int cell = 0; cell < 36; ++cell) {
    if (cell != 24) cells.push_back(cell);
  }
  return cells;
}

// The device's cursor on the grid, moved one cell per key. Leaving the grid or
// stepping onto the missing cell is a fault of the key sequence.
struct GridCursor {
  int row, column;
  explicit GridCursor(int cell) : row(cell / 12), column(cell % 12) {}
  int Cell() const { return row * 12 + column; }
  bool Move(int key) {
    if (key == KEY_PAL_UP) --row;
    if (key == KEY_PAL_DOWN) ++row;
    if (key == KEY_PAL_LEFT) --column;
    if (key == KEY_PAL_RIGHT) ++column;
    return row >= 0 && row < 3 && column >= 0 && column < 12 && Cell() != 24;
  }
};

// Replays one symbol routine's keys: a leading ResetSymbolCursor puts the
// cursor on cell 0; the keys must end with the one enter press. Returns the
// pressed cell, or nothing when the sequence breaks a rule.
std::optional<int> PressedCell(int deviceCell, bool offGrid, std::vector<int> keys) {
  const std::vector<int> reset = ResetSymbolCursorKeys();
  if (offGrid) {
    if (keys.size() < reset.size() || !std::equal(reset.begin(), reset.end(), keys.begin())) return std::nullopt;
    keys.erase(keys.begin(), keys.begin() + reset.size());
    deviceCell = 0;
  }
  if (keys.empty() || keys.back() != KEY_PAL_ENTER) return std::nullopt;
  keys.pop_back();
  GridCursor cursor(deviceCell);
  for (int key : keys) {
    if (key == KEY_PAL_ENTER || !cursor.Move(key)) return std::nullopt;
  }
  return cursor.Cell();
}

struct Width {
  const char* name;
  int (EntryEngine::*routine)(const std::string&);
  std::vector<std::string> cells;
};

std::vector<Width> Widths() {
  return {{"full", &EntryEngine::ZSymbolInputProcess, GridPieces(testing::kFullWidthSymbolRows)},
          {"half", &EntryEngine::HSymbolInputProcess, GridPieces(testing::kHalfWidthSymbolRows)}};
}

// From every cell to every cell, in both widths, with the cursor on the grid
// or away on the function cells: the keys press the target, never leave the
// grid, stay within the move bound, and the record follows.
TEST(SymbolEntryTest, EveryStartToEveryTargetPressesTheTarget) {
  for (const Width& width : Widths()) {
    for (int offGrid : {0, 1}) {
      for (int start : AllCells()) {
        for (int target : AllCells()) {
          SCOPED_TRACE(::testing::Message() << width.name << " off-grid " << offGrid << " " << start << " -> "
                                            << target);
          EngineRig rig;
          rig.Set({4, 0, 1, start, offGrid});
          ASSERT_EQ((rig.engine.*width.routine)(width.cells[target]), 1);
          const std::vector<int> keys = rig.Keys();
          EXPECT_EQ(PressedCell(start, offGrid, keys), std::optional<int>(target));
          EXPECT_LE(keys.size(), (offGrid ? 10u : 0u) + 2 + 11 + 1);
          EXPECT_EQ(rig.Snapshot(), (State{4, 0, 1, target, 0}));
        }
      }
    }
  }
}

TEST(SymbolEntryTest, ListedMoves) {
  struct Case {
    const char* name;
    int (EntryEngine::*routine)(const std::string&);
    std::string piece;
    int start;
    int offGrid;
    std::vector<int> keys;
  };
  const auto Z = &EntryEngine::ZSymbolInputProcess;
  const auto H = &EntryEngine::HSymbolInputProcess;
  const Case cases[] = {
      {"＿ from 0", Z, Cp932("＿"), 0, 0, {KEY_PAL_ENTER}},
      {"｛ from 0", Z, Cp932("｛"), 0, 0, {KEY_PAL_RIGHT, KEY_PAL_ENTER}},
      {"｜ from 0", Z, Cp932("｜"), 0, 0, {KEY_PAL_DOWN, KEY_PAL_ENTER}},
      {"‘ from 0", Z, Cp932("‘"), 0, 0, Presses({{KEY_PAL_RIGHT, 1}, {KEY_PAL_DOWN, 2}, {KEY_PAL_ENTER, 1}})},
      {"． from 0", Z, Cp932("．"), 0, 0,
       Presses({{KEY_PAL_RIGHT, 1}, {KEY_PAL_DOWN, 2}, {KEY_PAL_RIGHT, 10}, {KEY_PAL_ENTER, 1}})},
      {"` from 12", H, OneByte(0x60), 12, 0, {KEY_PAL_RIGHT, KEY_PAL_DOWN, KEY_PAL_ENTER}},
      {"： from 5", Z, Cp932("："), 5, 0, Presses({{KEY_PAL_DOWN, 2}, {KEY_PAL_RIGHT, 1}, {KEY_PAL_ENTER, 1}})},
      {"＿ from 35", Z, Cp932("＿"), 35, 0, Presses({{KEY_PAL_UP, 2}, {KEY_PAL_LEFT, 11}, {KEY_PAL_ENTER, 1}})},
      {"＠ off grid from 0", Z, Cp932("＠"), 0, 1,
       Concat({ResetSymbolCursorKeys(),
               Presses({{KEY_PAL_RIGHT, 1}, {KEY_PAL_DOWN, 2}, {KEY_PAL_RIGHT, 8}, {KEY_PAL_ENTER, 1}})})},
      {"－ is cell 21", Z, Cp932("－"), 0, 0, Presses({{KEY_PAL_DOWN, 1}, {KEY_PAL_RIGHT, 9}, {KEY_PAL_ENTER, 1}})},
      {"yen 5C is cell 15", H, OneByte(0x5C), 0, 0,
       Presses({{KEY_PAL_DOWN, 1}, {KEY_PAL_RIGHT, 3}, {KEY_PAL_ENTER, 1}})},
      {"･ is cell 32", H, Cp932("･"), 35, 0, Presses({{KEY_PAL_LEFT, 3}, {KEY_PAL_ENTER, 1}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineRig rig;
    rig.Set({4, 0, 0, c.start, c.offGrid});
    EXPECT_EQ((rig.engine.*c.routine)(c.piece), 1);
    EXPECT_EQ(rig.Keys(), c.keys);
  }
}

TEST(SymbolEntryTest, SameSymbolTwiceSendsOnlyEnterTheSecondTime) {
  EngineRig rig;
  rig.Set({4, 1, 1, 0, 0});
  ASSERT_EQ(rig.engine.HSymbolInputProcess("@"), 1);
  rig.tx.ClearPackets();
  EXPECT_EQ(rig.engine.HSymbolInputProcess("@"), 1);
  EXPECT_EQ(rig.Keys(), (std::vector<int>{KEY_PAL_ENTER}));
}

// The moves as they would be counted from the cell recorded before
// ResetSymbolCursor (the extra right step still decided on cell 0).
std::vector<int> MovesCountedFromOldCell(int oldCell, int target) {
  int rowStep = target / 12 - oldCell / 12;
  int columnStep = target % 12 - oldCell % 12;
  std::vector<int> keys;
  if (rowStep == 2) {
    keys.push_back(KEY_PAL_RIGHT);
    --columnStep;
  }
  keys.insert(keys.end(), rowStep > 0 ? rowStep : -rowStep, rowStep > 0 ? KEY_PAL_DOWN : KEY_PAL_UP);
  keys.insert(keys.end(), columnStep > 0 ? columnStep : -columnStep, columnStep > 0 ? KEY_PAL_RIGHT : KEY_PAL_LEFT);
  keys.push_back(KEY_PAL_ENTER);
  return keys;
}

// ( then （ then ＠ in one field: the width switch between ( and （ sends the
// cursor to the function cells. Counted from cell 0, where ResetSymbolCursor
// leaves it, every symbol lands; counted from the old cell, （ would press ＿
// and ＠'s moves would then run down column 0 into the missing cell 24.
TEST(SymbolEntryTest, AfterResetMovesAreCountedFromCellZero) {
  EngineRig rig;
  rig.Set({4, 1, 1, 0, 0});
  int deviceCell = 0;

  ASSERT_EQ(rig.engine.HSymbolInputProcess("("), 1);
  auto pressed = PressedCell(deviceCell, false, rig.Keys());
  ASSERT_EQ(pressed, std::optional<int>(7));
  deviceCell = *pressed;

  ASSERT_EQ(rig.engine.SetHZSwitch(0), 1);
  ASSERT_TRUE(rig.engine.m_bCursorOffGrid);
  rig.tx.ClearPackets();

  ASSERT_EQ(rig.engine.ZSymbolInputProcess(Cp932("（")), 1);
  EXPECT_EQ(rig.Keys(), Concat({ResetSymbolCursorKeys(), Presses({{KEY_PAL_RIGHT, 7}, {KEY_PAL_ENTER, 1}})}));
  pressed = PressedCell(deviceCell, true, rig.Keys());
  EXPECT_EQ(pressed, std::optional<int>(7));
  EXPECT_EQ(rig.Snapshot(), (State{4, 0, 1, 7, 0}));
  EXPECT_EQ(PressedCell(0, false, MovesCountedFromOldCell(7, 7)), std::optional<int>(0));  // ＿, not （
  deviceCell = *pressed;
  rig.tx.ClearPackets();

  ASSERT_EQ(rig.engine.ZSymbolInputProcess(Cp932("＠")), 1);
  EXPECT_EQ(PressedCell(deviceCell, false, rig.Keys()), std::optional<int>(33));
  EXPECT_EQ(rig.engine.m_nSymbolPos, 33);
  // Had （ been counted from the old cell, the device would stand on 0 while
  // the record says 7, and ＠'s moves would go off the grid.
  EXPECT_EQ(rig.Keys(), Presses({{KEY_PAL_DOWN, 2}, {KEY_PAL_RIGHT, 2}, {KEY_PAL_ENTER, 1}}));
  EXPECT_EQ(PressedCell(0, false, rig.Keys()), std::nullopt);
}

TEST(SymbolEntryTest, OldCellCountingMissesForEveryNonZeroOldCell) {
  for (int oldCell : AllCells()) {
    if (oldCell == 0) continue;
    const auto landed = PressedCell(0, false, MovesCountedFromOldCell(oldCell, 33));
    EXPECT_NE(landed, std::optional<int>(33)) << oldCell;
    EngineRig rig;
    rig.Set({4, 0, 1, oldCell, 1});
    ASSERT_EQ(rig.engine.ZSymbolInputProcess(Cp932("＠")), 1);
    EXPECT_EQ(PressedCell(oldCell, true, rig.Keys()), std::optional<int>(33)) << oldCell;
  }
}

TEST(SymbolEntryTest, CharactersOutsideTheGridSendNothing) {
  struct Case {
    int (EntryEngine::*routine)(const std::string&);
    std::string piece;
  };
  const auto Z = &EntryEngine::ZSymbolInputProcess;
  const auto H = &EntryEngine::HSymbolInputProcess;
  const Case cases[] = {
      {Z, Cp932("“")}, {Z, Cp932("〒")}, {Z, Cp932("　")}, {Z, Cp932("あ")}, {Z, TwoBytes(0x8100)},
      {Z, Cp932("!")}, {Z, ""},           {H, "a"},          {H, " "},          {H, Cp932("｡")},
      {H, Cp932("､")}, {H, OneByte(0x7F)}, {H, OneByte(0x00)}, {H, Cp932("！")}, {H, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.piece));
    EngineRig rig;
    const State before{4, 0, 1, 17, 1};
    rig.Set(before);
    EXPECT_EQ((rig.engine.*c.routine)(c.piece), 0);
    EXPECT_TRUE(rig.Keys().empty());
    EXPECT_EQ(rig.Snapshot(), before);
  }
}

// Exactly the cells of the grid are accepted, by every code of the width.
TEST(SymbolEntryTest, AcceptsExactlyTheGridCells) {
  std::size_t full = 0;
  for (unsigned code = 0x8100; code <= 0x84FF; ++code) {
    EngineRig rig;
    if (rig.engine.ZSymbolInputProcess(TwoBytes(code)) == 1) ++full;
  }
  EXPECT_EQ(full, 35u);
  std::size_t half = 0;
  for (unsigned b = 0; b <= 0xFF; ++b) {
    EngineRig rig;
    if (rig.engine.HSymbolInputProcess(OneByte(b)) == 1) ++half;
  }
  EXPECT_EQ(half, 35u);
}

TEST(SymbolEntryTest, RecordNamingNoCellIsRefusedOnTheGridAndHarmlessOffIt) {
  for (int bad : {-1, 24, 36}) {
    SCOPED_TRACE(bad);
    EngineRig onGrid;
    onGrid.Set({4, 0, 1, bad, 0});
    EXPECT_EQ(onGrid.engine.ZSymbolInputProcess(Cp932("＠")), 0);
    EXPECT_TRUE(onGrid.Keys().empty());

    EngineRig offGrid;
    offGrid.Set({4, 0, 1, bad, 1});
    EXPECT_EQ(offGrid.engine.ZSymbolInputProcess(Cp932("＠")), 1);
    EXPECT_EQ(PressedCell(0, true, offGrid.Keys()), std::optional<int>(33));
  }
}

// A failure at key k: exactly k keys go out; the record keeps what it held
// after ResetSymbolCursor (or before it, if that is where the failure fell).
TEST(SymbolEntryTest, FailureAtEveryKeySendsNoMoreAndKeepsTheRecord) {
  for (int offGrid : {0, 1}) {
    const State before{4, 0, 1, 5, offGrid};
    EngineRig full;
    full.Set(before);
    ASSERT_EQ(full.engine.ZSymbolInputProcess(Cp932("＠")), 1);
    const std::vector<int> all = full.Keys();
    for (std::size_t k = 0; k < all.size(); ++k) {
      SCOPED_TRACE(::testing::Message() << "off-grid " << offGrid << " key " << k);
      EngineRig rig;
      rig.Set(before);
      rig.StopAfterPackets(k);
      EXPECT_EQ(rig.engine.ZSymbolInputProcess(Cp932("＠")), 0);
      EXPECT_EQ(rig.Keys(), std::vector<int>(all.begin(), all.begin() + k));
      const bool resetDone = offGrid && k >= ResetSymbolCursorKeys().size();
      EXPECT_EQ(rig.Snapshot(), (resetDone ? State{4, 0, 1, 0, 0} : before));
    }
  }
}

}  // namespace
}  // namespace vrellix
