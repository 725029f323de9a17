// The progress window (dialog 131) shown while the entry job runs: a view over
// its ProgressLogic, which is the job's reporter.
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "window/progress_logic.h"
#include "window/progress_view.h"

class QProgressBar;

namespace Ui {
class CEntryProgressDlgUi;
}

namespace vrellix {

class CEntryProgressDlg : public QDialog, public ProgressView {
  Q_OBJECT

 public:
  explicit CEntryProgressDlg(QWidget* parent = nullptr);
  ~CEntryProgressDlg() override;

  ProgressLogic& Logic() { return m_logic; }

  // ProgressView.
  void SetRange(int max) override;
  void SetPosition(int position) override;
  void SetStatusText(const std::string& text) override;
  void SetItemText(const std::string& text) override;
  void SetTimeText(const std::string& text) override;
  void SetAbortText(const std::string& text) override;
  void EnableAbort(bool enabled) override;
  bool IsOpen() const override;
  void Close(bool ok) override;
  bool RunModal() override;
  bool Post(std::function<void()> fn) override;
  Answer ShowMessage(const Message& message) override;

  QProgressBar* m_ctlProgress = nullptr;  // control 1010

  // The close box: asks as 中断 does.
  void reject() override;

 private:
  std::unique_ptr<Ui::CEntryProgressDlgUi> m_ui;
  QTimer m_timer;
  ProgressLogic m_logic{*this};
};

}  // namespace vrellix
