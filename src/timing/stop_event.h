// A manual-reset event: once set it stays set, for every waiter, until Reset().
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vrellix {

class StopEvent {
 public:
  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event is (or becomes) set within the time.
  bool WaitFor(std::chrono::milliseconds timeout) const;
  void Wait() const;

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  bool m_set = false;
};

}  // namespace vrellix
