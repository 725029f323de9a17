// vrellix.exe: the window program on Windows. `vrellix --simulate` types into
// the built-in device simulator instead of the serial port.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app_win32/progress_window.h"
#include "app_win32/titler_window.h"
#include "resource.h"
#include "sim/simulator_line.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  vrellix::TitlerOptions options;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i < argc; ++i) {
      if (std::wstring(argv[i]) == L"--simulate") options.openLine = vrellix::sim::SimulatorLines();
    }
    LocalFree(argv);
  }

  // The progress window outlives every job: the worker reports to it.
  vrellix::win32::ProgressWindow progress;
  {
    vrellix::win32::TitlerWindow window(progress, options);
    window.DoModal(nullptr, IDD_TITLER_DIALOG);
  }
  return 0;
}
