// A dry run of the entry job: the real job code against a transmitter that
// acknowledges every key at once and a clock that does not sleep.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "album/album.h"
#include "job/job_events.h"
#include "job/job_place.h"

namespace vrellix {

// Writing one 8-byte packet at 4800 baud.
constexpr int kPacketWriteMs = 17;

struct JobPlan {
  std::vector<JobEvent> events;  // in the order the job produced them
  int keys = 0;
  std::int64_t pauseMs = 0;      // every pause of the job and the engine
};

JobPlan PlanJob(const Album& album, const std::array<bool, kTrackCount>& checks,
                int commandDelayMs);
// The same for a job that may continue from a track (ContinueFrom).
JobPlan PlanJob(const AlbumToEnter& entry, int commandDelayMs);

// Expected run time: every key costs its write, the reply wait and the command
// delay, on top of the pauses and the line's settle time after the last key.
std::int64_t EstimateJobMs(int keys, std::int64_t pauseMs, int commandDelayMs);
// The same for a whole plan: EstimateJobMs(PlanJob(album, checks, delay), delay)
// is how long entering the album takes, for the question before a job.
std::int64_t EstimateJobMs(const JobPlan& plan, int commandDelayMs);

// The time left of a job that follows plan once keysDone of its keys and
// pauseDoneMs of its pauses are behind it: the estimate of the rest, at least
// the line's settle time after the last key.
std::int64_t EstimateLeftMs(const JobPlan& plan, int commandDelayMs, int keysDone, std::int64_t pauseDoneMs);

// "m:ss", rounded to the nearest second.
std::string FormatMinutesSeconds(std::int64_t ms);

// "# <K> keys, <P> ms of pauses, about <m>:<ss> at <D> ms command delay"
std::string FormatPlanSummary(const JobPlan& plan, int commandDelayMs);

}  // namespace vrellix
