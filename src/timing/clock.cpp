#include "timing/clock.h"

#include <chrono>
#include <thread>

#include "timing/stop_event.h"

namespace vrellix {

std::int64_t SystemClock::NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SystemClock::Sleep(int ms, const StopEvent* stop) {
  if (ms <= 0) return !(stop && stop->IsSet());
  const auto duration = std::chrono::milliseconds(ms);
  if (stop) return !stop->WaitFor(duration);
  std::this_thread::sleep_for(duration);
  return true;
}

}  // namespace vrellix
