// Ctrl-C while a job runs: hands the interrupt to ordinary code on a thread
// where it may take locks (a signal handler may not). One file per platform.
#pragma once

#include <functional>

namespace vrellix::cli {

class InterruptWatch {
 public:
  // From construction to destruction, Ctrl-C runs onInterrupt (on a thread of
  // the watch's own) instead of ending the process.
  explicit InterruptWatch(std::function<void()> onInterrupt);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // False when the watch could not be set up; Ctrl-C then ends the process as usual.
  bool Active() const { return m_bActive; }

 private:
  bool m_bActive = false;
};

}  // namespace vrellix::cli
