// The progress window's behaviour (dialog 131): the job's reporter, whose calls
// from the worker thread reach the window thread through the view, the status
// line handed over under a lock, the abort question and the result boxes.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "job/job_reporter.h"
#include "window/progress_view.h"

namespace vrellix {

class ProgressLogic final : public JobReporter {
 public:
  // Made on the window thread, which the reports are handed to.
  explicit ProgressLogic(ProgressView& view);

  // Before the worker starts: reports from then on belong to the new job.
  void BeginJob();
  // After the worker has ended: reports of the old job still queued are dropped.
  void EndJob();

  // Runs the window modally until the job's result, 中断 + Yes, or the close
  // box ends it. True when it closed after the success box.
  bool DoModal();

  // The view's events, on the window thread.
  void OnInitDialog();   // "処理内容", "中断"
  void OnStatusTimer();  // shows the worker's status text when it has changed
  void OnAbort();        // asks; Yes closes the window, which stops the job

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

  ProgressView& m_view;
  const std::thread::id m_windowThread;
  mutable std::mutex m_statusMutex;
  std::string m_strStatus;    // guarded by m_statusMutex: written by the worker, read by the timer
  std::string m_shownStatus;  // window thread: what the status line shows
  std::atomic<unsigned> m_nJob{0};
};

}  // namespace vrellix
