// Virtual time for tests: Sleep never blocks, it records the wait and moves the clock on.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "timing/clock.h"
#include "timing/stop_event.h"

namespace vrellix::testing {

class FakeClock final : public Clock {
 public:
  struct SleepCall {
    int ms;
    bool interrupted;  // the stop event was set, so no time passed
  };

  // Read by a window's thread while the job's thread sleeps.
  std::int64_t NowMs() override { return m_now.load(); }

  bool Sleep(int ms, const StopEvent* stop) override {
    if (stop && stop->IsSet()) {
      m_sleeps.push_back({ms, true});
      return false;
    }
    m_sleeps.push_back({ms, false});
    if (ms > 0) m_now += ms;
    if (m_onSleep) m_onSleep(ms);
    return true;
  }

  void Advance(int ms) { m_now += ms; }
  const std::vector<SleepCall>& Sleeps() const { return m_sleeps; }
  void ClearSleeps() { m_sleeps.clear(); }
  // Runs after each uninterrupted sleep, e.g. to request a stop mid-job.
  void OnSleep(std::function<void(int)> hook) { m_onSleep = std::move(hook); }

 private:
  std::atomic<std::int64_t> m_now{0};
  std::vector<SleepCall> m_sleeps;
  std::function<void(int)> m_onSleep;
};

}  // namespace vrellix::testing
