#include "sim/simulated_run.h"

#include <optional>

#include "entry/entry_engine.h"
#include "job/entry_job.h"
#include "job/job_plan.h"
#include "job/job_reporter.h"
#include "link/key_link.h"
#include "link/stop_event.h"
#include "text/text_codec.h"

namespace vrellix::sim {
namespace {

// Keeps only the job's outcome. Posting it also sets the stop event, which is
// what ends the job's wait for the window when it runs on the caller's thread.
class ResultReporter final : public JobReporter {
 public:
  explicit ResultReporter(StopEvent& stop) : m_stop(stop) {}
  void SetRange(int) override {}
  void SetPosition(int) override {}
  void SetStatus(const std::string&) override {}
  bool PostResult(bool success) override {
    m_result = success;
    m_stop.Set();
    return true;
  }
  void ShowWarning(const std::string&) override {}
  std::optional<bool> Result() const { return m_result; }

 private:
  StopEvent& m_stop;
  std::optional<bool> m_result;
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

bool SimulatedRun::Passed() const { return jobSucceeded && modelErrors.empty() && Mismatches().empty(); }

std::vector<FieldCheck> SimulatedRun::Mismatches() const {
  std::vector<FieldCheck> differing;
  for (const FieldCheck& field : fields) {
    if (!field.Matches()) differing.push_back(field);
  }
  return differing;
}

SimulatedRun RunJobOnDevice(SimulatedDevice& device, const Album& album,
                            const std::array<bool, kTrackCount>& checks, int commandDelayMs) {
  // The job runs on the clock that times the device's replies.
  Clock& clock = device.ReplyClock();
  const std::int64_t started = clock.NowMs();
  StopEvent stop;
  KeyLink link(device, clock, stop, commandDelayMs);
  EntryEngine engine(link);
  ResultReporter reporter(stop);
  EntryJob job(engine, reporter);
  job.SetAlbum(album, checks);
  // As the window does before a job: nothing left from before belongs to it.
  device.PurgeInput();
  job.InputThreadProc();

  SimulatedRun run;
  run.jobSucceeded = reporter.Result().value_or(false);
  const DeviceModel model = device.Model();
  run.fields = CompareWithAlbum(model, album, checks);
  run.modelErrors = model.Errors();
  run.packets = device.PacketsReceived();
  run.deviceMs = clock.NowMs() - started + static_cast<std::int64_t>(run.packets) * kPacketWriteMs;
  return run;
}

SimulatedRun RunSimulatedJob(const Album& album, const std::array<bool, kTrackCount>& checks,
                             const SimulatorOptions& options, int commandDelayMs) {
  SimulatedDevice device(options);
  return RunJobOnDevice(device, album, checks, commandDelayMs);
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

std::string FormatMismatches(const SimulatedRun& run) {
  std::string out;
  for (const FieldCheck& field : run.Mismatches()) {
    out += FieldLabel(field) + " differs: expected " + Cp932ToUtf8OrHex(field.expected) + ", held " +
           Cp932ToUtf8OrHex(field.held) + "\n";
  }
  return out;
}

}  // namespace vrellix::sim
