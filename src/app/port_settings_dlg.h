// The 通信設定 dialog: the serial port, picked from those present or typed, and
// the command delay. A view over its PortSettingsLogic.
#pragma once

#include <QDialog>
#include <memory>

#include "window/port_settings_logic.h"
#include "window/port_settings_view.h"

namespace Ui {
class CPortSettingsDlgUi;
}

namespace vrellix {

class CPortSettingsDlg : public QDialog, public PortSettingsView {
  Q_OBJECT

 public:
  // Shows edit; on OK edit holds the choice. Not owned.
  explicit CPortSettingsDlg(PortSettingsEdit& edit, QWidget* parent = nullptr);
  ~CPortSettingsDlg() override;

  // OK and Enter.
  void accept() override;

  // PortSettingsView.
  void SetPortEntries(const std::vector<std::string>& entries) override;
  void ChoosePortEntry(int index) override;
  void SetPortText(const std::string& text) override;
  std::string PortText() const override;
  void SetDelayRange(int min, int max) override;
  void SetDelay(int ms) override;
  int Delay() const override;
  void FocusPort() override;
  void SetPortNote(const std::string& text) override;
  void Close(bool ok) override;

 private:
  std::unique_ptr<Ui::CPortSettingsDlgUi> m_ui;
  PortSettingsLogic m_logic;
};

}  // namespace vrellix
