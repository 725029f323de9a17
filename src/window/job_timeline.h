// A job's planned course in time, for the progress window: which stretch of the
// job each status text of the worker stands for, what is being entered then,
// and when it begins.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "job/job_plan.h"

namespace vrellix {

struct PlannedStep {
  std::string status;      // the worker's status text during this stretch
  std::string item;        // what is being entered (UTF-8); may be empty
  std::int64_t startMs = 0;  // planned time from the job's start
};

struct JobTimeline {
  std::vector<PlannedStep> steps;  // in the order the job runs them
  std::int64_t totalMs = 0;
};

// The steps of the plan at the command delay; items maps status texts to what
// is entered under them.
JobTimeline MakeJobTimeline(const JobPlan& plan, int commandDelayMs, const std::map<std::string, std::string>& items);

// The time left at nowMs into the job while the worker shows status, which it
// has shown since sinceMs: the plan's remainder from that step, less the time
// spent in it (at most the step's planned length). Without a matching step,
// the total less the time so far. Never below 0.
std::int64_t RemainingMs(const JobTimeline& timeline, const std::string& status, std::int64_t sinceMs,
                         std::int64_t nowMs);

}  // namespace vrellix
