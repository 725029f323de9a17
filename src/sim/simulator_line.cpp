#include "sim/simulator_line.h"

#include <memory>
#include <utility>

#include "messages/messages.h"

namespace vrellix::sim {

namespace {

// A line on a device of its own: the runner owns the device.
class SimulatorLine final : public JobLine {
 public:
  explicit SimulatorLine(SimulatorRunner simulator)
      : JobLine(std::move(simulator.runner)), m_device(*simulator.device) {}

  bool Simulated() const override { return true; }
  std::optional<DeviceReport> AfterJob(const AlbumToEnter& entry, bool headers) override {
    const SimulatedRun run = JudgeSimulatedJob(m_device, entry.album, entry.checks, Runner().Result(), headers);
    return DeviceReport{SimulatorVerdict(run), m_device.Dump()};
  }
  // The user has no remote there: the simulated one does what it was told.
  void AfterStop() override { m_device.ReturnToPlaylistList(); }

 private:
  SimulatedDevice& m_device;
};

std::string FieldName(const FieldCheck& field) {
  switch (field.field) {
    case FieldId::Title: return messages::kPlaceTitle;
    case FieldId::Yomi: return messages::kPlaceYomi;
    case FieldId::Artist: return messages::kPlaceArtist;
    case FieldId::TrackName: return messages::TrackNameField(field.track + 1);
    case FieldId::TrackYomi: break;
  }
  return messages::TrackYomiField(field.track + 1);
}

}  // namespace

JobLineFactory SimulatorLines(const SimulatorOptions& options, Clock* clock) {
  return [options, clock](int commandDelayMs) -> std::unique_ptr<JobLine> {
    return std::make_unique<SimulatorLine>(MakeSimulatorRunner(options, commandDelayMs, clock));
  };
}

SimulatedRun JudgeSimulatedJob(const SimulatedDevice& device, const Album& album,
                               const std::array<bool, kTrackCount>& checks, std::optional<bool> result, bool headers) {
  // Judged from what the model recorded in its fields, not by keying again.
  const DeviceModel model = device.Model();
  SimulatedRun run;
  run.jobSucceeded = result.value_or(false);
  run.fields = CompareWithAlbum(model, album, checks);
  run.leftAsTheyWere = LeftAsTheyWere(model, album, checks, headers);
  run.modelErrors = model.Errors();
  run.packets = device.PacketsReceived();
  return run;
}

std::string SimulatorVerdict(const SimulatedRun& run) {
  if (run.HoldsAlbum()) return messages::kSimulatorMatches;
  std::string verdict;
  const auto addLine = [&verdict](const std::string& line) { verdict += (verdict.empty() ? "" : "\n") + line; };
  if (!run.jobSucceeded) addLine(messages::kSimulatorJobUnfinished);
  std::string differing;
  for (const FieldCheck& field : run.Mismatches()) {
    differing += (differing.empty() ? "" : ", ") + FieldLabel(field);
  }
  if (!differing.empty()) addLine(messages::kSimulatorDiffers + differing);
  if (!run.modelErrors.empty()) addLine(messages::kSimulatorRefusedKeys);
  if (run.leftAsTheyWere.empty()) return verdict;
  if (run.Passed()) addLine(messages::kSimulatorEnteredMatch);
  for (const FieldCheck& field : run.leftAsTheyWere) addLine(messages::LeftAsItWas(FieldName(field)));
  addLine(messages::kSimulatorEmptyNotEntered);
  return verdict;
}

}  // namespace vrellix::sim
