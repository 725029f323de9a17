// The entry job run against the simulated device: the real job, engine and
// link, a transmitter and device model in process, and a virtual clock, so a
// whole album takes no real time. Afterwards what the device holds is compared,
// field by field, with the album.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "album/album.h"
#include "job/job_place.h"
#include "job/job_runner.h"
#include "sim/device_model.h"
#include "sim/simulated_device.h"
#include "timing/clock.h"

namespace vrellix::sim {

// One field that the album sets, and what the device ended up holding in it.
struct FieldCheck {
  FieldId field = FieldId::Title;
  int track = 0;          // row 0..49 for the track fields
  std::string expected;   // code page 932, from the album
  std::string held;       // code page 932, from the device model's record
  bool Matches() const { return expected == held; }
};

// The fields that a job with this album sets, in the order the job enters
// them: title, reading and artist when not empty, then each selected track
// (ticked, with a name): its name and, when not empty, its reading. Each with
// the text the device holds.
std::vector<FieldCheck> CompareWithAlbum(const DeviceModel& device, const Album& album,
                                         const std::array<bool, kTrackCount>& checks);

// The fields that the album leaves empty, so the job does not open them, and
// in which the device still holds text from before: title, reading and artist
// (only when headers: a job that continues from a track leaves them out
// whatever the album holds), and the reading of each selected track. Unticked
// and unnamed rows are not entered at all, so they are not judged.
std::vector<FieldCheck> LeftAsTheyWere(const DeviceModel& device, const Album& album,
                                       const std::array<bool, kTrackCount>& checks, bool headers);

struct SimulatedRun {
  bool jobSucceeded = false;           // the job posted success
  std::optional<JobPlace> stoppedAt;   // where the job was when it failed
  std::vector<FieldCheck> fields;      // see CompareWithAlbum
  std::vector<FieldCheck> leftAsTheyWere;  // see LeftAsTheyWere
  std::vector<ModelError> modelErrors;
  int packets = 0;                     // packets the transmitter received
  std::int64_t deviceMs = 0;           // how long the job would take on the real line

  // The job succeeded, the device holds every field as the album has it, and
  // it never met a key it could not take.
  bool Passed() const;
  // Passed, and no field that the album leaves empty holds old text.
  bool HoldsAlbum() const { return Passed() && leftAsTheyWere.empty(); }
  std::vector<FieldCheck> Mismatches() const;
};

// A job runner on a simulated device of its own.
struct SimulatorRunner {
  std::unique_ptr<JobRunner> runner;
  SimulatedDevice* device = nullptr;  // owned by the runner
};

// A new device made with options, whose replies are timed by clock (its own
// virtual clock when nullptr; a given clock must outlive the runner), and a
// runner on it that runs jobs on that same clock.
SimulatorRunner MakeSimulatorRunner(const SimulatorOptions& options, int commandDelayMs, Clock* clock = nullptr);

// Runs the entry job for the album on this thread, against device, on the
// device's reply clock (its own virtual clock unless it was given one) with
// the given command delay, and compares the result. headers: as for
// LeftAsTheyWere (false for a job that continues from a track).
SimulatedRun RunJobOnDevice(SimulatedDevice& device, const Album& album,
                            const std::array<bool, kTrackCount>& checks, int commandDelayMs, bool headers = true);

// The same on a new device made with options (MakeSimulatorRunner).
SimulatedRun RunSimulatedJob(const Album& album, const std::array<bool, kTrackCount>& checks,
                             const SimulatorOptions& options, int commandDelayMs, bool headers = true);

// "title", "yomi", "artist", "track <n> name", "track <n> yomi" (n from 1).
std::string FieldLabel(const FieldCheck& field);

// What the device holds for each field the album sets, one "<label> <text>"
// line each, then one "error <key index> <state>: <message>" line per model
// error. Texts in UTF-8; bytes that do not decode are written as \xNN.
std::string FormatHeldFields(const SimulatedRun& run);

// One "<label> differs: expected <text>, held <text>" line per field that does
// not match, texts in UTF-8 as above.
std::string FormatMismatches(const SimulatedRun& run);

// One "<label> is empty in the album, so not entered: the device still holds
// <text>" line per field left as it was.
std::string FormatLeftAsTheyWere(const SimulatedRun& run);

}  // namespace vrellix::sim
