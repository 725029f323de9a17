#include "app/about_dlg.h"

#include <QPushButton>

#include "app/app_common.h"
#include "ui_about_dlg.h"

namespace vrellix {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlgUi>()) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  connect(m_ui->ctl1, &QPushButton::clicked, this, &QDialog::accept);
  // Enter and Escape do nothing here: only OK and the close box close the box.
  new EnterEscapeFilter(this);
}

CAboutDlg::~CAboutDlg() = default;

}  // namespace vrellix
