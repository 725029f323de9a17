// The About box (dialog 100): the icon, the version, and an OK button.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class CAboutDlgUi;
}

namespace vrellix {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
  ~CAboutDlg() override;

 private:
  std::unique_ptr<Ui::CAboutDlgUi> m_ui;
};

}  // namespace vrellix
