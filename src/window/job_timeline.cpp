#include "window/job_timeline.h"

#include <algorithm>

namespace vrellix {

JobTimeline MakeJobTimeline(const JobPlan& plan, int commandDelayMs, const std::map<std::string, std::string>& items) {
  JobTimeline timeline;
  timeline.totalMs = EstimateJobMs(plan, commandDelayMs);
  int keys = 0;
  std::int64_t pauseMs = 0;
  for (const JobEvent& event : plan.events) {
    if (event.kind == JobEvent::Kind::kKey) ++keys;
    if (event.kind == JobEvent::Kind::kPause) pauseMs += event.value;
    if (event.kind != JobEvent::Kind::kStatus) continue;
    const auto item = items.find(event.text);
    // A step begins where the time left of the whole job has fallen to the estimate of what follows it.
    timeline.steps.push_back({event.text, item == items.end() ? std::string() : item->second,
                              timeline.totalMs - EstimateLeftMs(plan, commandDelayMs, keys, pauseMs)});
  }
  return timeline;
}

std::int64_t RemainingMs(const JobTimeline& timeline, const std::string& status, std::int64_t sinceMs,
                         std::int64_t nowMs) {
  const auto& steps = timeline.steps;
  const auto step = std::find_if(steps.begin(), steps.end(), [&](const PlannedStep& s) { return s.status == status; });
  if (step == steps.end()) return std::max<std::int64_t>(0, timeline.totalMs - nowMs);
  const std::int64_t end = step + 1 == steps.end() ? timeline.totalMs : (step + 1)->startMs;
  const std::int64_t spent = std::clamp<std::int64_t>(nowMs - sinceMs, 0, std::max<std::int64_t>(0, end - step->startMs));
  return std::max<std::int64_t>(0, timeline.totalMs - step->startMs - spent);
}

}  // namespace vrellix
