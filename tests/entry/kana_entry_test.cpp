#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>

#include "entry_test_support.h"
#include "support/palette_text.h"

namespace vrellix {
namespace {

using testing::Cp932;
using testing::EngineRig;
using testing::Hex;
using testing::KanaKeyText;
using testing::MarkedKanaText;
using testing::OneByte;
using testing::Presses;
using testing::TwoBytes;
using testing::Utf8Chars;

using Expectations = std::map<std::string, std::vector<int>>;  // CP932 character -> keys

bool IsCharacter(const std::string& cell) {
  return cell != testing::kNoCharText && cell != testing::kVoicedMarkText && cell != testing::kSemiVoicedMarkText;
}

Expectations PlainFromLayout(const char* KanaKeyText::*column) {
  Expectations expected;
  for (const KanaKeyText& row : testing::kKanaKeys) {
    const auto cells = Utf8Chars(row.*column);
    for (std::size_t press = 0; press < cells.size(); ++press) {
      if (!IsCharacter(cells[press])) continue;
      expected[Cp932(cells[press])] = Presses({{row.key, static_cast<int>(press) + 1}});
    }
  }
  return expected;
}

// The KEY_0 presses of a mark, read off the layout.
int MarkPresses(bool semiVoiced) {
  const std::string mark = semiVoiced ? testing::kSemiVoicedMarkText : testing::kVoicedMarkText;
  for (const KanaKeyText& row : testing::kKanaKeys) {
    const auto cells = Utf8Chars(row.hiragana);
    const auto at = std::find(cells.begin(), cells.end(), mark);
    if (row.key == KEY_0 && at != cells.end()) return static_cast<int>(at - cells.begin()) + 1;
  }
  throw std::logic_error("no mark on KEY_0");
}

// Voiced and semi-voiced kana: the base kana's presses, then the mark's.
Expectations WithMarked(Expectations expected) {
  for (const MarkedKanaText& row : testing::kMarkedKana) {
    const auto marked = Utf8Chars(row.marked);
    const auto base = Utf8Chars(row.base);
    for (std::size_t i = 0; i < marked.size(); ++i) {
      const std::string baseCode = Cp932(base[i]);
      if (!expected.count(baseCode)) continue;  // a row of the other table
      std::vector<int> keys = expected.at(baseCode);
      keys.insert(keys.end(), MarkPresses(row.semiVoiced), KEY_0);
      expected[Cp932(marked[i])] = keys;
    }
  }
  return expected;
}

struct KanaRoutineCase {
  const char* name;
  int (EntryEngine::*routine)(const std::string&);
  Expectations expected;
  std::size_t expectedCount;
  std::vector<std::string> candidates;  // every piece the routine is tried with
};

std::vector<std::string> AllTwoByteCodesOfLeads(unsigned firstLead, unsigned lastLead) {
  std::vector<std::string> pieces;
  for (unsigned lead = firstLead; lead <= lastLead; ++lead) {
    for (unsigned trail = 0; trail <= 0xFF; ++trail) pieces.push_back(TwoBytes(lead * 256 + trail));
  }
  return pieces;
}

std::vector<std::string> AllSingleBytes() {
  std::vector<std::string> pieces;
  for (unsigned b = 0; b <= 0xFF; ++b) pieces.push_back(OneByte(b));
  return pieces;
}

std::vector<KanaRoutineCase> KanaCases() {
  return {
      {"Hiragana", &EntryEngine::HiraganaInputProcess, WithMarked(PlainFromLayout(&KanaKeyText::hiragana)),
       83, AllTwoByteCodesOfLeads(0x81, 0x84)},
      {"ZKatakana", &EntryEngine::ZKatakanaInputProcess,
       WithMarked(PlainFromLayout(&KanaKeyText::fullKatakana)), 81, AllTwoByteCodesOfLeads(0x81, 0x84)},
      {"HKatakana", &EntryEngine::HKatakanaInputProcess, PlainFromLayout(&KanaKeyText::halfKatakana), 58,
       AllSingleBytes()},
  };
}

// Every piece: an accepted character sends exactly its layout's keys, returns 1
// and clears the off-grid flag; anything else sends nothing and changes nothing.
TEST(KanaEntryTest, EveryCodeSendsItsLayoutKeysOrNothing) {
  for (const KanaRoutineCase& c : KanaCases()) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.expected.size(), c.expectedCount);
    std::size_t accepted = 0;
    for (const std::string& piece : c.candidates) {
      SCOPED_TRACE(Hex(piece));
      EngineRig rig;
      const EngineRig::State before{1, 1, 1, 7, 1};
      rig.Set(before);
      const int result = (rig.engine.*c.routine)(piece);
      const auto it = c.expected.find(piece);
      if (it == c.expected.end()) {
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(rig.Keys().empty());
        EXPECT_EQ(rig.Snapshot(), before);
      } else {
        ++accepted;
        EXPECT_EQ(result, 1);
        EXPECT_EQ(rig.Keys(), it->second);
        EXPECT_EQ(rig.Snapshot(), (EngineRig::State{1, 1, 1, 7, 0}));
      }
    }
    EXPECT_EQ(accepted, c.expectedCount);
  }
}

TEST(KanaEntryTest, ListedKeySequences) {
  struct Case {
    int (EntryEngine::*routine)(const std::string&);
    const char* character;
    std::vector<int> keys;
  };
  const auto H = &EntryEngine::HiraganaInputProcess;
  const auto Z = &EntryEngine::ZKatakanaInputProcess;
  const auto K = &EntryEngine::HKatakanaInputProcess;
  const Case cases[] = {
      {H, "あ", Presses({{KEY_1, 1}})},
      {H, "お", Presses({{KEY_1, 5}})},
      {H, "ぁ", Presses({{KEY_1, 6}})},
      {H, "ぉ", Presses({{KEY_1, 10}})},
      {H, "が", Presses({{KEY_2, 1}, {KEY_0, 4}})},
      {H, "ぱ", Presses({{KEY_6, 1}, {KEY_0, 5}})},
      {H, "ぽ", Presses({{KEY_6, 5}, {KEY_0, 5}})},
      {H, "ぢ", Presses({{KEY_4, 2}, {KEY_0, 4}})},
      {H, "づ", Presses({{KEY_4, 3}, {KEY_0, 4}})},
      {H, "っ", Presses({{KEY_4, 6}})},
      {H, "ゃ", Presses({{KEY_8, 4}})},
      {H, "ゅ", Presses({{KEY_8, 5}})},
      {H, "ょ", Presses({{KEY_8, 6}})},
      {H, "わ", Presses({{KEY_0, 1}})},
      {H, "を", Presses({{KEY_0, 2}})},
      {H, "ん", Presses({{KEY_0, 3}})},
      {H, "。", Presses({{KEY_0, 6}})},
      {H, "、", Presses({{KEY_0, 7}})},
      {H, "ー", Presses({{KEY_0, 8}})},
      {Z, "－", Presses({{KEY_0, 8}})},
      {Z, "ォ", Presses({{KEY_1, 10}})},
      {Z, "ポ", Presses({{KEY_6, 5}, {KEY_0, 5}})},
      {K, "ﾞ", Presses({{KEY_0, 4}})},
      {K, "ﾟ", Presses({{KEY_0, 5}})},
      {K, "ｦ", Presses({{KEY_0, 2}})},
      {K, "ｰ", Presses({{KEY_0, 8}})},
      {K, "ｫ", Presses({{KEY_1, 10}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.character);
    EngineRig rig;
    EXPECT_EQ((rig.engine.*c.routine)(Cp932(c.character)), 1);
    EXPECT_EQ(rig.Keys(), c.keys);
  }
}

TEST(KanaEntryTest, RefusedCharactersSendNothing) {
  struct Case {
    int (EntryEngine::*routine)(const std::string&);
    std::string piece;
  };
  const auto H = &EntryEngine::HiraganaInputProcess;
  const auto Z = &EntryEngine::ZKatakanaInputProcess;
  const auto K = &EntryEngine::HKatakanaInputProcess;
  const Case cases[] = {
      {Z, Cp932("ヴ")}, {Z, Cp932("ヵ")}, {Z, Cp932("ヶ")}, {Z, Cp932("ヮ")}, {Z, Cp932("ヰ")},
      {Z, Cp932("ヱ")}, {Z, Cp932("ー")}, {Z, Cp932("あ")}, {Z, TwoBytes(0x837F)}, {H, Cp932("ゎ")},
      {H, Cp932("ゐ")}, {H, Cp932("ゑ")}, {H, Cp932("－")}, {H, Cp932("ア")}, {H, std::string()},
      {H, OneByte(0x82)}, {K, Cp932("｡")}, {K, Cp932("､")}, {K, Cp932("ア")}, {K, std::string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.piece));
    EngineRig rig;
    rig.engine.m_bCursorOffGrid = true;
    EXPECT_EQ((rig.engine.*c.routine)(c.piece), 0);
    EXPECT_TRUE(rig.Keys().empty());
    EXPECT_TRUE(rig.engine.m_bCursorOffGrid);
  }
}

// Only the first byte matters to the half-width routine, the first two to the
// full-width ones: the driver passes the next character's bytes along.
TEST(KanaEntryTest, BytesOfTheNextCharacterPlayNoPart) {
  EngineRig rig;
  EXPECT_EQ(rig.engine.HKatakanaInputProcess(Cp932("ｶﾞ")), 1);
  EXPECT_EQ(rig.Keys(), Presses({{KEY_2, 1}}));
  EngineRig rig2;
  EXPECT_EQ(rig2.engine.HiraganaInputProcess(Cp932("あい")), 1);
  EXPECT_EQ(rig2.Keys(), Presses({{KEY_1, 1}}));
}

}  // namespace
}  // namespace vrellix
