// Ctrl-C as a stop request: while an InterruptToStop lives, an interrupt from
// the terminal sets the given StopEvent instead of ending the process, so the
// exchange under way can finish. One implementation per platform.
#pragma once

#include <memory>

#include "link/stop_event.h"

namespace vrellix::cli {

class InterruptToStop {
 public:
  explicit InterruptToStop(StopEvent& stop);
  ~InterruptToStop();
  InterruptToStop(const InterruptToStop&) = delete;
  InterruptToStop& operator=(const InterruptToStop&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace vrellix::cli
