#include "app/entry_progress_dlg.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QThread>

#include "app/app_common.h"
#include "messages/messages.h"
#include "ui_entry_progress_dlg.h"

namespace vrellix {

CEntryProgressDlg* g_dlgProgress = nullptr;

namespace {
constexpr int kStatusTimerMs = 10;
}

CEntryProgressDlg::CEntryProgressDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CEntryProgressDlgUi>()) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  m_ctlProgress = m_ui->ctl1010;
  m_timer.setInterval(kStatusTimerMs);
  connect(&m_timer, &QTimer::timeout, this, &CEntryProgressDlg::OnStatusTimer);
  connect(m_ui->ctl1000, &QPushButton::clicked, this, &CEntryProgressDlg::OnAbort);
  // Enter and Escape must neither stop the job nor close the window.
  new EnterEscapeFilter(this);
}

CEntryProgressDlg::~CEntryProgressDlg() = default;

void CEntryProgressDlg::BeginJob() { ++m_nJob; }

void CEntryProgressDlg::EndJob() { ++m_nJob; }

int CEntryProgressDlg::DoModal() {
  m_ui->ctl1011->setText(ToQString(messages::kProgressStatusLabel));
  m_ui->ctl1000->setText(ToQString(messages::kAbortButton));
  m_ui->ctl1000->setFocus();
  m_timer.start();
  const int result = exec();
  m_timer.stop();
  return result;
}

bool CEntryProgressDlg::Post(std::function<void()> fn) {
  const unsigned job = m_nJob.load();
  return QMetaObject::invokeMethod(
      this,
      [this, job, fn = std::move(fn)]() {
        if (job == m_nJob.load()) fn();
      },
      Qt::QueuedConnection);
}

void CEntryProgressDlg::SetRange(int max) {
  Post([this, max]() { m_ctlProgress->setRange(0, max); });
}

void CEntryProgressDlg::SetPosition(int position) {
  Post([this, position]() { m_ctlProgress->setValue(position); });
}

void CEntryProgressDlg::SetStatus(const std::string& text) {
  std::lock_guard<std::mutex> lock(m_statusMutex);
  m_strStatus = text;
}

std::string CEntryProgressDlg::Status() const {
  std::lock_guard<std::mutex> lock(m_statusMutex);
  return m_strStatus;
}

bool CEntryProgressDlg::PostResult(bool success) {
  if (success) return Post([this]() { OnProgressSuccess(); });
  return Post([this]() { OnProgressStop(); });
}

void CEntryProgressDlg::ShowWarning(const std::string& text) {
  if (QThread::currentThread() == thread()) {
    ShowMessage(isVisible() ? this : nullptr, text, QMessageBox::Warning);
    return;
  }
  // From the worker: never wait for the window thread, it may be waiting for us.
  QMetaObject::invokeMethod(
      this, [this, text]() { ShowMessage(isVisible() ? this : nullptr, text, QMessageBox::Warning); },
      Qt::QueuedConnection);
}

void CEntryProgressDlg::OnStatusTimer() {
  // Set the label only when the text changed, so it is not redrawn every tick.
  const QString status = ToQString(Status());
  if (m_ui->ctl1011->text() != status) m_ui->ctl1011->setText(status);
}

void CEntryProgressDlg::OnAbort() {
  if (ShowMessage(this, messages::kAbortQuestion, QMessageBox::Warning,
                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
    if (isVisible()) reject();
  }
}

void CEntryProgressDlg::OnProgressStop() {
  if (!isVisible()) return;
  ShowMessage(this, messages::kJobFailed, QMessageBox::Critical);
  reject();
}

void CEntryProgressDlg::OnProgressSuccess() {
  if (!isVisible()) return;
  ShowMessage(this, messages::kJobSucceeded, QMessageBox::Information);
  accept();
}

}  // namespace vrellix
