// よみを推定 and かなに変換 are wired: the fields' context menus offer them, an
// accepted suggestion lands in the field and the field's undo brings the old
// text back. (The window's own menu, with よみを一括推定 and CUE読込, is in
// titler_window_test.) What the actions do is tested on the window logic
// (tests/window).
#include <QLineEdit>
#include <QMenu>
#include <QtTest>
#include <memory>

#include "app/app_common.h"
#include "app/titler_dlg.h"
#include "app/track_edit_dlg.h"
#include "gui_test_support.h"
#include "reading/reading_test_names.h"
#include "sim/simulator_line.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

QLineEdit* Edit(QWidget* window, const char* name) { return window->findChild<QLineEdit*>(name); }

// Opens the field's context menu, records its items and picks the one named
// item, then answers the question it asks with Yes.
QStringList PickFromMenu(ModalScript& script, QLineEdit* edit, const QString& item) {
  auto items = std::make_shared<QStringList>();
  script.OnMenu([items, item](QWidget* popup) {
    auto* menu = static_cast<QMenu*>(popup);
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      *items << action->text();
      if (action->text() == item) chosen = action;
    }
    menu->close();
    if (chosen) chosen->trigger();
  });
  script.Answer(QMessageBox::Yes);
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

  void mainWindowFieldsOfferTheActionsAndUndoRestoresTheOldText() {
    TitlerOptions options;
    options.openLine = sim::SimulatorLines();
    options.readings = &m_dictionary;
    auto window = m_rig.Open(options);
    Edit(window.get(), "title")->setText(QStringLiteral("東京事変"));
    Edit(window.get(), "artist")->setText(QStringLiteral("初音ミク"));
    QLineEdit* yomi = Edit(window.get(), "yomi");
    yomi->setText(QStringLiteral("とうきょう"));

    ModalScript script;
    PickFromMenu(script, Edit(window.get(), "title"), QStringLiteral("よみを推定"));
    QTRY_COMPARE(yomi->text(), QStringLiteral("とうきょうじへん"));
    const QStringList items = PickFromMenu(script, Edit(window.get(), "artist"), QStringLiteral("かなに変換(カタカナ)"));
    QTRY_VERIFY(script.Done());
    QCOMPARE(Edit(window.get(), "artist")->text(), QStringLiteral("ハツネミク"));
    QVERIFY(items.size() > 2);  // the field's own undo, cut, paste... first
    QCOMPARE(items.mid(items.size() - 2), (QStringList{"かなに変換(ひらがな)", "かなに変換(カタカナ)"}));
    QVERIFY(script.Texts().value(0).endsWith(QStringLiteral("よみ: とうきょう → とうきょうじへん")));
    yomi->undo();
    QCOMPARE(yomi->text(), QStringLiteral("とうきょう"));
    QCOMPARE(script.Unexpected(), 0);
  }

  void trackEditDialogOffersBothActions() {
    ReadingActions actions(&m_dictionary);
    TrackEdit edit{"2", "少女", ""};
    CTrackEditDlg dialog(edit, &actions);
    dialog.show();
    ModalScript script;
    PickFromMenu(script, Edit(&dialog, "trackYomi"), QStringLiteral("よみを推定"));
    QTRY_COMPARE(Edit(&dialog, "trackYomi")->text(), QStringLiteral("しょうじょ"));
    PickFromMenu(script, Edit(&dialog, "trackName"), QStringLiteral("かなに変換(ひらがな)"));
    QTRY_VERIFY(script.Done());
    QCOMPARE(Edit(&dialog, "trackName")->text(), QStringLiteral("しょうじょ"));
    QVERIFY(script.Texts().value(1).endsWith(QStringLiteral("トラック2の曲名: 少女 → しょうじょ")));
    Edit(&dialog, "trackName")->undo();
    QCOMPARE(Edit(&dialog, "trackName")->text(), QStringLiteral("少女"));
  }
};

QTEST_MAIN(ReadingsWindowTest)
#include "readings_window_test.moc"
