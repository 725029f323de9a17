// A key that fails part-way through a character: nothing more is sent and the
// record stays as it was (the symbol routines have their own test).
#include "entry_test_support.h"
#include "support/typed_results.h"

namespace vrellix {
namespace {

using testing::Cp932;
using testing::EngineRig;
using testing::Presses;
using State = EngineRig::State;

class KeyRecorder final : public LinkObserver {
 public:
  void OnKey(int code, KeyResult result) override { keys.push_back({code, result}); }
  void OnPause(int) override {}
  std::vector<std::pair<int, KeyResult>> keys;
};

struct Sample {
  int (EntryEngine::*routine)(const std::string&);
  const char* character;
  std::vector<int> keys;
};

std::vector<Sample> Samples() {
  return {
      {&EntryEngine::HiraganaInputProcess, "ご", Presses({{KEY_2, 5}, {KEY_0, 4}})},
      {&EntryEngine::HiraganaInputProcess, "ぽ", Presses({{KEY_6, 5}, {KEY_0, 5}})},
      {&EntryEngine::ZKatakanaInputProcess, "パ", Presses({{KEY_6, 1}, {KEY_0, 5}})},
      {&EntryEngine::HKatakanaInputProcess, "ｫ", Presses({{KEY_1, 10}})},
      {&EntryEngine::ZEiziInputProcess, "Ｃ", Presses({{KEY_1, 6}})},
      {&EntryEngine::HEiziInputProcess, "Z", Presses({{KEY_9, 4}})},
      {&EntryEngine::ZSuhziInputProcess, "９", {KEY_9}},
      {&EntryEngine::HSuhziInputProcess, "3", {KEY_3}},
  };
}

TEST(RoutineFailureTest, RefusedKeyEndsTheCharacterAndKeepsTheRecord) {
  for (const Sample& s : Samples()) {
    for (std::size_t k = 0; k < s.keys.size(); ++k) {
      SCOPED_TRACE(::testing::Message() << s.character << " fails at press " << k + 1);
      EngineRig rig;
      KeyRecorder recorder;
      rig.link.SetObserver(&recorder);
      const State before{1, 0, 1, 9, 1};
      rig.Set(before);
      rig.RefuseAfterKeys(k);
      EXPECT_EQ((rig.engine.*s.routine)(Cp932(s.character)), 0);
      ASSERT_EQ(recorder.keys.size(), k + 1);  // k acknowledged, then the refused one
      for (std::size_t i = 0; i < k; ++i) {
        EXPECT_EQ(recorder.keys[i], std::make_pair(s.keys[i], KeyResult::kAcknowledged));
      }
      EXPECT_EQ(recorder.keys[k], std::make_pair(s.keys[k], KeyResult::kFailed));
      EXPECT_EQ(rig.Snapshot(), before);
    }
  }
}

TEST(RoutineFailureTest, StopEndsTheCharacterWithoutAnotherKey) {
  for (const Sample& s : Samples()) {
    for (std::size_t k = 0; k < s.keys.size(); ++k) {
      SCOPED_TRACE(::testing::Message() << s.character << " stopped after " << k);
      EngineRig rig;
      const State before{1, 0, 1, 9, 1};
      rig.Set(before);
      rig.StopAfterPackets(k);
      EXPECT_EQ((rig.engine.*s.routine)(Cp932(s.character)), 0);
      EXPECT_EQ(rig.Keys(), std::vector<int>(s.keys.begin(), s.keys.begin() + k));
      EXPECT_EQ(rig.Snapshot(), before);
    }
  }
}

// The listed case: the third press of ご fails, after exactly three keys.
TEST(RoutineFailureTest, ThirdPressOfGoFails) {
  EngineRig rig;
  KeyRecorder recorder;
  rig.link.SetObserver(&recorder);
  rig.engine.m_bCursorOffGrid = true;
  rig.RefuseAfterKeys(2);
  EXPECT_EQ(rig.engine.HiraganaInputProcess(Cp932("ご")), 0);
  EXPECT_EQ(recorder.keys, (std::vector<std::pair<int, KeyResult>>{
                               {KEY_2, KeyResult::kAcknowledged}, {KEY_2, KeyResult::kAcknowledged}, {KEY_2, KeyResult::kFailed}}));
  EXPECT_TRUE(rig.engine.m_bCursorOffGrid);
}

}  // namespace
}  // namespace vrellix
