// The progress window (dialog 131) shown while the entry job runs. It is also
// the job's reporter: the worker's calls are handed to the window thread.
#pragma once

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "job/job_reporter.h"

class QProgressBar;

namespace Ui {
class CEntryProgressDlgUi;
}

namespace vrellix {

class CEntryProgressDlg : public QDialog, public JobReporter {
  Q_OBJECT

 public:
  explicit CEntryProgressDlg(QWidget* parent = nullptr);
  ~CEntryProgressDlg() override;

  // Call before the worker starts: reports from then on belong to the new job.
  void BeginJob();
  // Call after the worker has ended: reports of the old job still queued are dropped.
  void EndJob();

  // Initialises the window ("処理内容", "中断", the 10 ms status timer) and runs
  // it modally until the job's result, 中断 + Yes, or the close box ends it.
  int DoModal();

  // JobReporter, called from the worker thread.
  void SetRange(int max) override;
  void SetPosition(int position) override;
  void SetStatus(const std::string& text) override;
  bool PostResult(bool success) override;
  void ShowWarning(const std::string& text) override;

  std::string Status() const;

  QProgressBar* m_ctlProgress = nullptr;  // control 1010

 private:
  // Queues fn for the window thread, tagged with the current job.
  bool Post(std::function<void()> fn);
  void OnAbort();
  void OnStatusTimer();
  void OnProgressStop();
  void OnProgressSuccess();

  std::unique_ptr<Ui::CEntryProgressDlgUi> m_ui;
  QTimer m_timer;
  mutable std::mutex m_statusMutex;
  std::string m_strStatus;  // guarded by m_statusMutex: written by the worker, read by the timer
  std::atomic<unsigned> m_nJob{0};
};

// The one progress window of the program, created before the main window and
// destroyed when the program ends.
extern CEntryProgressDlg* g_dlgProgress;

}  // namespace vrellix
