// The system timer's resolution for the length of a job. One implementation per
// platform.
#pragma once

namespace vrellix {

// While one lives, waits of a millisecond or a few take about that long: on
// Windows the timer otherwise ticks every 15.6 ms, and every short wait of the
// link (the output queue's drain, the pause after a key) would take a whole
// tick. Elsewhere the timer is fine already and this does nothing.
class FineTimerResolution {
 public:
  FineTimerResolution();
  ~FineTimerResolution();
  FineTimerResolution(const FineTimerResolution&) = delete;
  FineTimerResolution& operator=(const FineTimerResolution&) = delete;

 private:
  [[maybe_unused]] bool m_bRaised = false;  // read on Windows only
};

}  // namespace vrellix
