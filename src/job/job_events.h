// A record of what an entry job did, in order: keys, pauses, progress, status
// texts and the result. Used to print a job's plan and to follow a job.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "job/job_reporter.h"
#include "keys/key_link.h"

namespace vrellix {

struct JobEvent {
  enum class Kind { kRange, kStatus, kKey, kPause, kProgress, kResult, kWarning };
  Kind kind;
  int value = 0;     // range max, key code, pause ms, position, result 1/0
  std::string text;  // status or warning text

  bool operator==(const JobEvent& other) const {
    return kind == other.kind && value == other.value && text == other.text;
  }
  bool operator!=(const JobEvent& other) const { return !(*this == other); }
};

// One line per event: "range 0 <max>", "status <text>", "key <code> <NAME>",
// "pause <ms>", "progress <pos>", "result success|failure", "warning <text>".
std::string FormatJobEvent(const JobEvent& event);

// Collects the events of a job from both its reporter and its link observer.
// Safe to feed from the worker thread while another thread reads it.
class JobEventLog : public JobReporter, public LinkObserver {
 public:
  void SetRange(int max) override { Add({JobEvent::Kind::kRange, max, {}}); }
  void SetPosition(int position) override { Add({JobEvent::Kind::kProgress, position, {}}); }
  void SetStatus(const std::string& text) override { Add({JobEvent::Kind::kStatus, 0, text}); }
  bool PostResult(bool success) override;
  void ShowWarning(const std::string& text) override { Add({JobEvent::Kind::kWarning, 0, text}); }
  // Keys that were not acknowledged are recorded too (value is the code either way).
  void OnKey(int code, KeyResult result) override;
  void OnPause(int ms) override { Add({JobEvent::Kind::kPause, ms, {}}); }

  // What PostResult answers, and a hook run after the result was recorded.
  void SetPostSucceeds(bool succeeds);
  void OnResult(std::function<void(bool success)> hook);

  std::vector<JobEvent> Events() const;
  int KeysRefused() const;

 private:
  void Add(JobEvent event);

  mutable std::mutex m_mutex;
  std::vector<JobEvent> m_events;
  int m_nRefused = 0;
  bool m_bPostSucceeds = true;
  std::function<void(bool)> m_onResult;
};

}  // namespace vrellix
