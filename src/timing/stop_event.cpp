#include "timing/stop_event.h"

namespace vrellix {

void StopEvent::Set() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_set = true;
  }
  m_changed.notify_all();
}

void StopEvent::Reset() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_set = false;
}

bool StopEvent::IsSet() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_set;
}

bool StopEvent::WaitFor(std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_changed.wait_for(lock, timeout, [this] { return m_set; });
}

void StopEvent::Wait() const {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_set; });
}

}  // namespace vrellix
