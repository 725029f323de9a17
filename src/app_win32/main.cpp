// vrellix.exe: the window program on Windows. `vrellix --simulate` types into
// the built-in device simulator instead of the serial port; --help and
// --version print and end without a window.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app_win32/progress_window.h"
#include "app_win32/titler_window.h"
#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "resource.h"
#include "sim/simulator_line.h"
#include "window/program_arguments.h"

namespace {

using vrellix::ProgramStart;

// A window program has no console of its own: the text goes where its output
// was sent (a file, a pipe, the console of a batch file that redirected it);
// started from Explorer or a shortcut it has nowhere to go, and a box shows it.
void Tell(const ProgramStart& start) {
  const bool print = start.action == ProgramStart::Action::kPrint;
  HANDLE out = GetStdHandle(print ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (out && out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    if (GetFileType(out) == FILE_TYPE_CHAR) {
      const std::wstring wide = vrellix::win32::Wide(start.text);
      if (WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) return;
    } else if (WriteFile(out, start.text.data(), static_cast<DWORD>(start.text.size()), &written, nullptr)) {
      return;
    }
  }
  vrellix::win32::ShowMessageBox(
      nullptr, {start.text, print ? vrellix::MessageIcon::kInformation : vrellix::MessageIcon::kError});
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // argv in the ANSI code page would lose what it cannot hold.
  std::vector<std::string> args;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i < argc; ++i) args.push_back(vrellix::win32::Utf8(argv[i]));
    LocalFree(argv);
  }
  const ProgramStart start = vrellix::ReadProgramArguments(args);
  if (start.action != ProgramStart::Action::kRun) {
    Tell(start);
    return start.exitCode;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  vrellix::TitlerOptions options;
  if (start.simulate) options.openLine = vrellix::sim::SimulatorLines();

  // The progress window outlives every job: the worker reports to it.
  vrellix::win32::ProgressWindow progress;
  {
    vrellix::win32::TitlerWindow window(progress, options);
    window.DoModal(nullptr, IDD_TITLER_DIALOG);
  }
  return 0;
}
