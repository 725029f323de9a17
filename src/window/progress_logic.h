// The progress window's behaviour (dialog 131): the job's reporter, whose calls
// from the worker thread reach the window thread through the view, the status
// line handed over under a lock, one bar over the whole job with its times
// (JobProgress), the abort question and the result boxes.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "job/job_progress.h"
#include "job/job_reporter.h"
#include "window/job_timeline.h"
#include "window/progress_view.h"

namespace vrellix {

class ProgressLogic final : public JobReporter {
 public:
  // Made on the window thread, which the reports are handed to.
  explicit ProgressLogic(ProgressView& view);

  // Before the worker starts: reports from then on belong to the new job,
  // whose planned course names what is being entered. With progress (which
  // outlives the job's window) the bar counts its keys sent of those planned
  // and the time line shows its elapsed time and time left; the job's own
  // section reports then leave the bar alone.
  void BeginJob(JobTimeline timeline = {}, const JobProgress* progress = nullptr);
  // After the worker has ended: reports of the old job still queued are dropped.
  void EndJob();

  // Runs the window modally until the job's result, or 中断 or the close box
  // answered Yes, ends it. True when it closed after the success box.
  bool DoModal();

  // The view's events, on the window thread.
  void OnInitDialog();   // "処理内容", "中断", the bar at 0, the clock started
  void OnStatusTimer();  // the worker's status text, what it stands for, the bar and the times, when changed
  // 中断 or the close box: asks; Yes closes the window, which stops the job.
  // Nothing once the job's result has come.
  void OnAbort();

  // JobReporter, from the worker thread (ShowWarning also from the window thread).
  void SetRange(int max) override;
  void SetPosition(int position) override;
  void SetStatus(const std::string& text) override;
  bool PostResult(bool success) override;
  void ShowWarning(const std::string& text) override;

  // The worker's last status text; kept from one job to the next.
  std::string Status() const;

 private:
  // Queues fn for the window thread, tagged with the current job.
  bool Post(std::function<void()> fn);
  void OnProgressStop();
  void OnProgressSuccess();
  // The job's result has come: the time stops there and 中断 has nothing left to stop.
  void JobEnded(bool success);
  void ShowTimes(bool finished);

  ProgressView& m_view;
  const std::thread::id m_windowThread;
  mutable std::mutex m_statusMutex;
  std::string m_strStatus;    // guarded by m_statusMutex: written by the worker, read by the timer
  std::string m_shownStatus;  // window thread: what the status line shows
  std::string m_shownTimes;
  JobTimeline m_timeline;
  // Set by BeginJob before the worker starts, cleared by EndJob after it ended.
  std::atomic<const JobProgress*> m_pJobProgress{nullptr};
  int m_nShownKeys = -1;
  bool m_ended = false;         // the result of the job in the window has come
  std::atomic<unsigned> m_nJob{0};
};

}  // namespace vrellix
