// Loading and saving CSV files through the main window's buttons, with the file
// names supplied by the test.
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/file_dialogs.h"
#include "app/titler_dlg.h"
#include "gui_test_support.h"
#include "text/text_codec.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

class ScriptedFiles final : public FileNameSource {
 public:
  std::optional<QString> name;  // nothing: the user cancels
  int asked = 0;
  std::optional<QString> OpenFileName(QWidget*) override { ++asked; return name; }
  std::optional<QString> SaveFileName(QWidget*) override { ++asked; return name; }
};

QTableWidget* List(QWidget* window) { return window->findChild<QTableWidget*>("ctl1006"); }
QLineEdit* Edit(QWidget* window, const char* name) { return window->findChild<QLineEdit*>(name); }

void WriteBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace

class CsvHandlersTest : public QObject {
  Q_OBJECT

 private:
  WindowRig m_rig;
  ScriptedFiles m_files;

  std::unique_ptr<CTitlerDlg> OpenWindow() {
    return m_rig.Open({}, &m_files);
  }

  QString PathOf(const char* name) { return m_rig.Dir().Path() + "/" + name; }

 private slots:
  void initTestCase() { SetUpWindowTests(); }
  void cleanupTestCase() { TearDownWindowTests(); }
  void cleanup() {
    m_rig.Reset();
    m_files = ScriptedFiles();
  }

  void loadFillsTheWindowAndChecksNamedRows() {
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    list->item(2, 0)->setCheckState(Qt::Checked);  // gets no name: keeps its check
    list->item(3, 0)->setCheckState(Qt::Unchecked);
    list->item(3, 1)->setText("old");
    WriteBytes(PathOf("album.csv"),
               *Utf8ToCp932("タイトル\r\nたいとる\r\nArtist\r\n曲一,きょくいち\r\nnone,none\r\n"));
    m_files.name = PathOf("album.csv");
    ModalScript script;
    QTest::mouseClick(window->findChild<QPushButton*>("ctl1000"), Qt::LeftButton);
    QVERIFY(script.Boxes().empty());
    QCOMPARE(Edit(window.get(), "ctl1003")->text(), QStringLiteral("タイトル"));
    QCOMPARE(Edit(window.get(), "ctl1004")->text(), QStringLiteral("たいとる"));
    QCOMPARE(Edit(window.get(), "ctl1007")->text(), QStringLiteral("Artist"));
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("曲一"));
    QCOMPARE(list->item(0, 2)->text(), QStringLiteral("きょくいち"));
    QCOMPARE(list->item(0, 0)->checkState(), Qt::Checked);
    QCOMPARE(list->item(1, 0)->checkState(), Qt::Unchecked);
    QCOMPARE(list->item(2, 0)->checkState(), Qt::Checked);
    QCOMPARE(list->item(3, 1)->text(), QString());  // a short file empties the rest
    QCOMPARE(list->rowCount(), 50);
  }

  void loadErrorLeavesTheWindowUnchanged_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("33 bytes in field 5")
        << QByteArray("t\r\ny\r\na\r\nname," + QByteArray(33, 'x') + "\r\n")
        << QStringLiteral("フォーマットエラー検出(文字数オーバー[5項目目])");
    QByteArray many;
    for (int i = 0; i < 104; ++i) many += "f,";
    QTest::newRow("104 fields") << many << QStringLiteral("フォーマットエラー検出(項目数オーバーフロー)");
  }

  void loadErrorLeavesTheWindowUnchanged() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    Edit(window.get(), "ctl1003")->setText("keep");
    list->item(0, 1)->setText("track");
    WriteBytes(PathOf("bad.csv"), content.toStdString());
    m_files.name = PathOf("bad.csv");
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    window->Logic().OnLoadCsv();
    QCOMPARE(script.Texts(), QStringList{message});
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Warning);
    QCOMPARE(Edit(window.get(), "ctl1003")->text(), QStringLiteral("keep"));
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("track"));
    QCOMPARE(list->item(0, 0)->checkState(), Qt::Unchecked);
  }

  void missingFileAndCancelledDialog() {
    auto window = OpenWindow();
    Edit(window.get(), "ctl1003")->setText("keep");
    ModalScript script;
    window->Logic().OnLoadCsv();  // cancelled: nothing at all
    QVERIFY(script.Boxes().empty());
    m_files.name = PathOf("missing.csv");
    script.Answer(QMessageBox::Ok);
    window->Logic().OnLoadCsv();
    QCOMPARE(script.Texts(), QStringList{"ファイルオープンに失敗しました"});
    QCOMPARE(Edit(window.get(), "ctl1003")->text(), QStringLiteral("keep"));
  }

  void saveWritesTheFileAndSaysSo() {
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    Edit(window.get(), "ctl1003")->setText(" タイトル ");
    list->item(1, 1)->setText("two");
    m_files.name = PathOf("out.csv");
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    QTest::mouseClick(window->findChild<QPushButton*>("ctl1001"), Qt::LeftButton);
    QCOMPARE(script.Texts(), QStringList{"ＳＡＶＥ終了"});
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Information);
    const std::string expected = *Utf8ToCp932("タイトル\r\nnone\r\nnone\r\nnone,none\r\ntwo,none\r\n");
    QCOMPARE(ReadBytes(PathOf("out.csv")), QByteArray::fromStdString(expected));
  }

  void saveRefusesAComma() {
    auto window = OpenWindow();
    List(window.get())->item(2, 1)->setText("name");
    List(window.get())->item(2, 2)->setText("a,b");
    m_files.name = PathOf("out.csv");
    WriteBytes(PathOf("out.csv"), "previous\r\n");
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    window->Logic().OnSaveCsv();
    QCOMPARE(script.Boxes().size(), 1u);
    QVERIFY2(script.Texts()[0].startsWith(QStringLiteral("「,」(半角カンマ)はCSVファイルに保存できません。修正して下さい")), qPrintable(script.Texts()[0]));
    QVERIFY(script.Texts()[0].endsWith(QStringLiteral("(Track[3])(よみ)")));
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Warning);
    QCOMPARE(ReadBytes(PathOf("out.csv")), QByteArray("previous\r\n"));
  }

  void fileDialogsStartWithTheCsvFilesOfTheFolder_data() {
    QTest::addColumn<bool>("save");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
  }

  void fileDialogsStartWithTheCsvFilesOfTheFolder() {
    QFETCH(bool, save);
    TempWorkDir dir;
    QString initialName;
    int acceptMode = -1;
    ModalScript script;
    script.OnDialog([&](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      if (files) {
        acceptMode = files->acceptMode();
        if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) initialName = name->text();
      }
      static_cast<QDialog*>(dialog)->reject();
    });
    DialogFileNameSource source;
    const auto name = save ? source.SaveFileName(nullptr) : source.OpenFileName(nullptr);
    QVERIFY(script.Done());
    QVERIFY(!name);  // cancelled
    QCOMPARE(initialName, QStringLiteral("*.csv"));
    QCOMPARE(acceptMode, int(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen));
  }

  void savedAlbumLoadsBack() {
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    Edit(window.get(), "ctl1004")->setText("よみ");
    list->item(49, 1)->setText("last");
    m_files.name = PathOf("round.csv");
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    window->Logic().OnSaveCsv();
    Edit(window.get(), "ctl1004")->setText("changed");
    list->item(49, 1)->setText(QString());
    window->Logic().OnLoadCsv();
    QCOMPARE(Edit(window.get(), "ctl1004")->text(), QStringLiteral("よみ"));
    QCOMPARE(list->item(49, 1)->text(), QStringLiteral("last"));
    QCOMPARE(list->item(49, 0)->checkState(), Qt::Checked);
  }
};

QTEST_MAIN(CsvHandlersTest)
#include "csv_handlers_test.moc"
