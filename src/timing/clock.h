// Every wait of the link, the engine and the job goes through a Clock, so tests
// can run in virtual time.
#pragma once

#include <cstdint>

namespace vrellix {

class StopEvent;

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary fixed point; never goes backwards.
  virtual std::int64_t NowMs() = 0;
  // Waits ms milliseconds (nothing for ms <= 0), or less when stop is given and
  // becomes set. Returns true when the whole time passed.
  virtual bool Sleep(int ms, const StopEvent* stop) = 0;
};

class SystemClock final : public Clock {
 public:
  std::int64_t NowMs() override;
  bool Sleep(int ms, const StopEvent* stop) override;
};

}  // namespace vrellix
