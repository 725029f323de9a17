#include "app/app_common.h"

#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWidget>

// Outside any namespace: Q_INIT_RESOURCE declares a function of the global one.
static void InitVrellixQrc() { Q_INIT_RESOURCE(vrellix); }

namespace vrellix {

const char* const kAppName = "Vrellix";

void InitGuiResources() { InitVrellixQrc(); }

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 256}) icon.addFile(QStringLiteral(":/icons/vrellix-%1.png").arg(size), QSize(size, size));
  return icon;
}

void PrepareFixedDialog(QWidget* dialog) {
  QFont font = dialog->font();
  // The templates were laid out for the first; the IPA fonts are the usual
  // stand-ins on systems without it.
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(9);
  dialog->setFont(font);
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
  dialog->setFixedSize(dialog->size());
}

Answer ShowMessage(QWidget* parent, const Message& message) {
  QMessageBox::Icon icon = QMessageBox::Information;
  if (message.icon == MessageIcon::kWarning) icon = QMessageBox::Warning;
  if (message.icon == MessageIcon::kError) icon = QMessageBox::Critical;
  const bool yesNo = message.buttons == MessageButtons::kYesNo;
  QMessageBox box(icon, QString::fromUtf8(kAppName), ToQString(message.text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
  if (yesNo) box.setDefaultButton(message.defaultNo ? QMessageBox::No : QMessageBox::Yes);
  box.exec();
  if (!yesNo) return Answer::kOk;
  return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? Answer::kYes : Answer::kNo;
}

EnterEscapeFilter::EnterEscapeFilter(QWidget* dialog) : QObject(dialog) {
  dialog->installEventFilter(this);
  for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool EnterEscapeFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      event->accept();
      return event->type() == QEvent::KeyPress;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vrellix
