// The Start button from the checks to the end of the job: fault messages, the
// confirmation, a job run through the progress window over a pty in virtual
// time, failure, stopping, and the simulator.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/titler_dlg.h"
#include "gui_test_support.h"
#include "link/keys.h"
#include "support/fake_clock.h"
#include "text/text_codec.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

const QString kConfirm = QStringLiteral(
    "ＲＺＴへ文字入力を開始します\n入力を行うプレイリストが反転表示状態である事を確認して下さい\nよろしいですか？");
const QString kSuccess = QStringLiteral("入力処理は正常に終了しました");
const QString kFailure = QStringLiteral("エラーが発生したので入力処理を中止します(たぶんシリアル通信エラー)");
const QString kAbortQuestion = QStringLiteral("入力処理を中止します。よろしいですか？");

QTableWidget* List(QWidget* window) { return window->findChild<QTableWidget*>("ctl1006"); }
QLineEdit* Edit(QWidget* window, const char* name) { return window->findChild<QLineEdit*>(name); }

void SetRow(QWidget* window, int row, const QString& name, const QString& reading, bool checked = true) {
  QTableWidget* list = List(window);
  list->item(row, 1)->setText(name);
  list->item(row, 2)->setText(reading);
  list->item(row, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

using Setup = std::function<void(QWidget*)>;

}  // namespace

Q_DECLARE_METATYPE(Setup)

class StartJobTest : public QObject {
  Q_OBJECT

 private:
  WindowRig m_rig;

  std::unique_ptr<CTitlerDlg> OpenWindow(Clock* clock, bool simulate = false) {
    TitlerOptions options;
    options.clock = clock;
    options.simulate = simulate;
    return m_rig.Open(options);
  }

  // After a job: no box left over, the job idle, the buttons usable.
  void VerifyIdle(CTitlerDlg* window, ModalScript& script) {
    QTest::qWait(50);  // a stale result would show up now
    QCOMPARE(script.Unexpected(), 0);
    QVERIFY(window->Logic().IsJobIdle());
    QVERIFY(!g_dlgProgress->isVisible());
    QVERIFY(window->findChild<QPushButton*>("ctl1002")->isEnabled());
  }

 private slots:
  void initTestCase() { SetUpWindowTests(); }
  void cleanupTestCase() { TearDownWindowTests(); }
  void cleanup() { m_rig.Reset(); }

  void faultIsReportedOnceAndNothingIsSent_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("message");
    QTest::newRow("title too long")
        << Setup([](QWidget* w) { Edit(w, "ctl1003")->setText(QString(33, 'a')); })
        << QStringLiteral("文字数が半角３２文字を越えています。修正して下さい(Title)");
    QTest::newRow("kanji in the title")
        << Setup([](QWidget* w) { Edit(w, "ctl1003")->setText(QStringLiteral("曲")); })
        << QStringLiteral("不正な文字が含まれています。修正して下さい(Title)");
    QTest::newRow("17 hiragana as the reading")
        << Setup([](QWidget* w) { Edit(w, "ctl1004")->setText(QStringLiteral("あ").repeated(17)); })
        << QStringLiteral("文字数が１６文字を越えています。修正して下さい(よみ)");
    QTest::newRow("katakana in the reading")
        << Setup([](QWidget* w) { Edit(w, "ctl1004")->setText(QStringLiteral("カ")); })
        << QStringLiteral("不正な文字が含まれています。修正して下さい(よみ)");
    QTest::newRow("artist too long, after a good title")
        << Setup([](QWidget* w) {
             Edit(w, "ctl1003")->setText("ok");
             Edit(w, "ctl1007")->setText(QString(33, 'b'));
           })
        << QStringLiteral("文字数が半角３２文字を越えています。修正して下さい(Artist)");
    QTest::newRow("kanji in track 1")
        << Setup([](QWidget* w) { SetRow(w, 0, QStringLiteral("漢"), QString()); })
        << QStringLiteral("不正な文字が含まれています。修正して下さい(Track[1])");
    QTest::newRow("letters in the reading of track 3")
        << Setup([](QWidget* w) { SetRow(w, 2, "name", "abc"); })
        << QStringLiteral("不正な文字が含まれています。修正して下さい(Track[3])(よみ)");
    QTest::newRow("reading without a name on track 2")
        << Setup([](QWidget* w) { SetRow(w, 1, "  ", QStringLiteral("よみ")); })
        << QStringLiteral("曲名が未入力で「よみ」が入力されています。修正して下さい(Track[2])");
  }

  void faultIsReportedOnceAndNothingIsSent() {
    QFETCH(Setup, setup);
    QFETCH(QString, message);
    FakeClock clock;
    auto window = OpenWindow(&clock);
    SetRow(window.get(), 9, QStringLiteral("漢字"), "unchecked rows are not checked", false);
    setup(window.get());
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    QTest::mouseClick(window->findChild<QPushButton*>("ctl1002"), Qt::LeftButton);
    QCOMPARE(script.Texts(), QStringList{message});
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Warning);
    QCOMPARE(script.Boxes()[0].caption, QStringLiteral("Vrellix"));
    QCOMPARE(m_rig.Pty().PacketCount(), 0);
  }

  void nothingToEnter() {
    FakeClock clock;
    auto window = OpenWindow(&clock);
    SetRow(window.get(), 0, " ", QString());  // checked, but empty after trimming
    SetRow(window.get(), 1, "unchecked", QString(), false);
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    window->Logic().OnStart();
    QCOMPARE(script.Texts(), QStringList{"入力を行う文字がありません"});
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Information);
    QCOMPARE(m_rig.Pty().PacketCount(), 0);
  }

  void noAtTheConfirmationSendsNothing() {
    FakeClock clock;
    auto window = OpenWindow(&clock);
    Edit(window.get(), "ctl1004")->setText(QStringLiteral("よみ"));  // a reading alone is enough
    ModalScript script;
    script.Answer(QMessageBox::No);
    window->Logic().OnStart();
    QCOMPARE(script.Texts(), QStringList{kConfirm});
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Information);
    QCOMPARE(script.Boxes()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QTest::qWait(50);
    QCOMPARE(m_rig.Pty().PacketCount(), 0);
    QVERIFY(window->Logic().IsJobIdle());
  }

  void yesRunsTheJobToTheSuccessBoxTwice() {
    FakeClock clock;
    auto window = OpenWindow(&clock);
    Edit(window.get(), "ctl1003")->setText(" A");
    SetRow(window.get(), 1, QStringLiteral(" ｶ "), QStringLiteral("か"));
    SetRow(window.get(), 4, "not entered", QString(), false);
    for (int run = 0; run < 2; ++run) {
      ModalScript script;
      script.Answer(QMessageBox::Yes);
      script.Answer(QMessageBox::Ok);
      const int packetsBefore = m_rig.Pty().PacketCount();
      QTest::mouseClick(window->findChild<QPushButton*>("ctl1002"), Qt::LeftButton);
      QCOMPARE(script.Texts(), (QStringList{kConfirm, kSuccess}));
      QCOMPARE(script.Boxes()[1].icon, QMessageBox::Information);
      const std::vector<int> keys = m_rig.Pty().Keys();
      QVERIFY(static_cast<int>(keys.size()) > packetsBefore + 40);
      QCOMPARE(keys[packetsBefore], KEY_SELECT);
      QCOMPARE(keys.back(), KEY_BACK);
      QCOMPARE(g_dlgProgress->m_ctlProgress->maximum(), 4);  // three header fields + one track
      QCOMPARE(g_dlgProgress->m_ctlProgress->value(), 4);
      VerifyIdle(window.get(), script);
    }
    const Album& album = window->Logic().EntryAlbum();
    QCOMPARE(album.Title, std::string(" A"));  // as typed
    QCOMPARE(album.Tracks[1].Name, *Utf8ToCp932("ｶ"));  // trimmed
    QVERIFY(album.Tracks[4].Name.empty());  // unchecked rows are emptied
  }

  void failingTransmitterEndsInTheFailureBox() {
    FakeClock clock;
    auto window = OpenWindow(&clock);
    m_rig.Pty().SetNak(true);
    Edit(window.get(), "ctl1007")->setText("artist");
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    script.Answer(QMessageBox::Ok);
    window->Logic().OnStart();
    QCOMPARE(script.Texts(), (QStringList{kConfirm, kFailure}));
    QCOMPARE(script.Boxes()[1].icon, QMessageBox::Critical);
    QCOMPARE(m_rig.Pty().PacketCount(), 2);  // the first key, tried twice
    VerifyIdle(window.get(), script);
  }

  void firstStatusAndRangeReachTheWindowAndEnterEscapeAreSwallowed() {
    HoldingClock clock;
    auto window = OpenWindow(&clock);
    Edit(window.get(), "ctl1003")->setText("T");
    QString status;
    int maximum = -1;
    bool stillOpen = false;
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    script.OnDialog(
        [&](QWidget* progress) {
          status = progress->findChild<QLabel*>("ctl1011")->text();
          maximum = progress->findChild<QProgressBar*>("ctl1010")->maximum();
          QTest::keyClick(progress->findChild<QPushButton*>("ctl1000"), Qt::Key_Return);
          QTest::keyClick(progress->findChild<QPushButton*>("ctl1000"), Qt::Key_Escape);
          QTest::keyClick(progress, Qt::Key_Enter);
          stillOpen = progress->isVisible();
          clock.Release();
        },
        [&]() {
          return clock.Waiting() && g_dlgProgress->findChild<QLabel*>("ctl1011")->text() ==
                                        QStringLiteral("タイトル名入力中");
        });
    script.Answer(QMessageBox::Ok);
    window->Logic().OnStart();
    QCOMPARE(script.Texts(), (QStringList{kConfirm, kSuccess}));
    QCOMPARE(status, QStringLiteral("タイトル名入力中"));
    QCOMPARE(maximum, 3);
    QVERIFY(stillOpen);
    QCOMPARE(g_dlgProgress->findChild<QPushButton*>("ctl1000")->text(), QStringLiteral("中断"));
    VerifyIdle(window.get(), script);
  }

  void abortAnsweredNoGoesOn() {
    HoldingClock clock;
    auto window = OpenWindow(&clock);
    Edit(window.get(), "ctl1003")->setText("T");
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    script.OnDialog([](QWidget* progress) { ClickButton(progress, "ctl1000"); }, [&]() { return clock.Waiting(); });
    script.Answer(QMessageBox::No);
    script.OnDialog([&](QWidget*) { clock.Release(); });
    script.Answer(QMessageBox::Ok);
    window->Logic().OnStart();
    QCOMPARE(script.Texts(), (QStringList{kConfirm, kAbortQuestion, kSuccess}));
    QCOMPARE(script.Boxes()[1].icon, QMessageBox::Warning);
    QCOMPARE(script.Boxes()[1].buttons, QMessageBox::Yes | QMessageBox::No);
    VerifyIdle(window.get(), script);
  }

  void abortYesAndCloseBoxStopTheJobWithoutAResult_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("中断 and Yes") << false;
    QTest::newRow("close box") << true;
  }

  void abortYesAndCloseBoxStopTheJobWithoutAResult() {
    QFETCH(bool, closeBox);
    HoldingClock clock;
    auto window = OpenWindow(&clock);
    Edit(window.get(), "ctl1003")->setText("T");
    SetRow(window.get(), 0, "x", QString());
    auto script = std::make_unique<ModalScript>();
    script->Answer(QMessageBox::Yes);
    if (closeBox) {
      script->OnDialog([](QWidget* progress) { progress->close(); }, [&]() { return clock.Waiting(); });
    } else {
      script->OnDialog([](QWidget* progress) { ClickButton(progress, "ctl1000"); }, [&]() { return clock.Waiting(); });
      script->Answer(QMessageBox::Yes);
    }
    window->Logic().OnStart();
    QVERIFY(script->Done());
    QCOMPARE(script->Texts().size(), closeBox ? 1 : 2);
    const int sent = m_rig.Pty().PacketCount();
    QCOMPARE(sent, 1);  // held in the wait after the first key
    VerifyIdle(window.get(), *script);
    QCOMPARE(m_rig.Pty().PacketCount(), sent);
    script.reset();  // two scripts would both answer the next box

    // The next job starts afresh and runs to its end.
    clock.Release();
    ModalScript again;
    again.Answer(QMessageBox::Yes);
    again.Answer(QMessageBox::Ok);
    window->Logic().OnStart();
    QCOMPARE(again.Texts(), (QStringList{kConfirm, kSuccess}));
    VerifyIdle(window.get(), again);
  }

  void simulatorShowsWhatTheDeviceHolds() {
    auto window = OpenWindow(nullptr, true);
    QVERIFY(window->findChild<QPushButton*>("ctl1002")->isEnabled());
    Edit(window.get(), "ctl1003")->setText("Abc 1");
    Edit(window.get(), "ctl1004")->setText(QStringLiteral("あいう"));
    SetRow(window.get(), 2, QStringLiteral("ﾄﾗｯｸ"), QStringLiteral("とらっく"));
    QString dump;
    QString verdict;
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    script.Answer(QMessageBox::Ok);
    script.OnDialog([&](QWidget* dialog) {
      dump = dialog->findChild<QPlainTextEdit*>("dumpText")->toPlainText();
      verdict = dialog->findChild<QLabel*>("verdict")->text();
      static_cast<QDialog*>(dialog)->accept();
    });
    window->Logic().OnStart();
    QCOMPARE(script.Texts(), (QStringList{kConfirm, kSuccess}));
    const QStringList lines = dump.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.contains(QStringLiteral("title Abc 1")), qPrintable(dump));
    QVERIFY2(lines.contains(QStringLiteral("yomi あいう")), qPrintable(dump));
    QVERIFY2(lines.contains(QStringLiteral("track 3 name ﾄﾗｯｸ")), qPrintable(dump));
    QVERIFY2(lines.contains(QStringLiteral("track 3 yomi とらっく")), qPrintable(dump));
    for (const QString& line : lines) QVERIFY2(!line.startsWith("error"), qPrintable(line));
    QCOMPARE(verdict, QStringLiteral("ＲＺＴはアルバムのとおりの内容を保持しています"));
  }
};

QTEST_MAIN(StartJobTest)
#include "start_job_test.moc"
