#include "job/job_plan.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "job/job_runner.h"
#include "keys/keys.h"
#include "timing/virtual_clock.h"

namespace vrellix {

namespace {

class AlwaysAckChannel final : public ByteChannel {
 public:
  CommResult Write(const std::uint8_t*, std::size_t) override { return CommResult::kOk; }
  CommResult Read(std::uint8_t* buffer, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) buffer[i] = ACK;
    return CommResult::kOk;
  }
  void PurgeInput() override {}
  CommResult TakeWaiting(std::uint8_t*, std::size_t, std::size_t* taken) override {
    *taken = 0;
    return CommResult::kOk;
  }
};

}  // namespace

JobPlan PlanJob(const Album& album, const std::array<bool, kTrackCount>& checks,
                int commandDelayMs) {
  return PlanJob(AlbumToEnter{album, checks}, commandDelayMs);
}

JobPlan PlanJob(const AlbumToEnter& entry, int commandDelayMs) {
  JobRunner runner(std::make_unique<AlwaysAckChannel>(), std::make_unique<VirtualClock>(), commandDelayMs);
  JobEventLog log;
  runner.SetObserver(&log);
  runner.SetAlbum(entry);
  runner.RunToEnd(log);

  JobPlan plan;
  plan.events = log.Events();
  for (const JobEvent& event : plan.events) {
    if (event.kind == JobEvent::Kind::kKey) ++plan.keys;
    if (event.kind == JobEvent::Kind::kPause) plan.pauseMs += event.value;
  }
  return plan;
}

std::int64_t EstimateJobMs(int keys, std::int64_t pauseMs, int commandDelayMs) {
  // In 64 bits throughout: the settings file may hold a delay up to INT_MAX.
  const std::int64_t perKeyMs = std::int64_t{kPacketWriteMs} + kReplyWaitMs + commandDelayMs;
  return static_cast<std::int64_t>(keys) * perKeyMs + pauseMs + kLineSettleMs;
}

std::int64_t EstimateJobMs(const JobPlan& plan, int commandDelayMs) {
  return EstimateJobMs(plan.keys, plan.pauseMs, commandDelayMs);
}

std::int64_t EstimateLeftMs(const JobPlan& plan, int commandDelayMs, int keysDone, std::int64_t pauseDoneMs) {
  // A job behind its plan (a retried key) has no less than nothing left.
  return EstimateJobMs(std::max(0, plan.keys - keysDone), std::max<std::int64_t>(0, plan.pauseMs - pauseDoneMs),
                       commandDelayMs);
}

std::string FormatMinutesSeconds(std::int64_t ms) {
  if (ms < 0) ms = 0;
  const std::int64_t seconds = (ms + 500) / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

std::string FormatPlanSummary(const JobPlan& plan, int commandDelayMs) {
  return "# " + std::to_string(plan.keys) + " keys, " + std::to_string(plan.pauseMs) +
         " ms of pauses, about " +
         FormatMinutesSeconds(EstimateJobMs(plan, commandDelayMs)) + " at " +
         std::to_string(commandDelayMs) + " ms command delay";
}

}  // namespace vrellix
