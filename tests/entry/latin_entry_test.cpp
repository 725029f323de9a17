#include <map>

#include "entry_test_support.h"
#include "support/palette_text.h"

namespace vrellix {
namespace {

using testing::Cp932;
using testing::Cp932Chars;
using testing::EngineRig;
using testing::Hex;
using testing::LetterKeyText;
using testing::OneByte;
using testing::Presses;
using testing::TwoBytes;

using Expectations = std::map<std::string, std::vector<int>>;

Expectations LettersFromLayout(const char* LetterKeyText::*column) {
  Expectations expected;
  for (const LetterKeyText& row : testing::kLetterKeys) {
    const auto letters = Cp932Chars(row.*column);
    for (std::size_t press = 0; press < letters.size(); ++press) {
      expected[letters[press]] = Presses({{row.key, static_cast<int>(press) + 1}});
    }
  }
  return expected;
}

Expectations DigitsFrom(const char* digits) {
  Expectations expected;
  const auto chars = Cp932Chars(digits);
  for (std::size_t n = 0; n < chars.size(); ++n) expected[chars[n]] = {static_cast<int>(n)};
  return expected;
}

struct RoutineCase {
  const char* name;
  int (EntryEngine::*routine)(const std::string&);
  Expectations expected;
  std::size_t expectedCount;
  bool fullWidth;
};

// Every single byte for the half-width routines, every code of lead 81-84 for
// the full-width ones: the listed characters send their keys, all else nothing.
TEST(LatinEntryTest, EveryCodeSendsItsLayoutKeysOrNothing) {
  const RoutineCase cases[] = {
      {"HEizi", &EntryEngine::HEiziInputProcess, LettersFromLayout(&LetterKeyText::halfWidth), 52, false},
      {"ZEizi", &EntryEngine::ZEiziInputProcess, LettersFromLayout(&LetterKeyText::fullWidth), 52, true},
      {"HSuhzi", &EntryEngine::HSuhziInputProcess, DigitsFrom("0123456789"), 10, false},
      {"ZSuhzi", &EntryEngine::ZSuhziInputProcess, DigitsFrom("０１２３４５６７８９"), 10, true},
  };
  for (const RoutineCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.expected.size(), c.expectedCount);
    std::vector<std::string> pieces;
    if (c.fullWidth) {
      for (unsigned code = 0x8100; code <= 0x84FF; ++code) pieces.push_back(TwoBytes(code));
    } else {
      for (unsigned b = 0; b <= 0xFF; ++b) pieces.push_back(OneByte(b));
    }
    std::size_t accepted = 0;
    for (const std::string& piece : pieces) {
      SCOPED_TRACE(Hex(piece));
      EngineRig rig;
      rig.Set({3, 1, 1, 12, 1});
      const int result = (rig.engine.*c.routine)(piece);
      const auto it = c.expected.find(piece);
      if (it == c.expected.end()) {
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(rig.Keys().empty());
        EXPECT_EQ(rig.Snapshot(), (EngineRig::State{3, 1, 1, 12, 1}));
      } else {
        ++accepted;
        EXPECT_EQ(result, 1);
        EXPECT_EQ(rig.Keys(), it->second);
        EXPECT_EQ(rig.Snapshot(), (EngineRig::State{3, 1, 1, 12, 0}));
      }
    }
    EXPECT_EQ(accepted, c.expectedCount);
  }
}

TEST(LatinEntryTest, ListedKeySequences) {
  struct Case {
    int (EntryEngine::*routine)(const std::string&);
    const char* character;
    std::vector<int> keys;
  };
  const auto H = &EntryEngine::HEiziInputProcess;
  const auto Z = &EntryEngine::ZEiziInputProcess;
  const Case cases[] = {
      {H, "a", Presses({{KEY_1, 1}})}, {H, "c", Presses({{KEY_1, 3}})}, {H, "A", Presses({{KEY_1, 4}})},
      {H, "C", Presses({{KEY_1, 6}})}, {H, "y", Presses({{KEY_9, 1}})}, {H, "z", Presses({{KEY_9, 2}})},
      {H, "Y", Presses({{KEY_9, 3}})}, {H, "Z", Presses({{KEY_9, 4}})}, {Z, "ａ", Presses({{KEY_1, 1}})},
      {Z, "ｃ", Presses({{KEY_1, 3}})}, {Z, "Ａ", Presses({{KEY_1, 4}})}, {Z, "Ｃ", Presses({{KEY_1, 6}})},
      {Z, "ｙ", Presses({{KEY_9, 1}})}, {Z, "ｚ", Presses({{KEY_9, 2}})}, {Z, "Ｙ", Presses({{KEY_9, 3}})},
      {Z, "Ｚ", Presses({{KEY_9, 4}})},
      {&EntryEngine::HSuhziInputProcess, "7", {KEY_7}},
      {&EntryEngine::ZSuhziInputProcess, "０", {KEY_0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.character);
    EngineRig rig;
    EXPECT_EQ((rig.engine.*c.routine)(Cp932(c.character)), 1);
    EXPECT_EQ(rig.Keys(), c.keys);
  }
}

TEST(LatinEntryTest, DigitRoutinesRefuseLettersSymbolsAndTheOtherWidth) {
  struct Case {
    int (EntryEngine::*routine)(const std::string&);
    const char* character;
  };
  const auto H = &EntryEngine::HSuhziInputProcess;
  const auto Z = &EntryEngine::ZSuhziInputProcess;
  const Case cases[] = {{H, "a"}, {H, "!"}, {H, "０"}, {Z, "ａ"}, {Z, "！"}, {Z, "7"}, {Z, ""}, {H, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.character);
    EngineRig rig;
    EXPECT_EQ((rig.engine.*c.routine)(Cp932(c.character)), 0);
    EXPECT_TRUE(rig.Keys().empty());
  }
}

}  // namespace
}  // namespace vrellix
