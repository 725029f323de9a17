// The multimedia timer's period: 1 ms while a job runs, the system's own after.
#include "timing/timer_resolution.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <timeapi.h>

namespace vrellix {

namespace {
constexpr UINT kJobTimerPeriodMs = 1;
}  // namespace

FineTimerResolution::FineTimerResolution() : m_bRaised(timeBeginPeriod(kJobTimerPeriodMs) == TIMERR_NOERROR) {}

// Each raise is undone once, as Windows counts them.
FineTimerResolution::~FineTimerResolution() {
  if (m_bRaised) timeEndPeriod(kJobTimerPeriodMs);
}

}  // namespace vrellix
