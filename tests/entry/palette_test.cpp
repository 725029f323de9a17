#include <algorithm>

#include "entry_test_support.h"

namespace vrellix {
namespace {

using testing::Concat;
using testing::EngineRig;
using testing::Presses;
using testing::ResetSymbolCursorKeys;
using State = EngineRig::State;

std::vector<int> SwitchKeys(int downs) {
  return Presses({{KEY_PAL_LEFT, 13}, {KEY_PAL_UP, 4}, {KEY_PAL_DOWN, downs}, {KEY_PAL_ENTER, 1}});
}

std::vector<int> SleepMs(const EngineRig& rig) {
  std::vector<int> ms;
  for (const auto& s : rig.clock.Sleeps()) ms.push_back(s.ms);
  return ms;
}

TEST(SetPalletPageTest, StepsForwardThroughTheWrapWithAPauseAfterEachStep) {
  struct Case {
    int from, to, presses;
  };
  const Case cases[] = {
      {0, 0, 0}, {3, 3, 0}, {5, 0, 1}, {4, 2, 4}, {0, 4, 4}, {1, 0, 5}, {0, 5, 5}, {2, 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to);
    EngineRig rig;
    rig.Set({c.from, 1, 1, 9, 1});
    EXPECT_EQ(rig.engine.SetPalletPage(c.to), 1);
    EXPECT_EQ(rig.Keys(), Presses({{KEY_PALLET, c.presses}}));
    EXPECT_EQ(rig.Snapshot(), (State{c.to, 1, 1, 9, 1}));  // the width mode stays
    std::vector<int> sleeps;  // reply wait, command delay, page step pause
    for (int i = 0; i < c.presses; ++i) sleeps.insert(sleeps.end(), {kReplyWaitMs, 100, 50});
    EXPECT_EQ(SleepMs(rig), sleeps);
  }
}

TEST(SetPalletPageTest, PageOutsideThePaletteIsRefusedWithoutSending) {
  for (int page : {-1, 6, 100}) {
    EngineRig rig;
    rig.engine.m_nPalletPage = 2;
    EXPECT_EQ(rig.engine.SetPalletPage(page), 0) << page;
    EXPECT_TRUE(rig.Keys().empty());
    EXPECT_EQ(rig.engine.m_nPalletPage, 2);
  }
}

// A stop or a refused key part-way leaves the page of the last acknowledged press.
TEST(SetPalletPageTest, FailureHalfWayKeepsTheLastAcknowledgedPage) {
  for (int acknowledged = 0; acknowledged < 4; ++acknowledged) {
    SCOPED_TRACE(acknowledged);
    EngineRig stopped;
    stopped.engine.m_nPalletPage = 4;
    stopped.StopAfterPackets(acknowledged);
    EXPECT_EQ(stopped.engine.SetPalletPage(2), 0);
    EXPECT_EQ(stopped.Keys(), Presses({{KEY_PALLET, acknowledged}}));
    EXPECT_EQ(stopped.engine.m_nPalletPage, (4 + acknowledged) % 6);

    EngineRig refused;
    refused.engine.m_nPalletPage = 4;
    refused.RefuseAfterKeys(acknowledged);
    EXPECT_EQ(refused.engine.SetPalletPage(2), 0);
    EXPECT_EQ(refused.Keys(), Presses({{KEY_PALLET, acknowledged + 2}}));  // two tries of the last
    EXPECT_EQ(refused.engine.m_nPalletPage, (4 + acknowledged) % 6);
  }
}

TEST(SetPalletPageTest, StopDuringTheLastPauseCutsItShort) {
  EngineRig rig;
  rig.StopAfterPackets(1);
  EXPECT_EQ(rig.engine.SetPalletPage(1), 1);  // the press itself was acknowledged
  EXPECT_EQ(rig.engine.m_nPalletPage, 1);
  ASSERT_FALSE(rig.clock.Sleeps().empty());
  EXPECT_EQ(rig.clock.Sleeps().back().ms, 50);
  EXPECT_TRUE(rig.clock.Sleeps().back().interrupted);
  EXPECT_EQ(rig.clock.NowMs(), 0);
}

TEST(SetHZSwitchTest, KeyCountsAndState) {
  struct Case {
    int mode, target, hasText;
    std::vector<int> keys;
  };
  const Case cases[] = {
      {1, 1, 0, {}},
      {0, 0, 1, {}},
      {1, 0, 0, SwitchKeys(2)},
      {1, 0, 1, SwitchKeys(3)},
      {0, 1, 0, SwitchKeys(2)},
      {0, 1, 1, SwitchKeys(3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mode << " -> " << c.target << " text " << c.hasText);
    EngineRig rig;
    rig.Set({3, c.mode, c.hasText, 5, 0});
    EXPECT_EQ(rig.engine.SetHZSwitch(c.target), 1);
    EXPECT_EQ(rig.Keys(), c.keys);
    const int offGrid = c.keys.empty() ? 0 : 1;
    EXPECT_EQ(rig.Snapshot(), (State{3, c.target, c.hasText, 5, offGrid}));
  }
  EXPECT_EQ(SwitchKeys(2).size(), 20u);
  EXPECT_EQ(SwitchKeys(3).size(), 21u);
}

TEST(SetHZSwitchTest, ModeOtherThanFullOrHalfIsRefused) {
  for (int mode : {-1, 2}) {
    EngineRig rig;
    EXPECT_EQ(rig.engine.SetHZSwitch(mode), 0);
    EXPECT_TRUE(rig.Keys().empty());
    EXPECT_EQ(rig.engine.m_nHZMode, 0);
  }
}

// Whichever key fails, the width and the off-grid flag keep their old values,
// even at the last key, when the cursor has already moved.
TEST(SetHZSwitchTest, FailureAtEveryKeyLeavesTheStateAndSendsNoMore) {
  for (int hasText : {0, 1}) {
    const std::vector<int> full = SwitchKeys(hasText ? 3 : 2);
    for (std::size_t k = 0; k < full.size(); ++k) {
      SCOPED_TRACE(::testing::Message() << "hasText " << hasText << " key " << k);
      const State before{1, 1, hasText, 4, 0};
      EngineRig stopped;
      stopped.Set(before);
      stopped.StopAfterPackets(k);
      EXPECT_EQ(stopped.engine.SetHZSwitch(0), 0);
      EXPECT_EQ(stopped.Keys(), std::vector<int>(full.begin(), full.begin() + k));
      EXPECT_EQ(stopped.Snapshot(), before);

      EngineRig refused;
      refused.Set(before);
      refused.RefuseAfterKeys(k);
      EXPECT_EQ(refused.engine.SetHZSwitch(0), 0);
      ASSERT_EQ(refused.Keys().size(), k + 2);
      EXPECT_EQ(refused.Keys().back(), full[k]);
      EXPECT_EQ(refused.Snapshot(), before);
    }
  }
}

TEST(SetSpaceTest, KeySequencesAndState) {
  const std::vector<int> spaceFromGrid =
      Presses({{KEY_PAL_LEFT, 13}, {KEY_PAL_UP, 4}, {KEY_PAL_DOWN, 1}, {KEY_PAL_ENTER, 1}});
  const std::vector<int> spaceAfterSwitch = Presses({{KEY_PAL_UP, 4}, {KEY_PAL_DOWN, 1}, {KEY_PAL_ENTER, 1}});
  struct Case {
    const char* name;
    State before;
    int width;
    std::vector<int> keys;
    State after;
  };
  const Case cases[] = {
      {"full on page 0, full width", {0, 0, 0, 3, 0}, 0, spaceFromGrid, {0, 0, 0, 3, 1}},
      {"full on page 0, half width: no switch", {0, 1, 1, 3, 0}, 0, spaceFromGrid, {0, 1, 1, 3, 1}},
      {"half on page 0, full width", {0, 0, 0, 3, 0}, 1,
       Concat({{KEY_PALLET}, SwitchKeys(2), spaceAfterSwitch}), {1, 1, 0, 3, 1}},
      {"half on page 0 with text, half width", {0, 1, 1, 3, 0}, 1,
       Concat({{KEY_PALLET}, spaceFromGrid}), {1, 1, 1, 3, 1}},
      {"half on page 3, half width", {3, 1, 1, 3, 0}, 1, spaceFromGrid, {3, 1, 1, 3, 1}},
      {"half on page 3 with text, full width", {3, 0, 1, 3, 0}, 1,
       Concat({SwitchKeys(3), spaceAfterSwitch}), {3, 1, 1, 3, 1}},
      {"full on page 4, half width", {4, 1, 1, 3, 0}, 0, Concat({SwitchKeys(3), spaceAfterSwitch}),
       {4, 0, 1, 3, 1}},
      {"full on page 2, full width", {2, 0, 1, 3, 0}, 0, spaceFromGrid, {2, 0, 1, 3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineRig rig;
    rig.Set(c.before);
    EXPECT_EQ(rig.engine.SetSpace(c.width), 1);
    EXPECT_EQ(rig.Keys(), c.keys);
    EXPECT_EQ(rig.Snapshot(), c.after);
  }
}

TEST(SetSpaceTest, PageStepOfAHalfWidthSpacePausesFiftyMilliseconds) {
  EngineRig rig;
  ASSERT_EQ(rig.engine.SetSpace(1), 1);
  const std::vector<int> sleeps = SleepMs(rig);
  ASSERT_GE(sleeps.size(), 3u);
  EXPECT_EQ(std::vector<int>(sleeps.begin(), sleeps.begin() + 3), (std::vector<int>{kReplyWaitMs, 100, 50}));
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 50), 1);
}

TEST(SetSpaceTest, WidthOtherThanFullOrHalfIsRefused) {
  EngineRig rig;
  EXPECT_EQ(rig.engine.SetSpace(2), 0);
  EXPECT_TRUE(rig.Keys().empty());
  EXPECT_EQ(rig.Snapshot(), (State{0, 0, 0, 0, 0}));
}

// A half-width space from page 0 runs page step, width switch and space; a
// failure at any key stops there, keeping whatever the completed steps set.
TEST(SetSpaceTest, FailureAtEveryKeySendsNoMore) {
  const std::vector<int> full =
      Concat({{KEY_PALLET}, SwitchKeys(2), Presses({{KEY_PAL_UP, 4}, {KEY_PAL_DOWN, 1}, {KEY_PAL_ENTER, 1}})});
  for (std::size_t k = 0; k < full.size(); ++k) {
    SCOPED_TRACE(k);
    EngineRig rig;
    rig.StopAfterPackets(k);
    EXPECT_EQ(rig.engine.SetSpace(1), 0);
    EXPECT_EQ(rig.Keys(), std::vector<int>(full.begin(), full.begin() + k));
    const bool stepped = k >= 1;
    const bool switched = k >= 21;
    EXPECT_EQ(rig.Snapshot(), (State{stepped ? 1 : 0, switched ? 1 : 0, 0, 0, switched ? 1 : 0}));
  }
}

TEST(ResetSymbolCursorTest, TenKeysBackToCellZero) {
  EngineRig rig;
  rig.Set({4, 1, 1, 27, 1});
  EXPECT_EQ(rig.engine.ResetSymbolCursor(), 1);
  EXPECT_EQ(rig.Keys(), (std::vector<int>{KEY_PAL_RIGHT, KEY_PAL_UP, KEY_PAL_UP, KEY_PAL_LEFT, KEY_PAL_LEFT,
                                          KEY_PAL_UP, KEY_PAL_UP, KEY_PAL_UP, KEY_PAL_UP, KEY_PAL_RIGHT}));
  EXPECT_EQ(rig.Snapshot(), (State{4, 1, 1, 0, 0}));
}

TEST(ResetSymbolCursorTest, FailureAtEveryKeyLeavesBothMembers) {
  const std::vector<int> full = ResetSymbolCursorKeys();
  for (std::size_t k = 0; k < full.size(); ++k) {
    SCOPED_TRACE(k);
    const State before{4, 0, 1, 27, 1};
    EngineRig rig;
    rig.Set(before);
    rig.StopAfterPackets(k);
    EXPECT_EQ(rig.engine.ResetSymbolCursor(), 0);
    EXPECT_EQ(rig.Keys(), std::vector<int>(full.begin(), full.begin() + k));
    EXPECT_EQ(rig.Snapshot(), before);
  }
}

TEST(ResetEntryStateTest, ClearsAllButTheSymbolCell) {
  EngineRig rig;
  rig.Set({4, 1, 1, 33, 1});
  rig.engine.ResetEntryState();
  EXPECT_EQ(rig.Snapshot(), (State{0, 0, 0, 33, 0}));
  EXPECT_TRUE(rig.Keys().empty());
}

}  // namespace
}  // namespace vrellix
