// The progress window's planned course, built from a real plan.
#include "window/job_timeline.h"

#include <gtest/gtest.h>

#include "messages/messages.h"
#include "support/planned_jobs.h"

namespace vrellix {
namespace {

using testing::PlanOf;

// For albums with and without header texts: one step per status text, in the
// job's order, each with what is entered under it.
TEST(JobTimeline, StepsFollowThePlan) {
  for (const auto& [tracks, header] : {std::pair{0, true}, {1, false}, {3, true}, {50, true}}) {
    SCOPED_TRACE(std::to_string(tracks) + (header ? " with header" : " tracks only"));
    const JobPlan plan = PlanOf(tracks, header);
    const std::map<std::string, std::string> items{{messages::TrackStatus(1, tracks), "first"}};
    const JobTimeline timeline = MakeJobTimeline(plan, items);
    std::size_t statuses = 0;
    for (const JobEvent& event : plan.events) statuses += event.kind == JobEvent::Kind::kStatus;
    ASSERT_EQ(timeline.steps.size(), statuses);
    if (tracks > 0) {
      EXPECT_EQ(timeline.steps.back().status, messages::TrackStatus(tracks, tracks));
      EXPECT_EQ(timeline.steps[header ? 4 : 1].item, "first");
    }
  }
}

}  // namespace
}  // namespace vrellix
