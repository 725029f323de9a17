#include "job/job_progress.h"

#include <algorithm>

namespace vrellix {

JobProgress::JobProgress(const JobPlan& plan, int commandDelayMs, Clock& clock)
    : m_plan{{}, plan.keys, plan.pauseMs},
      m_nCommandDelay(commandDelayMs),
      m_clock(clock),
      m_startMs(clock.NowMs()) {}

void JobProgress::OnKey(int, KeyResult) {
  std::lock_guard<std::mutex> lock(m_mutex);
  ++m_nKeysSent;
  // A key comes only once the pause before it has passed.
  m_pauseDoneMs += m_nPauseMs;
  m_nPauseMs = 0;
}

void JobProgress::OnPause(int ms) {
  // Told as the pause begins, on the clock it passes on.
  const std::int64_t now = m_clock.NowMs();
  std::lock_guard<std::mutex> lock(m_mutex);
  m_pauseDoneMs += m_nPauseMs;
  m_nPauseMs = std::max(0, ms);
  m_pauseStartMs = now;
}

int JobProgress::KeysSent() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return std::min(m_nKeysSent, m_plan.keys);
}

std::int64_t JobProgress::ElapsedMs() const { return std::max<std::int64_t>(0, m_clock.NowMs() - m_startMs); }

std::int64_t JobProgress::LeftMs() const {
  const std::int64_t now = m_clock.NowMs();
  std::lock_guard<std::mutex> lock(m_mutex);
  const std::int64_t paused = std::clamp<std::int64_t>(now - m_pauseStartMs, 0, m_nPauseMs);
  return EstimateLeftMs(m_plan, m_nCommandDelay, m_nKeysSent, m_pauseDoneMs + paused);
}

}  // namespace vrellix
