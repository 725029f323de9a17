#include "sim/simulator_line.h"

#include <gtest/gtest.h>

#include "messages/messages.h"
#include "sim/device_model.h"

namespace vrellix {
namespace {

using sim::FieldCheck;
using sim::FieldId;
using sim::SimulatorVerdict;

const FieldCheck kTitleHeld{FieldId::Title, 0, "T", "T"};
const FieldCheck kTrack3Differs{FieldId::TrackName, 2, "c", "OLD"};
const FieldCheck kYomiDiffers{FieldId::Yomi, 0, "\x82\xa0", "OLD"};

sim::SimulatedRun Outcome(bool succeeded, std::vector<FieldCheck> fields, bool refusedKey = false) {
  sim::SimulatedRun run;
  run.jobSucceeded = succeeded;
  run.fields = std::move(fields);
  if (refusedKey) run.modelErrors.push_back(sim::ModelError{});
  return run;
}

// One rule: the device holds the album only when the job succeeded, every
// field holds its text and no key was refused (and no field the album leaves
// empty holds old text: tests/window/titler_logic_test.cpp); each fault gets
// its own line.
TEST(SimulatorVerdict, SaysTheAlbumIsHeldOnlyWhenTheRunPassed) {
  const std::string unfinished = messages::kSimulatorJobUnfinished;
  const std::string differs = messages::kSimulatorDiffers;
  const std::string refused = messages::kSimulatorRefusedKeys;
  const struct {
    const char* what;
    sim::SimulatedRun run;
    std::string verdict;
  } cases[] = {
      {"passed", Outcome(true, {kTitleHeld}), messages::kSimulatorMatches},
      {"failed job, fields equal", Outcome(false, {kTitleHeld}), unfinished},
      {"stopped before any field", Outcome(false, {kTrack3Differs}), unfinished + "\n" + differs + "track 3 name"},
      {"two fields differ", Outcome(true, {kYomiDiffers, kTitleHeld, kTrack3Differs}), differs + "yomi, track 3 name"},
      {"a key refused", Outcome(true, {kTitleHeld}, true), refused},
      {"all three", Outcome(false, {kYomiDiffers}, true), unfinished + "\n" + differs + "yomi\n" + refused},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SimulatorVerdict(c.run), c.verdict) << c.what;
    EXPECT_EQ(c.run.HoldsAlbum(), c.verdict == messages::kSimulatorMatches) << c.what;
  }
}

}  // namespace
}  // namespace vrellix
