#include "job/job_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <system_error>

#include "job/job_events.h"
#include "job/job_plan.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"

namespace vrellix {
namespace {

using testing::FakeClock;
using testing::FakeTransmitter;
using Reply = FakeTransmitter::Reply;
using namespace std::chrono_literals;

// A short album is enough: the job's steps have tests of their own.
Album OneDigitTitle() {
  Album album;
  album.Title = "1";
  return album;
}

struct RunnerRig {
  RunnerRig() {
    runner.SetAlbum(OneDigitTitle(), {});
    runner.SetObserver(&log);
  }
  int Keys() const { return static_cast<int>(tx.Packets().size()); }
  bool Posted() const { return !log.Events().empty() && log.Events().back().kind == JobEvent::Kind::kResult; }

  FakeTransmitter tx;
  FakeClock clock;
  JobEventLog log;
  JobRunner runner{tx, clock, 0};
};

// On the calling thread the posted result ends the job, whatever it is; the
// line is purged first, and the stop event is left reset.
TEST(JobRunner, RunToEndGivesTheResultAndLeavesTheRunnerIdle) {
  for (const Reply reply : {Reply::Ack, Reply::Nak}) {
    const bool acknowledged = reply == Reply::Ack;
    SCOPED_TRACE(acknowledged ? "every key acknowledged" : "every key refused");
    RunnerRig rig;
    rig.tx.SetDefault(reply);
    rig.tx.InjectByte(ACK);  // left from before: would put the line out of step
    EXPECT_EQ(rig.runner.RunToEnd(rig.log), std::optional<bool>(acknowledged));
    EXPECT_EQ(rig.tx.Purges(), 1);
    EXPECT_EQ(rig.log.Events().back(), (JobEvent{JobEvent::Kind::kResult, acknowledged ? 1 : 0, {}}));
    EXPECT_EQ(rig.runner.Result(), std::optional<bool>(acknowledged));
    EXPECT_TRUE(rig.runner.IsIdle());
    EXPECT_FALSE(rig.runner.StopSignal().IsSet());
  }
}

TEST(JobRunner, RunToEndAfterAStopRequestSendsNothing) {
  RunnerRig rig;
  rig.runner.StopSignal().Set();
  EXPECT_EQ(rig.runner.RunToEnd(rig.log), std::nullopt);
  EXPECT_EQ(rig.Keys(), 0);
  EXPECT_FALSE(rig.Posted());
  EXPECT_FALSE(rig.runner.StopSignal().IsSet());
}

// The worker posts its result and waits; Stop() ends it. The result stays
// readable afterwards and the next job starts afresh.
TEST(JobRunner, StartedJobWaitsForItsStopAfterTheResult) {
  RunnerRig rig;
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    ASSERT_TRUE(rig.runner.Start(rig.log));
    EXPECT_EQ(rig.runner.WaitForResult(10s), std::optional<bool>(true));
    EXPECT_FALSE(rig.runner.IsIdle());
    EXPECT_FALSE(rig.runner.Start(rig.log));  // still waiting: no second worker
    EXPECT_EQ(rig.tx.Purges(), run + 1);      // and the refused start touched nothing
    rig.runner.Stop();
    EXPECT_TRUE(rig.runner.IsIdle());
    EXPECT_EQ(rig.runner.Result(), std::optional<bool>(true));
    EXPECT_FALSE(rig.runner.StopSignal().IsSet());
  }
  EXPECT_EQ(rig.Keys(), 2 * PlanJob(OneDigitTitle(), {}, 0).keys);
}

TEST(JobRunner, StopRequestedBeforeTheJobPostsNoResult) {
  RunnerRig rig;
  rig.runner.StopSignal().Set();
  ASSERT_TRUE(rig.runner.Start(rig.log));
  EXPECT_EQ(rig.runner.WaitForResult(20ms), std::nullopt);
  rig.runner.Stop();
  EXPECT_TRUE(rig.runner.IsIdle());
  EXPECT_EQ(rig.runner.Result(), std::nullopt);
  EXPECT_EQ(rig.Keys(), 0);
  EXPECT_FALSE(rig.Posted());
}

TEST(JobRunner, StopWithoutAJobLeavesItIdle) {
  RunnerRig rig;
  rig.runner.Stop();
  EXPECT_TRUE(rig.runner.IsIdle());
  EXPECT_FALSE(rig.runner.StopSignal().IsSet());
  EXPECT_TRUE(rig.log.Events().empty());
}

TEST(JobRunner, WorkerThatCannotBeCreatedLeavesItIdle) {
  RunnerRig rig;
  rig.runner.SetThreadFactory([](std::function<void()>) -> std::thread {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  EXPECT_FALSE(rig.runner.Start(rig.log));
  EXPECT_TRUE(rig.runner.IsIdle());
  EXPECT_EQ(rig.Keys(), 0);
  EXPECT_TRUE(rig.log.Events().empty());
}

// A front end that goes away without Stop() does not leave a worker behind.
TEST(JobRunner, GoingAwayStopsAWaitingWorker) {
  FakeTransmitter tx;
  FakeClock clock;
  JobEventLog log;
  {
    JobRunner runner(tx, clock, 0);
    ASSERT_TRUE(runner.Start(log));
    ASSERT_EQ(runner.WaitForResult(10s), std::optional<bool>(true));
  }
  EXPECT_EQ(log.Events().back(), (JobEvent{JobEvent::Kind::kResult, 1, {}}));
}

}  // namespace
}  // namespace vrellix
