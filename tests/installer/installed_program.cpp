// Starts the installed window program as its Start-menu shortcut does and
// plays its user from outside with window messages: prints each message box's
// text and answers it (No, or OK); given a port, answers the first question
// with Yes and chooses that port in 通信設定. Leaves with Escape once nothing
// is asked for a second. Exits 0 when the program ended after all that.
//   installed_program SHORTCUT.lnk [PORT]
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <string>

#include "resource.h"

namespace {

// The visible dialogs of a process: the main window, 通信設定, or a box.
struct Found {
  DWORD pid;
  HWND main, portSettings, box;
};

BOOL CALLBACK Sort(HWND window, LPARAM param) {
  auto& found = *reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  wchar_t className[8] = {};
  GetWindowThreadProcessId(window, &pid);
  if (pid != found.pid || !IsWindowVisible(window) || !GetClassNameW(window, className, 8) || lstrcmpW(className, L"#32770"))
    return TRUE;
  (GetDlgItem(window, IDC_TITLE) ? found.main : GetDlgItem(window, IDC_PORT) ? found.portSettings : found.box) = window;
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  // Wine's ShellExecuteEx gives no process for a .lnk: the shortcut's own
  // program, arguments and working folder are read and started here.
  wchar_t program[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  CoInitialize(nullptr);
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&link))) ||
      FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) || FAILED(file->Load(argv[1], STGM_READ)) ||
      FAILED(link->GetPath(program, MAX_PATH, nullptr, 0)) || FAILED(link->GetArguments(arguments, MAX_PATH)) ||
      FAILED(link->GetWorkingDirectory(folder, MAX_PATH)))
    return 1;
  std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &started)) return 1;
  std::printf("started %ls in %ls\n", program, folder);

  const wchar_t* port = argc > 2 ? argv[2] : nullptr;
  for (int tick = 0, quiet = 0; tick < 600 && WaitForSingleObject(started.hProcess, 100) == WAIT_TIMEOUT; ++tick) {
    Found found{started.dwProcessId, nullptr, nullptr, nullptr};
    EnumWindows(&Sort, reinterpret_cast<LPARAM>(&found));
    if (found.box) {
      wchar_t text[1024] = {};
      GetDlgItemTextW(found.box, 0xFFFF, text, 1024);  // a message box's text, also across processes
      std::string utf8(sizeof text * 2, '\0');
      WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
      std::printf("box: %s\n", utf8.c_str());
      const int button = !GetDlgItem(found.box, IDNO) ? IDOK : port ? IDYES : IDNO;
      PostMessageW(found.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      for (int wait = 0; wait < 50 && IsWindowVisible(found.box); ++wait) Sleep(100);
      quiet = 0;
    } else if (found.portSettings && port) {
      SetDlgItemTextW(found.portSettings, IDC_PORT, port);
      PostMessageW(found.portSettings, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      port = nullptr;
      quiet = 0;
    } else if (found.main && IsWindowEnabled(found.main) && ++quiet == 10) {
      PostMessageW(found.main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }
  std::fflush(stdout);
  if (WaitForSingleObject(started.hProcess, 0) == WAIT_OBJECT_0) return port ? 1 : 0;
  TerminateProcess(started.hProcess, 1);
  return 1;
}
