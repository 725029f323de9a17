#include "timing/virtual_clock.h"

#include "timing/stop_event.h"

namespace vrellix {

bool VirtualClock::Sleep(int ms, const StopEvent* stop) {
  if (stop && stop->IsSet()) return false;
  if (ms > 0) m_now += ms;
  return true;
}

}  // namespace vrellix
