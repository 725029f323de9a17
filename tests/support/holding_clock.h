// A virtual clock whose stoppable waits do not pass while it is held: a job's
// worker stays in its first pause (or the first one at which the hold
// condition is true) until Release() or a stop request.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

#include "timing/clock.h"
#include "timing/stop_event.h"

namespace vrellix::testing {

class HoldingClock final : public Clock {
 public:
  std::int64_t NowMs() override { return m_now.load(); }

  bool Sleep(int ms, const StopEvent* stop) override {
    // Only the waits a stop can end are held (the link's reply wait is not one).
    while (stop && m_bHeld && (!m_holdWhen || m_holdWhen())) {
      m_bWaiting = true;
      // Waiting for an event, not for time: the stop request ends it.
      if (stop->WaitFor(std::chrono::milliseconds(5))) {
        m_bWaiting = false;
        return false;
      }
    }
    m_bWaiting = false;
    if (stop && stop->IsSet()) return false;
    if (ms > 0) m_now += ms;
    return true;
  }

  void Release() { m_bHeld = false; }
  // Holds only the waits that begin while condition is true (called on the
  // worker's thread). Set before the job starts.
  void HoldWhen(std::function<bool()> condition) { m_holdWhen = std::move(condition); }
  // True once the worker waits in a held pause.
  bool Waiting() const { return m_bWaiting.load(); }

 private:
  std::atomic<std::int64_t> m_now{0};
  std::atomic<bool> m_bHeld{true};
  std::atomic<bool> m_bWaiting{false};
  std::function<bool()> m_holdWhen;
};

}  // namespace vrellix::testing
