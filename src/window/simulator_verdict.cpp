#include "window/simulator_verdict.h"

#include "messages/messages.h"

namespace vrellix {

namespace {

std::string FieldName(const sim::FieldCheck& field) {
  switch (field.field) {
    case sim::FieldId::Title: return messages::kPlaceTitle;
    case sim::FieldId::Yomi: return messages::kPlaceYomi;
    case sim::FieldId::Artist: return messages::kPlaceArtist;
    case sim::FieldId::TrackName: return messages::TrackNameField(field.track + 1);
    case sim::FieldId::TrackYomi: break;
  }
  return messages::TrackYomiField(field.track + 1);
}

}  // namespace

sim::SimulatedRun JudgeSimulatedJob(const sim::SimulatedDevice& device, const Album& album,
                                    const std::array<bool, kTrackCount>& checks, std::optional<bool> result,
                                    bool headers) {
  // Judged from what the model recorded in its fields, not by keying again.
  const sim::DeviceModel model = device.Model();
  sim::SimulatedRun run;
  run.jobSucceeded = result.value_or(false);
  run.fields = sim::CompareWithAlbum(model, album, checks);
  run.leftAsTheyWere = sim::LeftAsTheyWere(model, album, checks, headers);
  run.modelErrors = model.Errors();
  run.packets = device.PacketsReceived();
  return run;
}

std::string SimulatorVerdict(const sim::SimulatedRun& run) {
  if (run.HoldsAlbum()) return messages::kSimulatorMatches;
  std::string verdict;
  const auto addLine = [&verdict](const std::string& line) { verdict += (verdict.empty() ? "" : "\n") + line; };
  if (!run.jobSucceeded) addLine(messages::kSimulatorJobUnfinished);
  std::string differing;
  for (const sim::FieldCheck& field : run.Mismatches()) {
    differing += (differing.empty() ? "" : ", ") + sim::FieldLabel(field);
  }
  if (!differing.empty()) addLine(messages::kSimulatorDiffers + differing);
  if (!run.modelErrors.empty()) addLine(messages::kSimulatorRefusedKeys);
  if (run.leftAsTheyWere.empty()) return verdict;
  if (run.Passed()) addLine(messages::kSimulatorEnteredMatch);
  for (const sim::FieldCheck& field : run.leftAsTheyWere) addLine(messages::LeftAsItWas(FieldName(field)));
  addLine(messages::kSimulatorEmptyNotEntered);
  return verdict;
}

}  // namespace vrellix
