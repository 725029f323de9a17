// POSIX timers are fine already: nothing to raise.
#include "timing/timer_resolution.h"

namespace vrellix {

FineTimerResolution::FineTimerResolution() = default;
FineTimerResolution::~FineTimerResolution() = default;

}  // namespace vrellix
