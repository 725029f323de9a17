#include "job/string_input.h"

#include <gtest/gtest.h>

#include "job/job_events.h"
#include "job/key_script.h"
#include "support/engine_rig.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"

namespace vrellix {
namespace {

using testing::DriverRig;
using testing::FakeTransmitter;
using testing::KeyScript;
using testing::Lines;
using Reply = FakeTransmitter::Reply;

// Code page 932 bytes of the characters used below.
const std::string kA = "\x82\xA0";       // あ
const std::string kI = "\x82\xA2";       // い
const std::string kKataA = "\x83\x41";   // ア
const std::string kZSpace = "\x81\x40";  // full-width space
const std::string kZParenOpen = "\x81\x69";   // （ cell 7
const std::string kZParenClose = "\x81\x6A";  // ） cell 8
const std::string kZLetterA = "\x82\x81";     // ａ
const std::string kZDigit0 = "\x82\x4F";      // ０
const std::string kHKanaA = "\xB1";           // ｱ
const std::string kHKanaKa = "\xB6";          // ｶ
const std::string kHVoiced = "\xDE";          // ﾞ
const std::string kKanji = "\x8A\xBF";        // 漢: no class

class StringInputTest : public ::testing::Test {
 protected:
  std::vector<JobEvent> Events() const { return rig.log.Events(); }

  DriverRig rig;
  EntryEngine& engine = rig.engine;
  FakeTransmitter& transmitter = rig.tx;
};

TEST_F(StringInputTest, EmptyTextSendsNothingAndLeavesHasText) {
  for (bool hasText : {false, true}) {
    engine.m_bHasText = hasText;
    EXPECT_EQ(StringInputProcess(engine, ""), 1);
    EXPECT_EQ(engine.m_bHasText, hasText);
  }
  EXPECT_TRUE(transmitter.Packets().empty());
  EXPECT_TRUE(rig.clock.Sleeps().empty());
}

// One character of each class from a freshly opened field: page, width,
// routine, closing key, and where the palette is left.
TEST_F(StringInputTest, EachClassFromAFreshField) {
  struct Case {
    const char* name;
    std::string text;
    KeyScript expected;
    int page;
    int mode;
  };
  const Case cases[] = {
      {"hiragana", kA, KeyScript().Key(KEY_1).Key(KEY_NEXT), 0, 0},
      {"full-width katakana", kKataA, KeyScript().Pages(0, 1).Key(KEY_1).Key(KEY_NEXT), 1, 0},
      {"half-width katakana", kHKanaA,
       KeyScript().Pages(0, 1).WidthSwitch(false).Key(KEY_1).Key(KEY_NEXT), 1, 1},
      {"full-width letter", kZLetterA, KeyScript().Pages(0, 3).Key(KEY_1).Key(KEY_NEXT), 3, 0},
      {"half-width letter", "c", KeyScript().Pages(0, 3).WidthSwitch(false).Key(KEY_1, 3).Key(KEY_NEXT), 3, 1},
      {"full-width digit", kZDigit0, KeyScript().Pages(0, 2).Key(KEY_0), 2, 0},
      {"half-width digit", "7", KeyScript().Pages(0, 2).WidthSwitch(false).Key(KEY_7), 2, 1},
      {"full-width symbol", kZParenOpen,
       KeyScript().Pages(0, 4).Key(KEY_PAL_RIGHT, 7).Key(KEY_PAL_ENTER), 4, 0},
      {"full-width space", kZSpace, KeyScript().SpaceCells(true), 0, 0},
      {"half-width space", " ", KeyScript().Pages(0, 1).WidthSwitch(false).SpaceCells(false), 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DriverRig fresh;

    EXPECT_EQ(StringInputProcess(fresh.engine, c.text), 1);
    EXPECT_EQ(Lines(fresh.log.Events()), Lines(c.expected.Events()));
    EXPECT_EQ(fresh.engine.m_nPalletPage, c.page);
    EXPECT_EQ(fresh.engine.m_nHZMode, c.mode);
    EXPECT_TRUE(fresh.engine.m_bHasText);
  }
}

TEST_F(StringInputTest, HiraganaThenKatakanaChangesPageOnlyOnce) {
  EXPECT_EQ(StringInputProcess(engine, kA + kKataA), 1);
  const KeyScript expected = KeyScript()
                                 .Key(KEY_1).Key(KEY_NEXT)
                                 .Key(KEY_PALLET).Pause(50)
                                 .Key(KEY_1).Key(KEY_NEXT);
  EXPECT_EQ(Lines(Events()), Lines(expected.Events()));
}

TEST_F(StringInputTest, HalfWidthLetterThenDigitStepsPagesOnCyclically) {
  EXPECT_EQ(StringInputProcess(engine, "a1"), 1);
  const KeyScript expected = KeyScript()
                                 .Pages(0, 3).WidthSwitch(false).Key(KEY_1).Key(KEY_NEXT)
                                 .Pages(3, 2).Key(KEY_1);
  EXPECT_EQ(Lines(Events()), Lines(expected.Events()));
  EXPECT_EQ(engine.m_nPalletPage, 2);
  EXPECT_EQ(engine.m_nHZMode, 1);
}

// Each half-width character advances one byte, so the second of two is entered.
TEST_F(StringInputTest, HalfWidthCharactersStepOneByte) {
  EXPECT_EQ(StringInputProcess(engine, kHKanaKa + kHVoiced), 1);
  const KeyScript expected = KeyScript()
                                 .Pages(0, 1).WidthSwitch(false).Key(KEY_2).Key(KEY_NEXT)
                                 .Key(KEY_0, 4).Key(KEY_NEXT);
  EXPECT_EQ(Lines(Events()), Lines(expected.Events()));
}

TEST_F(StringInputTest, SymbolCursorSurvivesBetweenSymbols) {
  engine.m_nSymbolPos = 30;  // stale value from an earlier field
  EXPECT_EQ(StringInputProcess(engine, kZParenOpen + kZParenClose), 1);
  const KeyScript expected = KeyScript()
                                 .Pages(0, 4).Key(KEY_PAL_RIGHT, 7).Key(KEY_PAL_ENTER)
                                 .Key(KEY_PAL_RIGHT).Key(KEY_PAL_ENTER);
  EXPECT_EQ(Lines(Events()), Lines(expected.Events()));
  EXPECT_EQ(engine.m_nSymbolPos, 8);
}

TEST_F(StringInputTest, SymbolAfterLetterStartsFromCellZero) {
  engine.m_nSymbolPos = 20;
  EXPECT_EQ(StringInputProcess(engine, kZLetterA + kZParenOpen), 1);
  const KeyScript expected = KeyScript()
                                 .Pages(0, 3).Key(KEY_1).Key(KEY_NEXT)
                                 .Pages(3, 4).Key(KEY_PAL_RIGHT, 7).Key(KEY_PAL_ENTER);
  EXPECT_EQ(Lines(Events()), Lines(expected.Events()));
}

TEST_F(StringInputTest, SymbolOnSymbolPageKeepsCursorFromBefore) {
  engine.m_nPalletPage = 4;
  engine.m_nSymbolPos = 7;
  EXPECT_EQ(StringInputProcess(engine, kZParenClose), 1);
  const KeyScript expected = KeyScript().Key(KEY_PAL_RIGHT).Key(KEY_PAL_ENTER);
  EXPECT_EQ(Lines(Events()), Lines(expected.Events()));
}

TEST_F(StringInputTest, FullWidthSpaceBetweenHiraganaChangesNoPage) {
  EXPECT_EQ(StringInputProcess(engine, kA + kZSpace + kI), 1);
  const KeyScript expected = KeyScript()
                                 .Key(KEY_1).Key(KEY_NEXT)
                                 .SpaceCells(true)
                                 .Key(KEY_1, 2).Key(KEY_NEXT);
  EXPECT_EQ(Lines(Events()), Lines(expected.Events()));
  EXPECT_EQ(engine.m_nPalletPage, 0);
}

TEST_F(StringInputTest, UnclassifiableThirdCharacterFailsAfterTheFirstTwo) {
  for (const std::string& bad : {kKanji, std::string("\x80"), std::string("\x82")}) {
    SCOPED_TRACE("lead byte " + std::to_string(static_cast<unsigned char>(bad[0])));
    DriverRig fresh;

    EXPECT_EQ(StringInputProcess(fresh.engine, "ab" + bad), 0);
    const KeyScript expected = KeyScript()
                                   .Pages(0, 3).WidthSwitch(false).Key(KEY_1).Key(KEY_NEXT)
                                   .Key(KEY_1, 2).Key(KEY_NEXT);
    EXPECT_EQ(Lines(fresh.log.Events()), Lines(expected.Events()));
  }
}

TEST_F(StringInputTest, UnacknowledgedNextFailsAfterTheLetter) {
  engine.m_nPalletPage = 3;
  engine.m_nHZMode = 1;
  transmitter.Script({Reply::Ack, Reply::Nak, Reply::Silent});
  EXPECT_EQ(StringInputProcess(engine, "ab"), 0);
  EXPECT_EQ(transmitter.Keys(), (std::vector<int>{KEY_1, KEY_NEXT, KEY_NEXT}));
  EXPECT_FALSE(engine.m_bHasText);
}

// A failure at each step of a character's row ends the string right there.
TEST_F(StringInputTest, FailingStepEndsTheString) {
  struct Case {
    const char* name;
    std::string text;
    int ackedKeys;  // keys acknowledged before the refused one
    std::vector<int> keysSent;
  };
  const Case cases[] = {
      {"page step", "1", 1, {KEY_PALLET, KEY_PALLET, KEY_PALLET}},
      {"width switch", "1", 4, {KEY_PALLET, KEY_PALLET, KEY_PAL_LEFT, KEY_PAL_LEFT, KEY_PAL_LEFT, KEY_PAL_LEFT}},
      {"routine", kA, 0, {KEY_1, KEY_1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DriverRig fresh;
    // A reply is chosen as its packet is written, so refusing packet k is
    // arranged while packet k - 1 goes out.
    FakeTransmitter& tx = fresh.tx;
    if (c.ackedKeys == 0) tx.SetDefault(Reply::Nak);
    tx.OnPacket([&tx, &c](std::size_t index) {
      if (static_cast<int>(index) == c.ackedKeys - 1) tx.SetDefault(Reply::Nak);
    });
    EXPECT_EQ(StringInputProcess(fresh.engine, c.text), 0);
    EXPECT_EQ(fresh.tx.Keys(), c.keysSent);
    EXPECT_FALSE(fresh.engine.m_bHasText);
  }
}

TEST_F(StringInputTest, StopRequestFailsWithoutSending) {
  rig.stop.Set();
  EXPECT_EQ(StringInputProcess(engine, kA), 0);
  EXPECT_TRUE(transmitter.Packets().empty());
  EXPECT_FALSE(engine.m_bHasText);
}

}  // namespace
}  // namespace vrellix
