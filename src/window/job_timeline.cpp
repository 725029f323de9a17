#include "window/job_timeline.h"

namespace vrellix {

JobTimeline MakeJobTimeline(const JobPlan& plan, const std::map<std::string, std::string>& items) {
  JobTimeline timeline;
  for (const JobEvent& event : plan.events) {
    if (event.kind != JobEvent::Kind::kStatus) continue;
    const auto item = items.find(event.text);
    timeline.steps.push_back({event.text, item == items.end() ? std::string() : item->second});
  }
  return timeline;
}

}  // namespace vrellix
