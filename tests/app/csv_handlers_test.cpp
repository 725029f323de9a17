// The file dialogs, and the load and save buttons wired to the window logic
// (what loading and saving do is tested there, in tests/window).
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
#include "support/scratch_dir.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

class ScriptedFiles final : public FileNameSource {
 public:
  std::optional<QString> name;  // nothing: the user cancels
  QStringList asked;  // "open" or "save", in order
  std::optional<QString> OpenFileName(QWidget*, const QString&) override {
    asked << "open";
    return name;
  }
  std::optional<QString> SaveFileName(QWidget*, const QString&) override {
    asked << "save";
    return name;
  }
};

QTableWidget* List(QWidget* window) { return window->findChild<QTableWidget*>("tracks"); }
QLineEdit* Edit(QWidget* window, const char* name) { return window->findChild<QLineEdit*>(name); }

}  // namespace

class CsvHandlersTest : public QObject {
  Q_OBJECT

 private:
  WindowRig m_rig;
  ScriptedFiles m_files;

  std::unique_ptr<CTitlerDlg> OpenWindow() { return m_rig.Open({}, &m_files); }

  QString PathOf(const char* name) { return m_rig.Dir().Path() + "/" + name; }

 private slots:
  void initTestCase() { SetUpWindowTests(); }
  void cleanup() {
    m_rig.Reset();
    m_files = ScriptedFiles();
  }

  // The dialog starts as the window logic says (tests/window): without a file
  // yet in the current folder, listing its CSV files; after one, saving opens
  // in its folder and offers its name. All files on request.
  void fileDialogsStartWhereTheLogicSays_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("initialName");
    QTest::newRow("open") << false << "";
    QTest::newRow("save after a file") << true << "album.csv";
  }

  void fileDialogsStartWhereTheLogicSays() {
    QFETCH(bool, save);
    QFETCH(QString, initialName);
    TempWorkDir dir;
    QTemporaryDir other;
    QString shownName, folder, filter;
    QStringList filters;
    int acceptMode = -1;
    ModalScript script;
    script.OnDialog([&](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      if (files) {
        acceptMode = files->acceptMode();
        folder = files->directory().absolutePath();
        filters = files->nameFilters();
        filter = files->selectedNameFilter();
        if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) shownName = name->text();
      }
      static_cast<QDialog*>(dialog)->reject();
    });
    DialogFileNameSource source;
    const auto name = save ? source.SaveFileName(nullptr, other.filePath(QStringLiteral("album.csv")))
                           : source.OpenFileName(nullptr, QString());
    QVERIFY(script.Done());
    QVERIFY(!name);  // cancelled
    QCOMPARE(shownName, initialName);
    QCOMPARE(filters, (QStringList{"CSVファイル (*.csv)", "すべてのファイル (*.*)"}));
    QCOMPARE(filter, filters[0]);
    QCOMPARE(folder, QDir(save ? other.path() : dir.Path()).absolutePath());
    QCOMPARE(acceptMode, int(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen));
  }

  // CSVﾌｧｲﾙ保存 with the real dialog: "out" typed where out.csv exists asks
  // about out.csv, and No leaves it as it was.
  void typedNameWithoutExtensionAsksAboutTheCsvFile() {
    auto window = m_rig.Open();
    WriteBytes(m_rig.Dir().File("out.csv"), "kept\r\n");
    ModalScript script;
    script.OnDialog([](QWidget* dialog) {
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText("out");
      static_cast<QDialog*>(dialog)->accept();
    });
    script.Answer(QMessageBox::No);
    script.OnDialog([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    ClickButton(window.get(), "saveCsv");
    QVERIFY(script.Done() && script.Texts().value(0).contains("out.csv"));
    QCOMPARE(ReadBytes(m_rig.Dir().File("out.csv")), std::string("kept\r\n"));
  }

  // Through the buttons: the texts, cells and check marks reach the file and
  // come back into the widgets.
  void saveAndLoadButtonsRoundTheAlbum() {
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    Edit(window.get(), "yomi")->setText("よみ");
    list->item(49, 1)->setText("last");
    m_files.name = PathOf("round.csv");
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    QTest::mouseClick(window->findChild<QPushButton*>("saveCsv"), Qt::LeftButton);
    QCOMPARE(script.Texts(), QStringList{"ＳＡＶＥ終了"});
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Information);
    Edit(window.get(), "yomi")->setText("changed");
    list->item(49, 1)->setText(QString());
    script.Answer(QMessageBox::Yes);  // load over the changes
    QTest::mouseClick(window->findChild<QPushButton*>("loadCsv"), Qt::LeftButton);
    QCOMPARE(script.Boxes().size(), 2u);
    QCOMPARE(script.Boxes()[1].defaultButton, QMessageBox::No);
    QCOMPARE(m_files.asked, (QStringList{"save", "open"}));
    QCOMPARE(Edit(window.get(), "yomi")->text(), QStringLiteral("よみ"));
    QCOMPARE(list->item(49, 1)->text(), QStringLiteral("last"));
    QCOMPARE(list->item(49, 0)->checkState(), Qt::Checked);
    QCOMPARE(script.Unexpected(), 0);
  }
};

QTEST_MAIN(CsvHandlersTest)
#include "csv_handlers_test.moc"
