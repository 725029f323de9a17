// The progress of an entry job as the command line shows it: on a terminal one
// line that redraws itself; to a pipe or a file plain lines, one each time the
// position or the status changes, so that a log holds no control characters.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "job/job_plan.h"
#include "job/job_reporter.h"
#include "keys/key_link.h"

namespace vrellix::cli {

class ProgressLine final : public JobReporter, public LinkObserver {
 public:
  // redraw: out is a terminal (StderrIsTerminal()).
  ProgressLine(const JobPlan& plan, int commandDelayMs, std::FILE* out, bool redraw);

  void SetRange(int max) override;
  void SetPosition(int position) override;
  void SetStatus(const std::string& text) override;
  // The runner keeps the result; the main thread asks it.
  bool PostResult(bool) override { return true; }
  void ShowWarning(const std::string& text) override;
  void OnKey(int, KeyResult) override { m_nKeysDone.fetch_add(1); }
  void OnPause(int ms) override { m_nPauseDoneMs.fetch_add(ms); }

  // Bar, position, status, elapsed time and the estimate of what is left.
  // Redrawn in place on a terminal; elsewhere written only when the position
  // or the status differs from the last line written.
  void Draw(std::chrono::steady_clock::duration elapsed);
  // Ends the redrawn line, so that what follows starts a line of its own.
  void Finish();

 private:
  const JobPlan m_plan;  // its counts; the events are not kept
  const int m_nCommandDelay;
  std::FILE* const m_out;
  const bool m_bRedraw;
  std::mutex m_mutex;
  int m_nRange = 0;
  int m_nPosition = 0;
  std::string m_strStatus;
  bool m_bDrawn = false;     // a line, or the start of one, has been written
  std::string m_strLastKey;  // position and status of the last plain line
  std::atomic<int> m_nKeysDone{0};
  std::atomic<std::int64_t> m_nPauseDoneMs{0};
};

}  // namespace vrellix::cli
