#include "app/app_common.h"

#include <QEvent>
#include <QCoreApplication>
#include <QFont>
#include <QInputMethodEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTextCharFormat>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

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

void PrepareDialog(QWidget* dialog, DialogSize sizing) {
  QFont font = dialog->font();
  // The templates were laid out for the first; the IPA fonts are the usual
  // stand-ins on systems without it.
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(9);
  dialog->setFont(font);
  if (sizing == DialogSize::kResizable) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    dialog->setMinimumSize(dialog->size());
    dialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return;
  }
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
  dialog->setFixedSize(dialog->size());
}

bool LoadJapaneseTranslations() {
  // Owned by the application, which outlives every window.
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

QFont FixedWidthFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans Mono CJK JP")});
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(9);
  return font;
}

void ShowFieldMarks(QLineEdit* edit, QLabel* count, const FieldMarks& marks) {
  count->setText(ToQString(marks.count));
  QPalette palette = count->palette();
  palette.setColor(QPalette::WindowText, marks.tooLong ? QColor(Qt::red) : edit->palette().color(QPalette::Text));
  count->setPalette(palette);
  edit->setToolTip(ToQString(marks.tip));

  // The marks count code points; QString counts UTF-16 units.
  const QString text = edit->text();
  std::vector<int> offsets;
  for (int i = 0; i < text.size(); i += text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1) offsets.push_back(i);
  offsets.push_back(static_cast<int>(text.size()));
  const auto offset = [&](int point) { return offsets[static_cast<std::size_t>(std::clamp<int>(point, 0, static_cast<int>(offsets.size()) - 1))]; };
  QTextCharFormat fault;
  fault.setForeground(QColor(Qt::red));
  fault.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  fault.setUnderlineColor(QColor(Qt::red));
  // A line edit takes formats for parts of its text only with an input method
  // event (positions relative to the cursor); one without text changes nothing else.
  QList<QInputMethodEvent::Attribute> attributes;
  for (const FieldMarks::Span& span : marks.faults) {
    const int from = offset(span.start);
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, from - edit->cursorPosition(),
                                               offset(span.start + span.length) - from, fault);
  }
  QInputMethodEvent event(QString(), attributes);
  QCoreApplication::sendEvent(edit, &event);
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

EnterKeyFilter::EnterKeyFilter(QWidget* dialog) : QObject(dialog) {
  dialog->installEventFilter(this);
  for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      event->accept();
      return event->type() == QEvent::KeyPress;
    }
  }
  return QObject::eventFilter(watched, event);
}

Answer WidgetMessages::ShowMessage(const Message& message) { return vrellix::ShowMessage(m_pParent, message); }

void AddMenuItems(QMenu& menu, const Menu& items) {
  for (const MenuItem& item : items) {
    if (item.label.empty()) {
      menu.addSeparator();
    } else if (!item.submenu.empty()) {
      AddMenuItems(*menu.addMenu(ToQString(item.label)), item.submenu);
    } else {
      QAction* action = menu.addAction(ToQString(item.label), &menu, item.action);
      action->setEnabled(item.enabled);
    }
  }
}

void ExtendContextMenu(QLineEdit* edit, std::function<Menu()> items) {
  edit->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(edit, &QWidget::customContextMenuRequested, edit, [edit, items](const QPoint& at) {
    std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    const Menu added = items();
    if (!added.empty()) menu->addSeparator();
    AddMenuItems(*menu, added);
    menu->exec(edit->mapToGlobal(at));
  });
}

void ReplaceTextUndoably(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  edit->insert(text);
}

}  // namespace vrellix
