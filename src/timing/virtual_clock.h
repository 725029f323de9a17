// Time that passes only on paper: every wait returns at once and moves the
// clock on, so a plan, or a job against the built-in simulator, runs at once.
#pragma once

#include <atomic>
#include <cstdint>

#include "timing/clock.h"

namespace vrellix {

class VirtualClock final : public Clock {
 public:
  std::int64_t NowMs() override { return m_now.load(); }
  bool Sleep(int ms, const StopEvent* stop) override;

 private:
  std::atomic<std::int64_t> m_now{0};
};

}  // namespace vrellix
