// A job's planned course, for the progress window: which stretch of the job
// each status text of the worker stands for, and what is being entered then.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "job/job_plan.h"

namespace vrellix {

struct PlannedStep {
  std::string status;  // the worker's status text during this stretch
  std::string item;    // what is being entered (UTF-8); may be empty
};

struct JobTimeline {
  std::vector<PlannedStep> steps;  // in the order the job runs them
};

// The steps of the plan; items maps status texts to what is entered under them.
JobTimeline MakeJobTimeline(const JobPlan& plan, const std::map<std::string, std::string>& items);

}  // namespace vrellix
