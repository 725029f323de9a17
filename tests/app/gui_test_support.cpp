#include "gui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "keys/keys.h"
#include "support/fake_transmitter.h"
#include "support/settings_file.h"

namespace vrellix::testing {

namespace {
constexpr int kPollMs = 10;
constexpr int kGiveUpTicks = 1000;  // 10 s without anything to do

SeenBox Seen(QMessageBox* box) {
  return {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
          box->standardButton(box->defaultButton()), box->parentWidget(), box->frameGeometry()};
}
}  // namespace

ModalScript::ModalScript() {
  m_timer.setInterval(kPollMs);
  QObject::connect(&m_timer, &QTimer::timeout, this, [this]() { Poll(); });
  m_timer.start();
}

ModalScript::~ModalScript() { m_timer.stop(); }

void ModalScript::Answer(QMessageBox::StandardButton button) {
  m_steps.push_back({Entry::kBox, button, nullptr, nullptr});
}

void ModalScript::OnDialog(Step action, std::function<bool()> ready) {
  m_steps.push_back({Entry::kDialog, QMessageBox::NoButton, std::move(action), std::move(ready)});
}

void ModalScript::OnMenu(Step action) { m_steps.push_back({Entry::kMenu, QMessageBox::NoButton, std::move(action), nullptr}); }

QStringList ModalScript::Texts() const {
  QStringList texts;
  for (const SeenBox& box : m_boxes) texts << box.text;
  return texts;
}

bool ModalScript::PollMenu() {
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (!menu || !menu->isVisible()) return false;
  if (m_steps.empty() || m_steps.front().kind != Entry::kMenu) {
    // A menu nobody asked for is closed, at once when the script is done.
    if (m_steps.empty() || ++m_nIdleTicks > kGiveUpTicks) {
      ++m_unexpected;
      m_nIdleTicks = 0;
      QTimer::singleShot(0, menu, [menu]() { menu->close(); });
    }
    return true;
  }
  m_nIdleTicks = 0;
  const Step action = m_steps.front().action;
  m_steps.pop_front();
  m_bActionPending = true;
  QTimer::singleShot(0, menu, [this, menu, action]() {
    m_bActionPending = false;
    action(menu);
  });
  return true;
}

void ModalScript::Poll() {
  if (m_bActionPending || PollMenu()) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) {
    ++m_nIdleTicks;
    return;
  }
  auto* box = qobject_cast<QMessageBox*>(modal);
  const Entry::Kind kind = box ? Entry::kBox : Entry::kDialog;
  const bool stepFits = !m_steps.empty() && m_steps.front().kind == kind &&
                        (!m_steps.front().ready || m_steps.front().ready());
  if (!stepFits) {
    // An unexpected box is closed at once; anything else after a long wait.
    if ((box && m_steps.empty()) || ++m_nIdleTicks > kGiveUpTicks) {
      ++m_unexpected;
      m_nIdleTicks = 0;
      if (box) m_boxes.push_back(Seen(box));
      QTimer::singleShot(0, modal, [modal]() { static_cast<QDialog*>(modal)->reject(); });
    }
    return;
  }
  m_nIdleTicks = 0;
  Entry step = m_steps.front();
  m_steps.pop_front();
  m_bActionPending = true;
  if (box) {
    m_boxes.push_back(Seen(box));
    QTimer::singleShot(0, box, [this, box, button = step.button]() {
      m_bActionPending = false;
      if (QAbstractButton* target = box->button(button)) {
        target->click();
      } else {
        ++m_unexpected;  // the wanted button is not there
        box->reject();
      }
    });
  } else {
    QTimer::singleShot(0, modal, [this, modal, action = step.action]() {
      m_bActionPending = false;
      action(modal);
    });
  }
}

TempWorkDir::TempWorkDir() : m_previous(QDir::currentPath()) {
  QVERIFY(m_dir.isValid());
  QDir::setCurrent(m_dir.path());
}

TempWorkDir::~TempWorkDir() { QDir::setCurrent(m_previous); }

std::string TempWorkDir::File(const char* name) const {
  return QFile::encodeName(m_dir.filePath(QString::fromUtf8(name))).toStdString();
}

void TempWorkDir::WriteSettings(const std::string& device, int commandDelay) const {
  WriteSettingsFile(File("rzt_input.ini"), device, commandDelay);
}

void ClickButton(QWidget* window, const char* name) {
  auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
  QVERIFY2(button, name);
  QTest::mouseClick(button, Qt::LeftButton);
}

void SetUpWindowTests() {
  InitGuiResources();
  LoadJapaneseTranslations();
}

void DrainPostedEvents() {
  // Counts the queued calls (how the worker's reports arrive) that each round
  // runs; a round that runs none but its own end mark leaves nothing behind.
  class QueuedCalls final : public QObject {
   public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      count += event->type() == QEvent::MetaCall;
      return false;
    }
  } calls;
  QCoreApplication::instance()->installEventFilter(&calls);
  for (int ran = 2; ran > 1;) {
    calls.count = 0;
    bool marked = false;
    QMetaObject::invokeMethod(&calls, [&marked]() { marked = true; }, Qt::QueuedConnection);
    while (!marked) QCoreApplication::processEvents();
    ran = calls.count;
  }
  QCoreApplication::instance()->removeEventFilter(&calls);
}

std::unique_ptr<CTitlerDlg> WindowRig::Open(const TitlerOptions& options, FileNameSource* files) {
  if (!m_progress) m_progress = std::make_unique<CEntryProgressDlg>();
  m_pty = std::make_unique<PtyTransmitter>();
  m_dir = std::make_unique<TempWorkDir>();
  m_dir->WriteSettings(options.openLine ? std::string("/dev/vrellix-test-no-such-port") : m_pty->DevicePath());
  auto window = std::make_unique<CTitlerDlg>(*m_progress, options, files);
  window->show();
  window->activateWindow();
  return window;
}

void WindowRig::Reset() {
  m_dir.reset();
  m_pty.reset();
}

}  // namespace vrellix::testing
