// The progress window on its own as widgets: reports from a worker thread
// reaching the bar through Qt's queue, the result boxes, the 中断 button and its
// question, keys, and a result handled inside the question's own loop. The
// window's rules are tested on the window logic (tests/window).
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <thread>

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "gui_test_support.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

const QString kSuccess = QStringLiteral("入力処理は正常に終了しました");
const QString kFailure = QStringLiteral(
    "エラーが発生したので入力処理を中止します(たぶんシリアル通信エラー)\n"
    "赤外線送信機のケーブルと電源、通信設定の通信ポートを確認して下さい");
const QString kAbortQuestion = QStringLiteral("入力処理を中止します。よろしいですか？");

// Reports from a thread of its own, as the worker does, before the window opens.
void ReportFromWorker(CEntryProgressDlg& dialog, std::function<void(JobReporter&)> reports) {
  std::thread worker([&]() { reports(dialog.Logic()); });
  worker.join();
}

}  // namespace

class EntryProgressDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InitGuiResources(); }

  void reportsBeforeTheWindowOpensReachIt_data() {
    QTest::addColumn<bool>("success");
    QTest::newRow("success") << true;
    QTest::newRow("failure") << false;
  }

  void reportsBeforeTheWindowOpensReachIt() {
    QFETCH(bool, success);
    CEntryProgressDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ＲＺＴデータ入力中"));
    dialog.Logic().BeginJob();
    ReportFromWorker(dialog, [success](JobReporter& reporter) {
      reporter.SetRange(7);
      reporter.SetStatus("トラック情報入力中[ 1／2 ]");
      reporter.SetPosition(3);
      QVERIFY(reporter.PostResult(success));
    });
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    const bool result = dialog.Logic().DoModal();
    dialog.Logic().EndJob();
    QCOMPARE(script.Texts(), QStringList{success ? kSuccess : kFailure});
    QCOMPARE(script.Boxes()[0].icon, success ? QMessageBox::Information : QMessageBox::Critical);
    QCOMPARE(script.Boxes()[0].caption, QStringLiteral("Vrellix"));
    QCOMPARE(result, success);
    QCOMPARE(dialog.m_ctlProgress->maximum(), 7);
    QCOMPARE(dialog.m_ctlProgress->value(), 3);
    QCOMPARE(dialog.Logic().Status(), std::string("トラック情報入力中[ 1／2 ]"));
  }

  // Enter does nothing; Escape and the close box ask as 中断 does.
  void statusFollowsTheWorkerEnterDoesNothingEscapeAsks() {
    CEntryProgressDlg dialog;
    dialog.Logic().BeginJob();
    dialog.Logic().SetStatus("よみ入力中");
    QString shown;
    bool openAfterEnter = false;
    bool openAfterEscape = false;
    ModalScript script;
    script.OnDialog(
        [&](QWidget* progress) {
          shown = progress->findChild<QLabel*>("status")->text();
          for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(progress->findChild<QPushButton*>("abort"), Qt::Key(key));
            QTest::keyClick(progress, Qt::Key(key));
          }
          openAfterEnter = progress->isVisible();
          QTest::keyClick(progress, Qt::Key_Escape);  // answered No
          openAfterEscape = progress->isVisible();
          progress->close();  // the close box, answered Yes
        },
        [&]() { return dialog.findChild<QLabel*>("status")->text() == QStringLiteral("よみ入力中"); });
    script.Answer(QMessageBox::No);
    script.Answer(QMessageBox::Yes);
    QVERIFY(!dialog.Logic().DoModal());
    dialog.Logic().EndJob();
    QCOMPARE(shown, QStringLiteral("よみ入力中"));
    QVERIFY(openAfterEnter);
    QVERIFY(openAfterEscape);
    QCOMPARE(script.Texts(), (QStringList{kAbortQuestion, kAbortQuestion}));
    QCOMPARE(script.Unexpected(), 0);
  }

  void abortQuestion() {
    CEntryProgressDlg dialog;
    dialog.Logic().BeginJob();
    ModalScript script;
    script.OnDialog([](QWidget* progress) { ClickButton(progress, "abort"); });
    script.Answer(QMessageBox::No);
    script.OnDialog([](QWidget* progress) { ClickButton(progress, "abort"); });
    script.Answer(QMessageBox::Yes);
    QVERIFY(!dialog.Logic().DoModal());
    dialog.Logic().EndJob();
    QCOMPARE(script.Texts(), (QStringList{kAbortQuestion, kAbortQuestion}));
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Warning);
    QVERIFY(script.Done());
  }

  void resultArrivingDuringTheAbortQuestionClosesTheWindow() {
    CEntryProgressDlg dialog;
    dialog.Logic().BeginJob();
    ModalScript script;
    script.OnDialog([&](QWidget* progress) {
      dialog.Logic().PostResult(true);  // queued: handled inside the question's own loop
      ClickButton(progress, "abort");
    });
    script.Answer(QMessageBox::Ok);
    script.Answer(QMessageBox::No);
    QVERIFY(dialog.Logic().DoModal());
    dialog.Logic().EndJob();
    QCOMPARE(script.Texts(), (QStringList{kSuccess, kAbortQuestion}));
  }
};

QTEST_MAIN(EntryProgressDlgTest)
#include "entry_progress_dlg_test.moc"
