// What the window says after a job on the built-in simulator: whether the
// simulated device holds the album.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "album/album.h"
#include "sim/simulated_device.h"
#include "sim/simulated_run.h"

namespace vrellix {

// The job's outcome against device (result: nothing when it was stopped), the
// album and the check marks it ran with; headers: false for a job that
// continued from a track (sim::LeftAsTheyWere).
sim::SimulatedRun JudgeSimulatedJob(const sim::SimulatedDevice& device, const Album& album,
                                    const std::array<bool, kTrackCount>& checks, std::optional<bool> result,
                                    bool headers);

// UTF-8. The album's text only when the device holds the album (the job
// succeeded, every field holds the album's text, no key was refused, and no
// field the album leaves empty holds old text); otherwise one line for each of
// these that went wrong, naming each field left as it was.
std::string SimulatorVerdict(const sim::SimulatedRun& run);

}  // namespace vrellix
