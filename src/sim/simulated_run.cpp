#include "sim/simulated_run.h"

#include <algorithm>
#include <utility>

#include "job/job_plan.h"
#include "job/job_reporter.h"
#include "text/text_codec.h"

namespace vrellix::sim {
namespace {

// The simulated run wants the outcome alone, which the runner keeps.
class NoReports final : public JobReporter {
 public:
  void SetRange(int) override {}
  void SetPosition(int) override {}
  void SetStatus(const std::string&) override {}
  bool PostResult(bool) override { return true; }
  void ShowWarning(const std::string&) override {}
};

void AddField(std::vector<FieldCheck>& fields, const DeviceModel& device, FieldId id, int track,
              const std::string& expected) {
  FieldCheck field;
  field.field = id;
  field.track = track;
  field.expected = expected;
  field.held = device.Text(id, track);
  fields.push_back(std::move(field));
}

// Runs the job on runner, whose channel is device, and compares.
SimulatedRun RunAndCompare(JobRunner& runner, SimulatedDevice& device, const Album& album,
                           const std::array<bool, kTrackCount>& checks, bool headers) {
  Clock& clock = device.ReplyClock();
  const std::int64_t started = clock.NowMs();
  runner.SetAlbum(album, checks);
  NoReports reporter;
  SimulatedRun run;
  run.jobSucceeded = runner.RunToEnd(reporter).value_or(false);
  run.stoppedAt = runner.StoppedAt();
  const DeviceModel model = device.Model();
  run.fields = CompareWithAlbum(model, album, checks);
  run.leftAsTheyWere = LeftAsTheyWere(model, album, checks, headers);
  run.modelErrors = model.Errors();
  run.packets = device.PacketsReceived();
  run.deviceMs = clock.NowMs() - started + static_cast<std::int64_t>(run.packets) * kPacketWriteMs;
  return run;
}

}  // namespace

std::vector<FieldCheck> CompareWithAlbum(const DeviceModel& device, const Album& album,
                                         const std::array<bool, kTrackCount>& checks) {
  std::vector<FieldCheck> fields;
  if (!album.Title.empty()) AddField(fields, device, FieldId::Title, 0, album.Title);
  if (!album.Yomi.empty()) AddField(fields, device, FieldId::Yomi, 0, album.Yomi);
  if (!album.Artist.empty()) AddField(fields, device, FieldId::Artist, 0, album.Artist);
  for (int row = 0; row < kTrackCount; ++row) {
    const AlbumTrack& track = album.Tracks[static_cast<std::size_t>(row)];
    // The job's rule for a selected track: ticked and named.
    if (!checks[static_cast<std::size_t>(row)] || track.Name.empty()) continue;
    AddField(fields, device, FieldId::TrackName, row, track.Name);
    if (!track.Yomi.empty()) AddField(fields, device, FieldId::TrackYomi, row, track.Yomi);
  }
  return fields;
}

std::vector<FieldCheck> LeftAsTheyWere(const DeviceModel& device, const Album& album,
                                       const std::array<bool, kTrackCount>& checks, bool headers) {
  std::vector<FieldCheck> fields;
  if (headers) {
    if (album.Title.empty()) AddField(fields, device, FieldId::Title, 0, "");
    if (album.Yomi.empty()) AddField(fields, device, FieldId::Yomi, 0, "");
    if (album.Artist.empty()) AddField(fields, device, FieldId::Artist, 0, "");
  }
  for (int row = 0; row < kTrackCount; ++row) {
    const AlbumTrack& track = album.Tracks[static_cast<std::size_t>(row)];
    if (checks[static_cast<std::size_t>(row)] && !track.Name.empty() && track.Yomi.empty())
      AddField(fields, device, FieldId::TrackYomi, row, "");
  }
  // Only those the device holds something in.
  fields.erase(std::remove_if(fields.begin(), fields.end(), [](const FieldCheck& field) { return field.Matches(); }),
               fields.end());
  return fields;
}

bool SimulatedRun::Passed() const { return jobSucceeded && modelErrors.empty() && Mismatches().empty(); }

std::vector<FieldCheck> SimulatedRun::Mismatches() const {
  std::vector<FieldCheck> differing;
  for (const FieldCheck& field : fields) {
    if (!field.Matches()) differing.push_back(field);
  }
  return differing;
}

SimulatorRunner MakeSimulatorRunner(const SimulatorOptions& options, int commandDelayMs, Clock* clock) {
  auto device = std::make_unique<SimulatedDevice>(options, clock);
  SimulatedDevice* simulator = device.get();
  // The job runs on the clock that times the device's replies.
  Clock& replyClock = simulator->ReplyClock();
  return {std::make_unique<JobRunner>(std::move(device), replyClock, commandDelayMs), simulator};
}

SimulatedRun RunJobOnDevice(SimulatedDevice& device, const Album& album,
                            const std::array<bool, kTrackCount>& checks, int commandDelayMs, bool headers) {
  JobRunner runner(device, device.ReplyClock(), commandDelayMs);
  return RunAndCompare(runner, device, album, checks, headers);
}

SimulatedRun RunSimulatedJob(const Album& album, const std::array<bool, kTrackCount>& checks,
                             const SimulatorOptions& options, int commandDelayMs, bool headers) {
  const SimulatorRunner simulator = MakeSimulatorRunner(options, commandDelayMs);
  return RunAndCompare(*simulator.runner, *simulator.device, album, checks, headers);
}

std::string FieldLabel(const FieldCheck& field) {
  const std::string track = "track " + std::to_string(field.track + 1);
  switch (field.field) {
    case FieldId::Title: return "title";
    case FieldId::Yomi: return "yomi";
    case FieldId::Artist: return "artist";
    case FieldId::TrackName: return track + " name";
    case FieldId::TrackYomi: return track + " yomi";
  }
  return "?";
}

std::string FormatHeldFields(const SimulatedRun& run) {
  std::string out;
  for (const FieldCheck& field : run.fields) out += FieldLabel(field) + " " + Cp932ToUtf8OrHex(field.held) + "\n";
  for (const ModelError& error : run.modelErrors) {
    out += "error " + std::to_string(error.keyIndex) + " " + error.state + ": " + error.message + "\n";
  }
  return out;
}

std::string FormatLeftAsTheyWere(const SimulatedRun& run) {
  std::string out;
  for (const FieldCheck& field : run.leftAsTheyWere) {
    out += FieldLabel(field) + " is empty in the album, so not entered: the device still holds " +
           Cp932ToUtf8OrHex(field.held) + "\n";
  }
  return out;
}

std::string FormatMismatches(const SimulatedRun& run) {
  std::string out;
  for (const FieldCheck& field : run.Mismatches()) {
    out += FieldLabel(field) + " differs: expected " + Cp932ToUtf8OrHex(field.expected) + ", held " +
           Cp932ToUtf8OrHex(field.held) + "\n";
  }
  return out;
}

}  // namespace vrellix::sim
