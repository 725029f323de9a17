// よみを推定 and かなに変換 are wired: the fields' context menus list the
// candidates, the one picked lands in the field and the field's undo brings
// the old text back; the よみを一括推定 dialog shows the rows and takes what
// is picked and checked. (The window's own menu is in titler_window_test.)
// What the actions do is tested on the window logic (tests/window).
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QMenu>
#include <QtTest>
#include <memory>

#include "app/app_common.h"
#include "app/reading_choice_dlg.h"
#include "app/titler_dlg.h"
#include "app/track_edit_dlg.h"
#include "gui_test_support.h"
#include "reading/reading_test_names.h"
#include "sim/simulator_line.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

QLineEdit* Edit(QWidget* window, const char* name) { return window->findChild<QLineEdit*>(name); }

// Opens the field's context menu, records its items and picks sub from the
// submenu of the one named item.
QStringList PickFromMenu(ModalScript& script, QLineEdit* edit, const QString& item, const QString& sub) {
  auto items = std::make_shared<QStringList>();
  script.OnMenu([items, item, sub](QWidget* popup) {
    auto* menu = static_cast<QMenu*>(popup);
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      *items << action->text();
      if (action->text() != item || !action->menu()) continue;
      for (QAction* candidate : action->menu()->actions()) {
        if (candidate->text() == sub) chosen = candidate;
      }
    }
    menu->close();
    if (chosen) chosen->trigger();
  });
  emit edit->customContextMenuRequested(QPoint(5, 5));
  return *items;
}

}  // namespace

class ReadingsWindowTest : public QObject {
  Q_OBJECT

 private:
  WindowRig m_rig;
  TableReadingProvider m_dictionary = Dictionary();

 private slots:
  void initTestCase() { SetUpWindowTests(); }
  void cleanup() { m_rig.Reset(); }

  void mainWindowFieldsOfferTheCandidatesAndUndoRestoresTheOldText() {
    TitlerOptions options;
    options.openLine = sim::SimulatorLines();
    options.readings = &m_dictionary;
    options.learnedReadings = std::string();
    auto window = m_rig.Open(options);
    Edit(window.get(), "title")->setText(QStringLiteral("東京事変"));
    Edit(window.get(), "artist")->setText(QStringLiteral("初音ミク"));
    QLineEdit* yomi = Edit(window.get(), "yomi");
    yomi->setText(QStringLiteral("とうきょう"));

    ModalScript script;
    PickFromMenu(script, Edit(window.get(), "title"), QStringLiteral("よみを推定"), QStringLiteral("とうきょうじへん"));
    QTRY_COMPARE(yomi->text(), QStringLiteral("とうきょうじへん"));
    const QStringList items = PickFromMenu(script, Edit(window.get(), "artist"), QStringLiteral("かなに変換(カタカナ)"),
                                           QStringLiteral("ハツネミク"));
    QTRY_VERIFY(script.Done());
    QCOMPARE(Edit(window.get(), "artist")->text(), QStringLiteral("ハツネミク"));
    QVERIFY(items.size() > 2);  // the field's own undo, cut, paste... first
    QCOMPARE(items.mid(items.size() - 2), (QStringList{"かなに変換(ひらがな)", "かなに変換(カタカナ)"}));
    yomi->undo();
    QCOMPARE(yomi->text(), QStringLiteral("とうきょう"));
    QCOMPARE(script.Unexpected(), 0);
  }

  void trackEditDialogOffersBothActions() {
    ReadingActions actions(&m_dictionary, std::string());
    TrackEdit edit{"2", "少女", ""};
    CTrackEditDlg dialog(edit, &actions);
    dialog.show();
    ModalScript script;
    PickFromMenu(script, Edit(&dialog, "trackYomi"), QStringLiteral("よみを推定"), QStringLiteral("しょうじょ"));
    QTRY_COMPARE(Edit(&dialog, "trackYomi")->text(), QStringLiteral("しょうじょ"));
    PickFromMenu(script, Edit(&dialog, "trackName"), QStringLiteral("かなに変換(ひらがな)"), QStringLiteral("しょうじょ"));
    QTRY_VERIFY(script.Done());
    QCOMPARE(Edit(&dialog, "trackName")->text(), QStringLiteral("しょうじょ"));
    Edit(&dialog, "trackName")->undo();
    QCOMPARE(Edit(&dialog, "trackName")->text(), QStringLiteral("少女"));
  }

  void readingChoiceDialogTakesThePickedAndChecked() {
    ReadingChoices choices;
    choices.rows = {{AlbumField{AlbumField::Kind::kYomi, 0}, "米津玄師", {"よねつげんし", "よねづけんし"}, "よねつげんし", true},
                    {AlbumField{AlbumField::Kind::kTrackYomi, 1}, "少女", {"しょうじょ"}, "しょうじょ", true}};
    choices.skipped = {"skipped line"};
    CReadingChoiceDlg dialog(choices);
    dialog.show();
    auto* rows = dialog.findChild<QListWidget*>("readingRows");
    auto* reading = dialog.findChild<QComboBox*>("reading");
    QCOMPARE(rows->count(), 2);
    QCOMPARE(reading->count(), 2);
    QCOMPARE(dialog.findChild<QPlainTextEdit*>("readingSkipped")->toPlainText(), QStringLiteral("skipped line"));
    reading->setCurrentIndex(1);
    QCOMPARE(rows->item(0)->text(), QStringLiteral("よみ: よねづけんし (米津玄師)"));
    rows->item(1)->setCheckState(Qt::Unchecked);
    dialog.findChild<QPushButton*>("ok")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(choices.rows[0].reading, std::string("よねづけんし"));
    QVERIFY(!choices.rows[1].checked);
  }
};

QTEST_MAIN(ReadingsWindowTest)
#include "readings_window_test.moc"
