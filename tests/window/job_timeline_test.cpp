// The progress window's planned course: built from a real plan, and the time
// left as a job walks through it.
#include "window/job_timeline.h"

#include <gtest/gtest.h>

#include "keys/key_link.h"
#include "messages/messages.h"

namespace vrellix {
namespace {

JobPlan PlanOf(int tracks, bool header) {
  Album album;
  std::array<bool, kTrackCount> checks{};
  if (header) album.Title = "T";
  for (int t = 0; t < tracks; ++t) {
    album.Tracks[static_cast<std::size_t>(t)].Name = "ABC";
    checks[static_cast<std::size_t>(t)] = true;
  }
  return PlanJob(album, checks, 50);
}

// For albums with and without header texts: one step per status text, in the
// job's order, starting at 0 and never going back; the time left falls as the
// job walks through the steps and is 0 at the end.
TEST(JobTimeline, StepsFollowThePlanAndTheTimeLeftOnlyFalls) {
  for (const auto& [tracks, header] : {std::pair{0, true}, {1, false}, {3, true}, {50, true}}) {
    SCOPED_TRACE(std::to_string(tracks) + (header ? " with header" : " tracks only"));
    const JobPlan plan = PlanOf(tracks, header);
    const std::map<std::string, std::string> items{{messages::TrackStatus(1, tracks), "first"}};
    const JobTimeline timeline = MakeJobTimeline(plan, 50, items);
    EXPECT_EQ(timeline.totalMs, EstimateJobMs(plan.keys, plan.pauseMs, 50));
    std::size_t statuses = 0;
    for (const JobEvent& event : plan.events) statuses += event.kind == JobEvent::Kind::kStatus;
    ASSERT_EQ(timeline.steps.size(), statuses);
    EXPECT_EQ(timeline.steps.front().startMs, 0);
    if (tracks > 0) {
      EXPECT_EQ(timeline.steps.back().status, messages::TrackStatus(tracks, tracks));
      EXPECT_EQ(timeline.steps[header ? 4 : 1].item, "first");
    }

    std::int64_t last = timeline.totalMs + 1;
    for (std::size_t i = 0; i < timeline.steps.size(); ++i) {
      const PlannedStep& step = timeline.steps[i];
      if (i > 0) {
        EXPECT_GE(step.startMs, timeline.steps[i - 1].startMs);
      }
      // Through the step on the plan's time, then late by a minute.
      for (const std::int64_t into : {std::int64_t{0}, std::int64_t{700}, std::int64_t{60000}}) {
        const std::int64_t left = RemainingMs(timeline, step.status, step.startMs, step.startMs + into);
        EXPECT_LE(left, last);
        EXPECT_GE(left, 0);
        last = left;
      }
    }
    EXPECT_LE(RemainingMs(timeline, timeline.steps.back().status, 0, 10 * timeline.totalMs), kLineSettleMs);
    // Before any step, the total less the time so far.
    EXPECT_EQ(RemainingMs(timeline, "処理内容", 0, 1000), timeline.totalMs - 1000);
    EXPECT_EQ(RemainingMs(timeline, "処理内容", 0, timeline.totalMs + 1), 0);
  }
}

}  // namespace
}  // namespace vrellix
