#include "app/simulator_dump_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/app_common.h"
#include "messages/messages.h"

namespace vrellix {

CSimulatorDumpDlg::CSimulatorDumpDlg(const std::string& verdict, const std::string& dump,
                                     QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("simulatorDump"));
  setWindowTitle(QString::fromUtf8(kAppName));
  auto* layout = new QVBoxLayout(this);
  auto* verdictLabel = new QLabel(ToQString(verdict), this);
  verdictLabel->setObjectName(QStringLiteral("verdict"));
  layout->addWidget(verdictLabel);
  layout->addWidget(new QLabel(ToQString(messages::kSimulatorHolds), this));
  auto* text = new QPlainTextEdit(ToQString(dump), this);
  text->setObjectName(QStringLiteral("dumpText"));
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(420, 360);
}

}  // namespace vrellix
