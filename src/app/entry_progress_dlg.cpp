#include "app/entry_progress_dlg.h"

#include <QPushButton>

#include "app/app_common.h"
#include "ui_entry_progress_dlg.h"

namespace vrellix {

CEntryProgressDlg::CEntryProgressDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CEntryProgressDlgUi>()) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  m_ctlProgress = m_ui->progress;
  m_timer.setInterval(kStatusTimerMs);
  connect(&m_timer, &QTimer::timeout, this, [this]() { m_logic.OnStatusTimer(); });
  connect(m_ui->abort, &QPushButton::clicked, this, [this]() { m_logic.OnAbort(); });
  // Escape is 中断, which asks (reject); a stray Enter does nothing.
  new EnterKeyFilter(this);
}

CEntryProgressDlg::~CEntryProgressDlg() = default;

void CEntryProgressDlg::SetRange(int max) { m_ctlProgress->setRange(0, max); }

void CEntryProgressDlg::SetPosition(int position) { m_ctlProgress->setValue(position); }

void CEntryProgressDlg::SetStatusText(const std::string& text) { m_ui->status->setText(ToQString(text)); }

void CEntryProgressDlg::SetItemText(const std::string& text) { m_ui->item->setText(ToQString(text)); }

void CEntryProgressDlg::SetTimeText(const std::string& text) { m_ui->times->setText(ToQString(text)); }

void CEntryProgressDlg::SetAbortText(const std::string& text) { m_ui->abort->setText(ToQString(text)); }

void CEntryProgressDlg::EnableAbort(bool enabled) { m_ui->abort->setEnabled(enabled); }

void CEntryProgressDlg::reject() { m_logic.OnAbort(); }

bool CEntryProgressDlg::IsOpen() const { return isVisible(); }

void CEntryProgressDlg::Close(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

bool CEntryProgressDlg::RunModal() {
  m_logic.OnInitDialog();
  m_ui->abort->setFocus();
  m_timer.start();
  const int result = exec();
  m_timer.stop();
  return result == QDialog::Accepted;
}

bool CEntryProgressDlg::Post(std::function<void()> fn) {
  return QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

Answer CEntryProgressDlg::ShowMessage(const Message& message) {
  // A warning may come while the window is closed (a forced stop after it).
  return vrellix::ShowMessage(isVisible() ? this : nullptr, message);
}

}  // namespace vrellix
