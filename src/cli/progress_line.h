// The progress of an entry job as the command line shows it: on a terminal one
// line that redraws itself; to a pipe or a file plain lines, one each time the
// status changes, so that a log holds no control characters. The bar counts
// the keys sent of those planned, and the times are the job's (JobProgress),
// as in the window.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "job/job_progress.h"
#include "job/job_reporter.h"

namespace vrellix::cli {

class ProgressLine final : public JobReporter {
 public:
  // redraw: out is a terminal (StderrIsTerminal()). progress outlives this.
  ProgressLine(const JobProgress& progress, std::FILE* out, bool redraw);

  // The job's sections: the bar follows its keys instead.
  void SetRange(int) override {}
  void SetPosition(int) override {}
  void SetStatus(const std::string& text) override;
  // The runner keeps the result; the main thread asks it.
  bool PostResult(bool) override { return true; }
  void ShowWarning(const std::string& text) override;

  // Bar, keys sent of those planned, status, elapsed time and the estimate of
  // what is left. Redrawn in place on a terminal; elsewhere written only when
  // the status differs from the last line written.
  void Draw();
  // The last line: after success a full bar and the time the job took, with
  // nothing said to be left; otherwise it ends the redrawn line, so that what
  // follows starts a line of its own.
  void Finish(bool succeeded);

 private:
  void Write(const std::string& bar, int keys, const std::string& times);

  const JobProgress& m_progress;
  std::FILE* const m_out;
  const bool m_bRedraw;
  std::mutex m_mutex;
  std::string m_strStatus;
  bool m_bDrawn = false;        // a line, or the start of one, has been written
  std::string m_strLastStatus;  // the status of the last plain line
};

}  // namespace vrellix::cli
