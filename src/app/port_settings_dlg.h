// The 通信設定 dialog: the serial port, picked from those present or typed, and
// the command delay.
#pragma once

#include <QDialog>
#include <memory>

#include "window/titler_view.h"

namespace Ui {
class CPortSettingsDlgUi;
}

namespace vrellix {

class CPortSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CPortSettingsDlg(QWidget* parent = nullptr);
  ~CPortSettingsDlg() override;

  // Shows edit and runs the dialog modally; on Accepted edit holds the choice.
  int DoModal(PortSettingsEdit& edit);

 private:
  std::unique_ptr<Ui::CPortSettingsDlgUi> m_ui;
};

}  // namespace vrellix
