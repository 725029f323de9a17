#include "app/port_settings_dlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/app_common.h"
#include "ui_port_settings_dlg.h"

namespace vrellix {

CPortSettingsDlg::CPortSettingsDlg(PortSettingsEdit& edit, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CPortSettingsDlgUi>()), m_logic(*this, edit) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  // Enter in the field would otherwise add the typed name to the list.
  m_ui->port->setInsertPolicy(QComboBox::NoInsert);
  connect(m_ui->ok, &QPushButton::clicked, this, &CPortSettingsDlg::accept);
  connect(m_ui->cancel, &QPushButton::clicked, this, &QDialog::reject);
  m_logic.OnInitDialog();
}

CPortSettingsDlg::~CPortSettingsDlg() = default;

void CPortSettingsDlg::accept() { m_logic.OnOk(); }

void CPortSettingsDlg::SetPortEntries(const std::vector<std::string>& entries) {
  m_ui->port->clear();
  for (const std::string& entry : entries) m_ui->port->addItem(ToQString(entry));
}

void CPortSettingsDlg::ChoosePortEntry(int index) { m_ui->port->setCurrentIndex(index); }

void CPortSettingsDlg::SetPortText(const std::string& text) { m_ui->port->setEditText(ToQString(text)); }

std::string CPortSettingsDlg::PortText() const { return ToUtf8(m_ui->port->currentText()); }

void CPortSettingsDlg::SetDelayRange(int min, int max) { m_ui->commandDelay->setRange(min, max); }

void CPortSettingsDlg::SetDelay(int ms) { m_ui->commandDelay->setValue(ms); }

int CPortSettingsDlg::Delay() const { return m_ui->commandDelay->value(); }

void CPortSettingsDlg::FocusPort() {
  m_ui->port->setFocus();
  // The device's name first, not the end of a long entry.
  m_ui->port->lineEdit()->setCursorPosition(0);
}

void CPortSettingsDlg::SetPortNote(const std::string& text) { m_ui->portNote->setText(ToQString(text)); }

void CPortSettingsDlg::Close(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

}  // namespace vrellix
