// A job measured against its plan: replayed on a virtual clock at the pace the
// estimate assumes, the time elapsed and the time left always add up to the
// estimate the question gave, and neither the bar nor the time left goes back.
#include "job/job_progress.h"

#include <gtest/gtest.h>

#include "support/planned_jobs.h"
#include "timing/virtual_clock.h"

namespace vrellix {
namespace {

using testing::PlanOf;

TEST(JobProgress, OnPlanElapsedAndLeftAddUpToTheEstimate) {
  for (const auto& [tracks, header] : {std::pair{0, true}, {1, false}, {3, true}, {50, true}}) {
    for (const int delay : {0, 50, 400}) {
      SCOPED_TRACE(std::to_string(tracks) + (header ? " with header, delay " : " tracks, delay ") +
                   std::to_string(delay));
      const JobPlan plan = PlanOf(tracks, header);
      const std::int64_t estimate = EstimateJobMs(plan, delay);
      VirtualClock clock;
      clock.Sleep(12345, nullptr);  // the job does not begin at the clock's 0
      JobProgress progress(plan, delay, clock);
      std::int64_t lastLeft = estimate;
      int lastKeys = 0;
      const auto check = [&] {
        EXPECT_EQ(progress.ElapsedMs() + progress.LeftMs(), estimate);
        EXPECT_LE(progress.LeftMs(), lastLeft);
        EXPECT_GE(progress.KeysSent(), lastKeys);
        lastLeft = progress.LeftMs();
        lastKeys = progress.KeysSent();
      };
      check();
      for (const JobEvent& event : plan.events) {
        if (event.kind == JobEvent::Kind::kKey) {
          clock.Sleep(kPacketWriteMs + kReplyWaitMs + delay, nullptr);
          progress.OnKey(event.value, KeyResult::kAcknowledged);
        } else if (event.kind == JobEvent::Kind::kPause) {
          progress.OnPause(event.value);
          clock.Sleep(event.value / 2, nullptr);  // half way through it
          check();
          clock.Sleep(event.value - event.value / 2, nullptr);
        }
        check();
      }
      EXPECT_EQ(progress.KeysSent(), progress.KeysPlanned());
      EXPECT_EQ(progress.LeftMs(), kLineSettleMs);
      // A key sent again past the plan: the bar stays full, nothing less than nothing is left.
      progress.OnKey(0, KeyResult::kAcknowledged);
      EXPECT_EQ(progress.KeysSent(), progress.KeysPlanned());
      EXPECT_EQ(progress.LeftMs(), kLineSettleMs);
    }
  }
}

}  // namespace
}  // namespace vrellix
