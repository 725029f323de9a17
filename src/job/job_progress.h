// A running job measured against its plan, for a progress display: the keys
// sent of the keys planned, the time since it began on the clock the job runs
// on (virtual time on the simulator), and the time left by the same estimate
// as the question before the job, taken over what is still to do. The window's
// progress and the command line's progress line both follow one.
#pragma once

#include <cstdint>
#include <mutex>

#include "job/job_plan.h"
#include "keys/key_link.h"
#include "timing/clock.h"

namespace vrellix {

class JobProgress final : public LinkObserver {
 public:
  // A job that begins now on clock (which outlives this), doing what plan
  // says at commandDelayMs. Only the plan's counts are kept.
  JobProgress(const JobPlan& plan, int commandDelayMs, Clock& clock);

  // The job's link tells these, on the worker thread.
  void OnKey(int code, KeyResult result) override;
  void OnPause(int ms) override;

  int KeysPlanned() const { return m_plan.keys; }
  // Keys sent so far, at most the planned ones (a key sent twice counts twice).
  int KeysSent() const;
  std::int64_t ElapsedMs() const;
  // The plan's estimate for the keys not sent yet and the pauses not waited
  // yet (the one under way as it passes); the line's settle time at the end.
  // While the job keeps to the plan, ElapsedMs() + LeftMs() stays the
  // estimate the question gave.
  std::int64_t LeftMs() const;

 private:
  const JobPlan m_plan;  // its counts; the events are not kept
  const int m_nCommandDelay;
  Clock& m_clock;
  const std::int64_t m_startMs;
  mutable std::mutex m_mutex;
  int m_nKeysSent = 0;
  std::int64_t m_pauseDoneMs = 0;  // pauses that have ended
  std::int64_t m_pauseStartMs = 0;
  int m_nPauseMs = 0;  // the pause under way, if any
};

}  // namespace vrellix
