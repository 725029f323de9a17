// Writes the README's screenshots into the folder given: the main window, the
// progress window in the middle of a track, the 通信設定 dialog and the
// よみを一括推定 dialog, all on the
// offscreen platform with the built-in simulator. Not a test: run by hand,
//   QT_QPA_PLATFORM=offscreen build/ci/tests/app/screenshots docs
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <cstdio>

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/port_settings_dlg.h"
#include "app/reading_choice_dlg.h"
#include "app/titler_dlg.h"
#include "gui_test_support.h"
#include "messages/messages.h"
#include "sim/simulator_line.h"

using namespace vrellix;
using namespace vrellix::testing;

namespace {

struct Row {
  const char* name;
  const char* yomi;
};

const Row kRows[] = {
    {"ｱｻﾉﾋｶﾘ", "あさのひかり"}, {"Blue Window", ""}, {"ﾅﾂﾉｵﾜﾘ", "なつのおわり"},
    {"ＳＴＡＲＬＩＧＨＴ", ""}, {"夜明けのうた", "よあけのうた"}, {"Last Song", ""},
};

bool Save(QWidget* widget, const QDir& folder, const char* name) {
  const bool saved = widget->grab().save(folder.filePath(QString::fromLatin1(name)));
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", name);
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: screenshots FOLDER\n");
    return 2;
  }
  // Absolute: the window's rig changes the working directory.
  const QDir folder(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
  QApplication::setApplicationName(QString::fromUtf8(kAppName));
  SetUpWindowTests();
  bool ok = true;
  {
    HoldingClock clock;
    TitlerOptions options;
    options.openLine = sim::SimulatorLines({}, &clock);
    WindowRig rig;
    auto window = rig.Open(options);
    window->findChild<QLineEdit*>("title")->setText(QStringLiteral("ﾐﾅﾄﾉｳﾀ"));
    window->findChild<QLineEdit*>("yomi")->setText(QStringLiteral("みなとのうた"));
    window->findChild<QLineEdit*>("artist")->setText(QStringLiteral("ｻｻﾞﾅﾐ楽団"));
    auto* list = window->findChild<QTableWidget*>("tracks");
    for (int row = 0; row < 6; ++row) {
      list->item(row, 1)->setText(QString::fromUtf8(kRows[row].name));
      list->item(row, 2)->setText(QString::fromUtf8(kRows[row].yomi));
      list->item(row, 0)->setCheckState(Qt::Checked);
    }
    QApplication::processEvents();
    ok &= Save(window.get(), folder, "screenshot-main.png");

    // The progress window while track 2 is entered (the artist's kanji fixed first).
    window->findChild<QLineEdit*>("artist")->setText(QStringLiteral("ｻｻﾞﾅﾐ"));
    list->item(4, 1)->setText(QStringLiteral("ﾖｱｹﾉｳﾀ"));
    clock.HoldWhen([&rig] { return rig.Progress().Logic().Status() == messages::TrackStatus(2, 6); });
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    script.OnDialog(
        [&](QWidget* progress) {
          ok &= Save(progress, folder, "screenshot-progress.png");
          progress->close();
        },
        [&] {
          const auto* status = rig.Progress().findChild<QLabel*>("status");
          return clock.Waiting() && status->text() == QString::fromStdString(messages::TrackStatus(2, 6));
        });
    script.Answer(QMessageBox::Yes);  // 中断?
    script.Answer(QMessageBox::Ok);   // where it stopped
    script.Answer(QMessageBox::No);   // no resume
    script.OnDialog([](QWidget* dump) { dump->close(); });
    QTest::mouseClick(window->findChild<QPushButton*>("start"), Qt::LeftButton);
    ok &= script.Done();
  }
  {
    PortSettingsEdit edit;
    edit.ports = {{"/dev/ttyUSB0", "usb-FTDI_FT232R-if00"}, {"/dev/ttyS0", ""}};
    edit.port = "/dev/ttyUSB0";
    edit.commandDelay = 100;
    CPortSettingsDlg dialog(edit);
    ModalScript script;
    script.OnDialog([&](QWidget* modal) {
      ok &= Save(modal, folder, "screenshot-port-dialog.png");
      static_cast<QDialog*>(modal)->reject();
    });
    dialog.exec();
  }
  {
    using Kind = AlbumField::Kind;
    ReadingChoices choices;
    choices.rows = {
        {{Kind::kYomi, 0}, "港の歌", {"みなとのうた", "みなとのか"}, "みなとのうた", true},
        {{Kind::kTrackYomi, 2}, "青い窓", {"あおいまど"}, "あおいまど", true},
        {{Kind::kTrackYomi, 5}, "夜明けのうた", {"よあけのうた", "よあけの"}, "よあけのうた", false},
    };
    choices.skipped = {messages::SkippedName(FieldName({Kind::kTrackYomi, 6}), "Last Song", messages::kLatinWordNotRead)};
    CReadingChoiceDlg dialog(choices);
    ModalScript script;
    script.OnDialog([&](QWidget* modal) {
      ok &= Save(modal, folder, "screenshot-readings.png");
      static_cast<QDialog*>(modal)->reject();
    });
    dialog.exec();
  }
  return ok ? 0 : 1;
}
