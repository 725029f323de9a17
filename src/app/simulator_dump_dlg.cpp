#include "app/simulator_dump_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_common.h"
#include "messages/messages.h"

namespace vrellix {

CSimulatorDumpDlg::CSimulatorDumpDlg(const std::string& verdict, const std::string& dump,
                                     QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("simulatorDump"));
  setWindowTitle(QString::fromUtf8(kAppName));
  auto* layout = new QVBoxLayout(this);
  // Read as text on the dialog, but it scrolls: it names every field left as
  // it was, up to 53. As high as its lines, up to five, so that no gap stands
  // under a short one.
  auto* verdictText = new QPlainTextEdit(ToQString(verdict), this);
  verdictText->setObjectName(QStringLiteral("verdict"));
  verdictText->setReadOnly(true);
  verdictText->setFrameShape(QFrame::NoFrame);
  verdictText->viewport()->setAutoFillBackground(false);
  const int lines = std::clamp(static_cast<int>(std::count(verdict.begin(), verdict.end(), '\n')) + 1, 1, 5);
  verdictText->setFixedHeight(verdictText->fontMetrics().lineSpacing() * lines +
                              static_cast<int>(2 * verdictText->document()->documentMargin()));
  layout->addWidget(verdictText);
  layout->addWidget(new QLabel(ToQString(messages::kSimulatorHolds), this));
  auto* text = new QPlainTextEdit(ToQString(dump), this);
  text->setObjectName(QStringLiteral("dumpText"));
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The device's fields line up in columns.
  text->setFont(FixedWidthFont());
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(420, 360);
}

}  // namespace vrellix
