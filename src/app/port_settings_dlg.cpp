#include "app/port_settings_dlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/app_common.h"
#include "ui_port_settings_dlg.h"

namespace vrellix {

CPortSettingsDlg::CPortSettingsDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CPortSettingsDlgUi>()) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  m_ui->ctl1021->setRange(0, kMaxCommandDelayMs);
  // Enter in the field would otherwise add the typed name to the list as an
  // entry without a device.
  m_ui->ctl1020->setInsertPolicy(QComboBox::NoInsert);
  connect(m_ui->ctl1, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_ui->ctl2, &QPushButton::clicked, this, &QDialog::reject);
}

CPortSettingsDlg::~CPortSettingsDlg() = default;

int CPortSettingsDlg::DoModal(PortSettingsEdit& edit) {
  QComboBox* ports = m_ui->ctl1020;
  for (const SerialPortInfo& port : edit.ports) {
    // The device is what gets written; the system's name helps to tell them apart.
    const QString device = ToQString(port.device);
    ports->addItem(port.description.empty() ? device : device + QStringLiteral("  ") + ToQString(port.description),
                   device);
  }
  const int listed = ports->findData(ToQString(edit.port));
  if (listed >= 0) {
    ports->setCurrentIndex(listed);
  } else {
    ports->setEditText(ToQString(edit.port));
  }
  m_ui->ctl1021->setValue(edit.commandDelay);
  ports->setFocus();
  ports->lineEdit()->setCursorPosition(0);  // the device's name first, not the end of a long entry
  const int result = exec();
  if (result != QDialog::Accepted) return result;
  // A listed entry stands for its device; anything else was typed.
  const int index = ports->findText(ports->currentText(), Qt::MatchExactly);
  edit.port = ToUtf8(index >= 0 ? ports->itemData(index).toString() : ports->currentText());
  edit.commandDelay = m_ui->ctl1021->value();
  return result;
}

}  // namespace vrellix
