#include "app/about_dlg.h"

#include <QPushButton>

#include "app/app_common.h"
#include "ui_about_dlg.h"
#include "version/version.h"

namespace vrellix {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlgUi>()) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  // The layout's label holds a placeholder number; the one shown is the build's.
  m_ui->staticVersion->setText(QStringLiteral("Vrellix Version ") + QString::fromLatin1(kVersion));
  // OK is the default button: Enter closes the box, as Escape does.
  connect(m_ui->ok, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;

}  // namespace vrellix
