// Builds the event list a job or the string driver is expected to produce,
// in the words of the key sequences themselves.
#pragma once

#include <string>
#include <vector>

#include "job/job_events.h"
#include "keys/keys.h"

namespace vrellix::testing {

class KeyScript {
 public:
  KeyScript& Key(int key, int times = 1) {
    for (int i = 0; i < times; ++i) m_events.push_back({JobEvent::Kind::kKey, key, {}});
    return *this;
  }
  KeyScript& Pause(int ms) {
    m_events.push_back({JobEvent::Kind::kPause, ms, {}});
    return *this;
  }
  KeyScript& Status(const std::string& text) {
    m_events.push_back({JobEvent::Kind::kStatus, 0, text});
    return *this;
  }
  KeyScript& Range(int max) {
    m_events.push_back({JobEvent::Kind::kRange, max, {}});
    return *this;
  }
  KeyScript& Progress(int position) {
    m_events.push_back({JobEvent::Kind::kProgress, position, {}});
    return *this;
  }
  KeyScript& Result(bool success) {
    m_events.push_back({JobEvent::Kind::kResult, success ? 1 : 0, {}});
    return *this;
  }
  KeyScript& Warning(const std::string& text) {
    m_events.push_back({JobEvent::Kind::kWarning, 0, text});
    return *this;
  }
  KeyScript& Append(const std::vector<JobEvent>& events) {
    m_events.insert(m_events.end(), events.begin(), events.end());
    return *this;
  }
  // KEY_PALLET steps from one palette page to another, each followed by 50 ms.
  KeyScript& Pages(int from, int to) {
    while (from != to) {
      Key(KEY_PALLET).Pause(50);
      from = (from + 1) % 6;
    }
    return *this;
  }
  // A completed width switch.
  KeyScript& WidthSwitch(bool hasText) {
    return Key(KEY_PAL_LEFT, 13).Key(KEY_PAL_UP, 4).Key(KEY_PAL_DOWN, hasText ? 3 : 2).Key(KEY_PAL_ENTER);
  }
  // The cursor part of a space, after any page or width change it needed.
  KeyScript& SpaceCells(bool withLeftMoves) {
    if (withLeftMoves) Key(KEY_PAL_LEFT, 13);
    return Key(KEY_PAL_UP, 4).Key(KEY_PAL_DOWN).Key(KEY_PAL_ENTER);
  }

  const std::vector<JobEvent>& Events() const { return m_events; }

 private:
  std::vector<JobEvent> m_events;
};

// Readable failure output: one formatted event per line.
inline std::string Lines(const std::vector<JobEvent>& events) {
  std::string text;
  for (const JobEvent& event : events) text += FormatJobEvent(event) + "\n";
  return text;
}

}  // namespace vrellix::testing
