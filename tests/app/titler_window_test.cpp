// The main window, the track edit dialog and the About box as widgets, driven
// as a user would: the box and the greyed buttons without a port, the track
// list, real clicks on cells, keys, the exit question's box, tab orders and the
// context menu. What the window does with them is tested on the window logic
// (tests/window).
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "app/about_dlg.h"
#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/port_settings_dlg.h"
#include "app/titler_dlg.h"
#include "app/track_edit_dlg.h"
#include "gui_test_support.h"
#include "sim/simulator_line.h"
#include "support/real_ports.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

const char* const kMissingDevice = "/dev/vrellix-test-no-such-port";

QTableWidget* List(QWidget* window) { return window->findChild<QTableWidget*>("tracks"); }
QLineEdit* Edit(QWidget* window, const char* name) { return window->findChild<QLineEdit*>(name); }
QPushButton* Button(QWidget* window, const char* name) { return window->findChild<QPushButton*>(name); }

// Clicks the middle of a cell, or its check box.
void ClickCell(QTableWidget* list, int row, int column, bool onCheckBox = false) {
  const QModelIndex index = list->model()->index(row, column);
  list->scrollTo(index);
  QRect rect = list->visualRect(index);
  if (onCheckBox) {
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = rect;
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    rect = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
  }
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class TitlerWindowTest : public QObject {
  Q_OBJECT

 private:
  WindowRig m_rig;

  // A window on a working pty port, shown.
  std::unique_ptr<CTitlerDlg> OpenWindow() { return m_rig.Open(); }

 private slots:
  void initTestCase() { SetUpWindowTests(); }


  void cleanup() { m_rig.Reset(); }

  void startupWithoutPortShowsTheBoxAndGreysOnlyStart() {
    // The message lists the ports present.
    if (testing::ListingWouldOpenARealPort()) QSKIP("a ttyS port without a sysfs record");
    TempWorkDir dir;
    dir.WriteSettings(kMissingDevice);
    ModalScript script;
    script.Answer(QMessageBox::No);
    CEntryProgressDlg progress;
    CTitlerDlg window(progress);
    // The box comes once the window is on the screen, centred over it.
    QVERIFY(script.Boxes().empty());
    window.show();
    QTRY_COMPARE(script.Boxes().size(), 1u);
    const SeenBox& box = script.Boxes()[0];
    QCOMPARE(box.caption, QStringLiteral("Vrellix"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(box.text.contains(QString::fromLatin1(kMissingDevice)));
    QCOMPARE(box.parent, &window);
    QVERIFY((box.geometry.center() - window.frameGeometry().center()).manhattanLength() < 20);
    // The line under the buttons names the port that did not open.
    QVERIFY(window.findChild<QLabel*>("link")->text().contains(QString::fromLatin1(kMissingDevice)));

    QVERIFY(Button(&window, "loadCsv")->isEnabled());
    QVERIFY(Button(&window, "saveCsv")->isEnabled());
    QVERIFY(!Button(&window, "start")->isEnabled());
    QVERIFY(Button(&window, "ok")->isEnabled());
  }

  // The columns fill the list beside its vertical scroll bar, so that it never
  // scrolls sideways; the two text columns are alike.
  void trackListHasFiftyNumberedRowsAndItsColumns() {
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    QCOMPARE(list->rowCount(), 50);
    QCOMPARE(list->columnCount(), 3);
    const QStringList headers{"No", "名称", "よみ"};
    for (int column = 0; column < 3; ++column)
      QCOMPARE(list->horizontalHeaderItem(column)->text(), headers[column]);
    QApplication::processEvents();  // the scroll bars follow the layout
    QVERIFY(list->verticalScrollBar()->isVisible());
    QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
    const int columns = list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2);
    // Less than a scroll bar's width is left over.
    QVERIFY2(list->viewport()->width() - columns < list->verticalScrollBar()->width(), qPrintable(QString::number(columns)));
    QVERIFY(list->columnWidth(0) > list->fontMetrics().horizontalAdvance(QStringLiteral("50")));
    QCOMPARE(list->columnWidth(1), list->columnWidth(2));
    for (int row = 0; row < 50; ++row) {
      QCOMPARE(list->item(row, 0)->text(), QString::number(row + 1));
      QCOMPARE(list->item(row, 0)->checkState(), Qt::Unchecked);
      QVERIFY(list->item(row, 1)->text().isEmpty());
    }
    QVERIFY(list->showGrid());
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
  }

  // The window's own colour shows around and through its texts.
  void backgroundColour() {
    auto window = OpenWindow();
    const QColor background(kWindowBackground.red, kWindowBackground.green, kWindowBackground.blue);
    const QImage shot = window->grab().toImage();
    QCOMPARE(QColor(shot.pixel(2, 2)), background);
    const QRect label = window->findChild<QLabel*>("staticTitle")->geometry();
    QCOMPARE(QColor(shot.pixel(label.right() - 1, label.bottom() - 1)), background);
  }

  // Enter in a field goes on to the next control and asks nothing (the logic,
  // tests/window); on the list Enter and F2 edit the current row. 終了 asks.
  void enterMovesOnInTheFieldsAndEditsOnTheList() {
    auto window = OpenWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    ModalScript script;
    QStringList focused;
    for (const char* name : {"title", "yomi", "artist"}) {
      QLineEdit* edit = Edit(window.get(), name);
      edit->setText(QStringLiteral("あいう"));
      edit->setFocus();
      QTest::keyClick(edit, Qt::Key_Return);
      focused << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(focused, (QStringList{"yomi", "artist", "tracks"}));
    QTableWidget* list = List(window.get());
    list->setCurrentCell(6, 1);
    QStringList numbers;
    for (int key : {Qt::Key_Return, Qt::Key_F2}) {
      script.OnDialog([&](QWidget* dialog) {
        numbers << Edit(dialog, "trackNumber")->text();
        ClickButton(dialog, "cancel");
      });
      QTest::keyClick(list, Qt::Key(key));
      QTRY_VERIFY(script.Done());
    }
    QCOMPARE(numbers, (QStringList{"7", "7"}));
    QVERIFY(script.Boxes().empty());
    script.Answer(QMessageBox::Yes);
    ClickButton(window.get(), "ok");
    QCOMPARE(script.Texts(), QStringList{"保存されていない変更があります。保存せずに終了しますか？"});
    QCOMPARE(script.Boxes()[0].defaultButton, QMessageBox::No);
    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), int(QDialog::Accepted));
  }

  // Both ways ask the logic, which asks over the change: No keeps the window.
  void escapeAndCloseBoxAskTheLogic_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("escape") << true;
    QTest::newRow("close box") << false;
  }

  void escapeAndCloseBoxAskTheLogic() {
    QFETCH(bool, escape);
    auto window = OpenWindow();
    Edit(window.get(), "artist")->setText(QStringLiteral("x"));
    const auto leave = [&]() {
      if (escape) {
        QTest::keyClick(Edit(window.get(), "title"), Qt::Key_Escape);
      } else {
        window->close();
      }
    };
    ModalScript script;
    script.Answer(QMessageBox::No);
    leave();
    QVERIFY(window->isVisible());
    script.Answer(QMessageBox::Yes);
    leave();
    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), int(QDialog::Rejected));
    QCOMPARE(script.Boxes().size(), 2u);
    QCOMPARE(script.Unexpected(), 0);
  }

  void numberColumnAndCheckBoxNeverOpenTheEditor() {
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    ModalScript script;  // no step: any dialog would count as unexpected
    ClickCell(list, 0, 0);
    ClickCell(list, 49, 0);
    QCOMPARE(list->item(0, 0)->checkState(), Qt::Unchecked);
    ClickCell(list, 7, 0, true);
    QCOMPARE(list->item(7, 0)->checkState(), Qt::Checked);
    ClickCell(list, 7, 0, true);
    QCOMPARE(list->item(7, 0)->checkState(), Qt::Unchecked);
    DrainPostedEvents();
    QCOMPARE(script.Unexpected(), 0);
  }

  // Ticking a row whose text Start would refuse marks its number in red, with
  // the faults as the row's tooltip; unticking takes the mark away.
  void checkBoxMarksARowStartWouldRefuse() {
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    list->item(4, 1)->setText(QStringLiteral("漢"));
    ClickCell(list, 4, 0, true);
    QCOMPARE(list->item(4, 0)->text(), QStringLiteral("5 ×"));
    QCOMPARE(list->item(4, 0)->foreground().color(), QColor(Qt::red));
    for (int column = 0; column < 3; ++column) {
      QCOMPARE(list->item(4, column)->toolTip(), QStringLiteral("トラック5の曲名の1文字目「漢」: ＲＺＴで入力できない文字です"));
    }
    ClickCell(list, 4, 0, true);
    QCOMPARE(list->item(4, 0)->text(), QStringLiteral("5"));
    QVERIFY(!list->item(4, 0)->data(Qt::ForegroundRole).isValid());
    QVERIFY(list->item(4, 1)->toolTip().isEmpty());
  }

  void nameAndReadingCellsOpenTheEditor_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row 1 name") << 0 << 1;
    QTest::newRow("row 50 reading") << 49 << 2;
  }

  void nameAndReadingCellsOpenTheEditor() {
    QFETCH(int, row);
    QFETCH(int, column);
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    list->item(row, 1)->setText(QStringLiteral(" 曲 "));
    QString number, name, reading;
    bool numberEnabled = true;
    ModalScript script;
    script.OnDialog([&](QWidget* dialog) {
      number = Edit(dialog, "trackNumber")->text();
      numberEnabled = Edit(dialog, "trackNumber")->isEnabled();
      name = Edit(dialog, "trackName")->text();
      reading = Edit(dialog, "trackYomi")->text();
      Edit(dialog, "trackName")->setText(QStringLiteral("changed"));
      ClickButton(dialog, "cancel");  // ｷｬﾝｾﾙ
    });
    ClickCell(list, row, column);
    QVERIFY(script.Done());
    QCOMPARE(number, QString::number(row + 1));
    QVERIFY(!numberEnabled);
    QCOMPARE(name, QStringLiteral(" 曲 "));  // as it stands, untrimmed
    QVERIFY(reading.isEmpty());
    QCOMPARE(list->item(row, 1)->text(), QStringLiteral(" 曲 "));  // cancelled: unchanged
  }

  // OK goes through the logic's checks (tests/window): a refusal shows its box
  // over the dialog, which stays open on the text typed; an accepted edit
  // closes it.
  void editorOkAsksTheLogic_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::newRow("accepted") << "  " + QString(32, 'a') + " " << QString();
    QTest::newRow("refused") << QString(33, 'a')
                             << QStringLiteral("文字数が半角３２文字を越えています。修正して下さい(曲名)");
  }

  void editorOkAsksTheLogic() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    auto window = OpenWindow();
    QTableWidget* list = List(window.get());
    QString nameAfterRefusal;
    bool openAfterRefusal = false;
    ModalScript script;
    script.OnDialog([=](QWidget* dialog) {
      Edit(dialog, "trackName")->setText(name);
      ClickButton(dialog, "ok");
    });
    if (!message.isEmpty()) {
      script.Answer(QMessageBox::Ok);
      script.OnDialog([&](QWidget* dialog) {
        openAfterRefusal = dialog->isVisible();
        nameAfterRefusal = Edit(dialog, "trackName")->text();
        ClickButton(dialog, "cancel");
      });
    }
    ClickCell(list, 0, 1);
    QVERIFY(script.Done());
    if (message.isEmpty()) {
      QVERIFY(script.Boxes().empty());
      QCOMPARE(list->item(0, 1)->text(), name.trimmed());
      return;
    }
    QCOMPARE(script.Texts(), QStringList{message});
    QCOMPARE(script.Boxes()[0].icon, QMessageBox::Warning);
    QCOMPARE(script.Boxes()[0].caption, QStringLiteral("Vrellix"));
    QVERIFY(openAfterRefusal);
    QCOMPARE(nameAfterRefusal, name);
    QVERIFY(list->item(0, 1)->text().isEmpty());
  }

  // The edit fields and the list draw full-width characters twice as wide as
  // half-width ones; the fields' counts and marks follow the typing, in the
  // main window and in the track edit dialog.
  void fixedWidthFontsAndLiveMarks() {
    auto window = OpenWindow();
    QList<QWidget*> widened{Edit(window.get(), "title"), Edit(window.get(), "yomi"), Edit(window.get(), "artist"),
                            List(window.get())};
    TrackEdit edit;
    CTrackEditDlg dialog(edit);
    widened << Edit(&dialog, "trackName") << Edit(&dialog, "trackYomi");
    for (QWidget* widget : widened) {
      const QFontMetrics metrics = widget->fontMetrics();
      QCOMPARE(metrics.horizontalAdvance(QStringLiteral("ＡＢＣ")), 2 * metrics.horizontalAdvance(QStringLiteral("ABC")));
    }

    QLineEdit* title = Edit(window.get(), "title");
    auto* count = window->findChild<QLabel*>("titleCount");
    QCOMPARE(count->text(), QStringLiteral("0/32"));
    const QColor plain = count->palette().color(QPalette::WindowText);
    const auto redPixels = [](QWidget* widget) {
      const QImage image = widget->grab().toImage();
      int red = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
          const QColor c = image.pixelColor(x, y);
          red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
      return red;
    };
    title->setText(QStringLiteral("ABCDE"));
    QCOMPARE(count->text(), QStringLiteral("5/32"));
    QCOMPARE(redPixels(title), 0);
    title->setText(QStringLiteral("AB漢字") + QString(30, 'x'));
    QCOMPARE(count->text(), QStringLiteral("36/32"));
    QCOMPARE(count->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(title->toolTip().startsWith(QStringLiteral("3文字目「漢」: ")));
    QVERIFY(redPixels(title) > 10);
    title->setText(QStringLiteral("AB"));
    QCOMPARE(count->palette().color(QPalette::WindowText), plain);
    QVERIFY(title->toolTip().isEmpty());
    QCOMPARE(redPixels(title), 0);

    // The track edit dialog: a reading counts characters.
    QString nameCount, yomiCount, yomiTip;
    ModalScript script;
    script.OnDialog([&](QWidget* modal) {
      Edit(modal, "trackName")->setText(QStringLiteral("ＡＢ"));
      Edit(modal, "trackYomi")->setText(QStringLiteral("あいカ"));
      nameCount = modal->findChild<QLabel*>("trackNameCount")->text();
      yomiCount = modal->findChild<QLabel*>("trackYomiCount")->text();
      yomiTip = Edit(modal, "trackYomi")->toolTip();
      ClickButton(modal, "cancel");
    });
    ClickCell(List(window.get()), 0, 1);
    QVERIFY(script.Done());
    QCOMPARE(nameCount, QStringLiteral("4/32"));
    QCOMPARE(yomiCount, QStringLiteral("3/16"));
    QCOMPARE(yomiTip, QStringLiteral("3文字目「カ」: よみにはひらがなだけ入力できます"));
  }

  void mainWindowTabOrder() {
    auto window = OpenWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    Edit(window.get(), "title")->setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"yomi", "artist", "tracks", "loadCsv", "saveCsv", "start", "ok", "title"}));
  }

  void editorTabOrderSkipsTheNumber() {
    TrackEdit edit;
    CTrackEditDlg dialog(edit);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget* name = Edit(&dialog, "trackName");
    name->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"trackYomi", "ok", "cancel", "trackName"}));
    QCOMPARE(Edit(&dialog, "trackNumber")->focusPolicy(), Qt::NoFocus);
  }

  void aboutBoxClosesWithOkEnterAndEscape_data() {
    QTest::addColumn<int>("key");  // 0: a click on OK
    QTest::newRow("OK") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
  }

  void aboutBoxClosesWithOkEnterAndEscape() {
    QFETCH(int, key);
    CAboutDlg about;
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QCOMPARE(about.windowTitle(), QStringLiteral("Vrellixのﾊﾞｰｼﾞｮﾝ情報"));
    // The one version of the project, as CMake's project() has it.
    QCOMPARE(about.findChild<QLabel*>("staticVersion")->text(), QStringLiteral("Vrellix Version " VRELLIX_PROJECT_VERSION));
    if (key == 0) {
      ClickButton(&about, "ok");
    } else {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    }
    QVERIFY(!about.isVisible());
  }

  // The window grows from its template size, the list with it; the buttons keep
  // to the bottom. In simulator mode the caption says so.
  void mainWindowResizesFromItsTemplateSize() {
    auto window = OpenWindow();
    const QSize smallest = window->size();
    QCOMPARE(window->minimumSize(), smallest);
    QVERIFY(window->maximumSize().width() > 2 * smallest.width());
    QTableWidget* list = List(window.get());
    const QRect listBefore = list->geometry();
    const int buttonBottomGap = smallest.height() - Button(window.get(), "ok")->geometry().bottom();
    const int linkBottomGap = smallest.height() - window->findChild<QLabel*>("link")->geometry().bottom();
    window->resize(smallest + QSize(200, 300));
    QCOMPARE(list->height(), listBefore.height() + 300);
    QCOMPARE(list->width(), listBefore.width() + 200);
    for (const char* name : {"loadCsv", "saveCsv", "start", "ok"}) {
      QCOMPARE(window->height() - Button(window.get(), name)->geometry().bottom(), buttonBottomGap);
    }
    const QRect link = window->findChild<QLabel*>("link")->geometry();
    QCOMPARE(QPoint(window->height() - link.bottom(), link.width()), QPoint(linkBottomGap, list->width()));
    window->resize(QSize(100, 100));
    QCOMPARE(window->size(), smallest);
    QCOMPARE(window->windowTitle(), QStringLiteral("Vrellix"));
    TitlerOptions simulator;
    simulator.openLine = sim::SimulatorLines();
    m_rig.Reset();
    QCOMPARE(m_rig.Open(simulator)->windowTitle(), QStringLiteral("Vrellix (シミュレータ)"));
  }

  // Qt's own buttons and dialogs speak Japanese.
  void standardButtonsAreJapanese() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Vrellix"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
  }

  // Item text -> the modal window it opened (its class name), closed at once.
  void contextMenuOffersPortSettingsAndTheAboutBox_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("dialogClass");
    QTest::newRow("通信設定") << 6 << "vrellix::CPortSettingsDlg";
    QTest::newRow("About") << 7 << "vrellix::CAboutDlg";
  }

  void contextMenuOffersPortSettingsAndTheAboutBox() {
    QFETCH(int, item);
    QFETCH(QString, dialogClass);
    auto window = OpenWindow();
    QStringList items;
    QString shown, port;
    int delay = -1;
    ModalScript script;
    script.OnMenu([&](QWidget* popup) {
      auto* menu = static_cast<QMenu*>(popup);
      for (QAction* action : menu->actions()) items << action->text();
      QAction* chosen = menu->actions().value(item);
      menu->close();
      if (chosen) chosen->trigger();
    });
    script.OnDialog([&](QWidget* dialog) {
      shown = QString::fromLatin1(dialog->metaObject()->className());
      if (auto* ports = dialog->findChild<QComboBox*>("port")) port = ports->currentText();
      if (auto* spin = dialog->findChild<QSpinBox*>("commandDelay")) delay = spin->value();
      ClickButton(dialog, item == 6 ? "cancel" : "ok");
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), window->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window.get(), &event);
    QTRY_VERIFY(script.Done());
    // The fields' and the album's items first, then the program's, a separator between.
    QCOMPARE(items, (QStringList{"よみを推定", "タイトル", "アーティスト", "よみを一括推定", "CUE読込", "",
                                 "通信設定(&P)...", "Vrellix のﾊﾞｰｼﾞｮﾝ情報(&A)..."}));
    QCOMPARE(shown, dialogClass);
    if (item == 6) {
      // The port in use and the delay the settings hold.
      QCOMPARE(port, QString::fromStdString(m_rig.Pty().DevicePath()));
      QCOMPARE(delay, 0);
    }
    QCOMPARE(script.Unexpected(), 0);
  }

  // What the logic shows (tests/window) reaches the widgets, and OK hands it the
  // entry picked, or the device typed and taken with Enter.
  void portDialogReturnsTheChoice() {
    PortSettingsEdit edit;
    edit.ports = {{"/dev/ttyUSB0", "usb-Vendor"}, {"/dev/ttyUSB1", ""}};
    edit.port = "/dev/ttyUSB1";
    edit.commandDelay = 100;
    ModalScript script;
    QString shownPort;
    script.OnDialog([&](QWidget* modal) {
      auto* ports = modal->findChild<QComboBox*>("port");
      shownPort = ports->currentText();
      ports->setCurrentIndex(0);
      modal->findChild<QSpinBox*>("commandDelay")->setValue(250);
      ClickButton(modal, "ok");
    });
    CPortSettingsDlg dialog(edit);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(shownPort, QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(edit.port, std::string("/dev/ttyUSB0"));
    QCOMPARE(edit.commandDelay, 250);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("通信設定"));
    script.OnDialog([](QWidget* modal) {
      QLineEdit* typed = modal->findChild<QComboBox*>("port")->lineEdit();
      typed->clear();
      QTest::keyClicks(typed, "/dev/ttyS3");
      QTest::keyClick(typed, Qt::Key_Return);
    });
    QCOMPARE(CPortSettingsDlg(edit).exec(), int(QDialog::Accepted));
    QCOMPARE(edit.port, std::string("/dev/ttyS3"));
  }
};

QTEST_MAIN(TitlerWindowTest)
#include "titler_window_test.moc"
