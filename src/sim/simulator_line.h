// The built-in simulator as what the window's jobs run on, and what the window
// says after a job on it: whether the simulated device holds the album.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "album/album.h"
#include "job/job_line.h"
#include "sim/simulated_device.h"
#include "sim/simulated_run.h"
#include "timing/clock.h"

namespace vrellix::sim {

// Lines on a new simulated device each, made with options, whose replies are
// timed by clock (the device's own virtual clock when nullptr; a given clock
// must outlive the lines). After a job a line reports the verdict and what the
// device holds; after a stop the device goes back to the playlist list.
JobLineFactory SimulatorLines(const SimulatorOptions& options = {}, Clock* clock = nullptr);

// The job's outcome against device (result: nothing when it was stopped), the
// album and the check marks it ran with; headers: false for a job that
// continued from a track (LeftAsTheyWere).
SimulatedRun JudgeSimulatedJob(const SimulatedDevice& device, const Album& album,
                               const std::array<bool, kTrackCount>& checks, std::optional<bool> result, bool headers);

// UTF-8. The album's text only when the device holds the album (the job
// succeeded, every field holds the album's text, no key was refused, and no
// field the album leaves empty holds old text); otherwise one line for each of
// these that went wrong, naming each field left as it was.
std::string SimulatorVerdict(const SimulatedRun& run);

}  // namespace vrellix::sim
