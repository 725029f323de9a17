#include "window/simulator_verdict.h"

#include "messages/messages.h"

namespace vrellix {

sim::SimulatedRun JudgeSimulatedJob(const sim::SimulatedDevice& device, const Album& album,
                                    const std::array<bool, kTrackCount>& checks, std::optional<bool> result) {
  // Judged from what the model recorded in its fields, not by keying again.
  const sim::DeviceModel model = device.Model();
  sim::SimulatedRun run;
  run.jobSucceeded = result.value_or(false);
  run.fields = sim::CompareWithAlbum(model, album, checks);
  run.modelErrors = model.Errors();
  run.packets = device.PacketsReceived();
  return run;
}

std::string SimulatorVerdict(const sim::SimulatedRun& run) {
  if (run.Passed()) return messages::kSimulatorMatches;
  std::string verdict;
  const auto addLine = [&verdict](const std::string& line) { verdict += (verdict.empty() ? "" : "\n") + line; };
  if (!run.jobSucceeded) addLine(messages::kSimulatorJobUnfinished);
  std::string differing;
  for (const sim::FieldCheck& field : run.Mismatches()) {
    differing += (differing.empty() ? "" : ", ") + sim::FieldLabel(field);
  }
  if (!differing.empty()) addLine(messages::kSimulatorDiffers + differing);
  if (!run.modelErrors.empty()) addLine(messages::kSimulatorRefusedKeys);
  return verdict;
}

}  // namespace vrellix
