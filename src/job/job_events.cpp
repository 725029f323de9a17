#include "job/job_events.h"

#include "keys/keys.h"

namespace vrellix {

std::string FormatJobEvent(const JobEvent& event) {
  switch (event.kind) {
    case JobEvent::Kind::kRange:
      return "range 0 " + std::to_string(event.value);
    case JobEvent::Kind::kStatus:
      return "status " + event.text;
    case JobEvent::Kind::kKey:
      return "key " + std::to_string(event.value) + " " + KeyName(event.value);
    case JobEvent::Kind::kPause:
      return "pause " + std::to_string(event.value);
    case JobEvent::Kind::kProgress:
      return "progress " + std::to_string(event.value);
    case JobEvent::Kind::kResult:
      return event.value ? "result success" : "result failure";
    case JobEvent::Kind::kWarning:
      return "warning " + event.text;
  }
  return {};
}

bool JobEventLog::PostResult(bool success) {
  Add({JobEvent::Kind::kResult, success ? 1 : 0, {}});
  std::function<void(bool)> hook;
  bool delivered;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    hook = m_onResult;
    delivered = m_bPostSucceeds;
  }
  if (hook) hook(success);
  return delivered;
}

void JobEventLog::OnKey(int code, KeyResult result) {
  Add({JobEvent::Kind::kKey, code, {}});
  if (result != KeyResult::kAcknowledged) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nRefused;
  }
}

void JobEventLog::SetPostSucceeds(bool succeeds) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_bPostSucceeds = succeeds;
}

void JobEventLog::OnResult(std::function<void(bool)> hook) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_onResult = std::move(hook);
}

std::vector<JobEvent> JobEventLog::Events() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_events;
}

int JobEventLog::KeysRefused() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_nRefused;
}

void JobEventLog::Add(JobEvent event) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_events.push_back(std::move(event));
}

}  // namespace vrellix
