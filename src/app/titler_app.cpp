#include "app/titler_app.h"

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/titler_dlg.h"
#include "sim/simulator_line.h"

namespace vrellix {

CTitlerApp::CTitlerApp(int& argc, char** argv) : QApplication(argc, argv) {
  for (const QString& argument : arguments().mid(1)) {
    if (argument == QLatin1String("--simulate")) m_bSimulate = true;
  }
}

bool CTitlerApp::InitInstance() {
  setApplicationName(QString::fromUtf8(kAppName));
  InitGuiResources();
  LoadJapaneseTranslations();
  setWindowIcon(ProgramIcon());

  // The progress window outlives every job: the worker reports to it.
  CEntryProgressDlg progress;
  TitlerOptions options;
  if (m_bSimulate) options.openLine = sim::SimulatorLines();
  CTitlerDlg dialog(progress, options);
  dialog.exec();
  return false;
}

}  // namespace vrellix
