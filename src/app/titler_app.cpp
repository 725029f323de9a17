#include "app/titler_app.h"

#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/titler_dlg.h"

namespace vrellix {

CTitlerApp::CTitlerApp(int& argc, char** argv, const TitlerOptions& options)
    : QApplication(argc, argv), m_options(options) {}

bool CTitlerApp::InitInstance() {
  setApplicationName(QString::fromUtf8(kAppName));
  InitGuiResources();
  LoadJapaneseTranslations();
  setWindowIcon(ProgramIcon());

  // The progress window outlives every job: the worker reports to it.
  CEntryProgressDlg progress;
  CTitlerDlg dialog(progress, m_options);
  dialog.exec();
  return false;
}

}  // namespace vrellix
