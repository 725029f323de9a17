// The Start button through the real windows: the confirmation box, the
// progress window following a job over a pty in virtual time with Enter and
// Escape swallowed, its close box asking before it stops the job, and the simulator's dump
// dialog. The checks, the results and stopping are tested on the window logic
// (tests/window).
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/titler_dlg.h"
#include "job/job_plan.h"
#include "gui_test_support.h"
#include "sim/simulator_line.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

const QString kConfirm = QStringLiteral(
    "ＲＺＴへ文字入力を開始します\n入力を行うプレイリストが反転表示状態である事を確認して下さい\n約1分かかります\n"
    "よろしいですか？");
const QString kSuccess = QStringLiteral("入力処理は正常に終了しました");

QTableWidget* List(QWidget* window) { return window->findChild<QTableWidget*>("tracks"); }
QLineEdit* Edit(QWidget* window, const char* name) { return window->findChild<QLineEdit*>(name); }

void SetRow(QWidget* window, int row, const QString& name, const QString& reading, bool checked = true) {
  QTableWidget* list = List(window);
  list->item(row, 1)->setText(name);
  list->item(row, 2)->setText(reading);
  list->item(row, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace

class StartJobTest : public QObject {
  Q_OBJECT

 private:
  WindowRig m_rig;

  std::unique_ptr<CTitlerDlg> OpenWindow(Clock* clock, bool simulate = false) {
    TitlerOptions options;
    if (simulate) {
      options.openLine = sim::SimulatorLines({}, clock);
    } else {
      options.clock = clock;
    }
    return m_rig.Open(options);
  }

  // After a job: no box left over, the job idle, the buttons usable.
  void VerifyIdle(CTitlerDlg* window, ModalScript& script) {
    DrainPostedEvents();  // a stale result would show up now
    QCOMPARE(script.Unexpected(), 0);
    QVERIFY(window->Logic().IsJobIdle());
    QVERIFY(!m_rig.Progress().isVisible());
    QVERIFY(window->findChild<QPushButton*>("start")->isEnabled());
  }

 private slots:
  void initTestCase() { SetUpWindowTests(); }
  void cleanup() { m_rig.Reset(); }

  void startButtonRunsTheJobThroughTheProgressWindow() {
    HoldingClock clock;
    auto window = OpenWindow(&clock);
    Edit(window.get(), "title")->setText("T");
    QString status;
    int maximum = -1;
    bool stillOpen = false;
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    script.OnDialog(
        [&](QWidget* progress) {
          status = progress->findChild<QLabel*>("status")->text();
          maximum = progress->findChild<QProgressBar*>("progress")->maximum();
          QTest::keyClick(progress->findChild<QPushButton*>("abort"), Qt::Key_Return);
          QTest::keyClick(progress, Qt::Key_Enter);
          stillOpen = progress->isVisible();
          clock.Release();
        },
        [&]() {
          return clock.Waiting() && m_rig.Progress().findChild<QLabel*>("status")->text() ==
                                        QStringLiteral("タイトル名入力中");
        });
    script.Answer(QMessageBox::Ok);
    QTest::mouseClick(window->findChild<QPushButton*>("start"), Qt::LeftButton);
    QCOMPARE(script.Texts(), (QStringList{kConfirm, kSuccess}));
    QCOMPARE(script.Boxes()[0].caption, QStringLiteral("Vrellix"));
    QCOMPARE(script.Boxes()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(script.Boxes()[1].icon, QMessageBox::Information);
    QCOMPARE(status, QStringLiteral("タイトル名入力中"));
    Album title;
    title.Title = "T";
    QCOMPARE(maximum, PlanJob(title, {}, 0).keys);  // one bar over the job's keys
    QVERIFY(stillOpen);
    QCOMPARE(m_rig.Progress().findChild<QPushButton*>("abort")->text(), QStringLiteral("中断"));
    QVERIFY(!m_rig.Progress().findChild<QPushButton*>("abort")->isEnabled());  // once the job had ended
    VerifyIdle(window.get(), script);
  }

  void closeBoxStopsTheJobWithoutAResult() {
    HoldingClock clock;
    auto window = OpenWindow(&clock);
    Edit(window.get(), "title")->setText("T");
    auto script = std::make_unique<ModalScript>();
    script->Answer(QMessageBox::Yes);
    script->OnDialog([](QWidget* progress) { progress->close(); }, [&]() { return clock.Waiting(); });
    script->Answer(QMessageBox::Yes);
    script->Answer(QMessageBox::Ok);  // where it stopped
    window->Logic().OnStart();
    QVERIFY(script->Done());
    QCOMPARE(script->Texts().size(), 3);
    QCOMPARE(script->Texts()[0], kConfirm);
    QCOMPARE(script->Texts()[1], QStringLiteral("入力処理を中止します。よろしいですか？"));
    QVERIFY(script->Texts()[2].startsWith(QStringLiteral("「タイトル」の入力中に中止しました\n")));
    QCOMPARE(m_rig.Pty().PacketCount(), 1);  // held in the wait after the first key
    VerifyIdle(window.get(), *script);
    QCOMPARE(m_rig.Pty().PacketCount(), 1);
  }

  void simulatorShowsWhatTheDeviceHolds() {
    auto window = OpenWindow(nullptr, true);
    QVERIFY(window->findChild<QPushButton*>("start")->isEnabled());
    Edit(window.get(), "title")->setText("Abc 1");
    Edit(window.get(), "yomi")->setText(QStringLiteral("あいう"));
    SetRow(window.get(), 2, QStringLiteral("ﾄﾗｯｸ"), QStringLiteral("とらっく"));
    QString dump;
    QString verdict;
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    script.Answer(QMessageBox::Ok);
    script.OnDialog([&](QWidget* dialog) {
      dump = dialog->findChild<QPlainTextEdit*>("dumpText")->toPlainText();
      verdict = dialog->findChild<QPlainTextEdit*>("verdict")->toPlainText();
      static_cast<QDialog*>(dialog)->accept();
    });
    window->Logic().OnStart();
    QCOMPARE(script.Texts(), (QStringList{kConfirm, kSuccess}));
    // The bar full, and the simulator's time (not the moment the run took) with none left.
    const QProgressBar* bar = m_rig.Progress().findChild<QProgressBar*>("progress");
    QCOMPARE(bar->value(), bar->maximum());
    const QString times = m_rig.Progress().findChild<QLabel*>("times")->text();
    QVERIFY2(times.endsWith(QStringLiteral("残り 約0:00")) && !times.startsWith(QStringLiteral("経過 0:00")),
             qPrintable(times));
    const QStringList lines = dump.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.contains(QStringLiteral("title Abc 1")), qPrintable(dump));
    QVERIFY2(lines.contains(QStringLiteral("yomi あいう")), qPrintable(dump));
    QVERIFY2(lines.contains(QStringLiteral("track 3 name ﾄﾗｯｸ")), qPrintable(dump));
    QVERIFY2(lines.contains(QStringLiteral("track 3 yomi とらっく")), qPrintable(dump));
    for (const QString& line : lines) QVERIFY2(!line.startsWith("error"), qPrintable(line));
    // The artist is empty in the album: the device keeps its old one, and the verdict says so.
    QVERIFY2(verdict.split('\n').contains(QStringLiteral("アーティスト: 以前の内容のまま")), qPrintable(verdict));
  }
};

QTEST_MAIN(StartJobTest)
#include "start_job_test.moc"
