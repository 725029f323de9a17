// Starts the installed window program as its Start-menu shortcut does and
// plays its user from outside with window messages: prints each message box's
// text on a line and answers it (No, or OK); given a port, answers the first
// question with Yes and chooses that port in 通信設定. Leaves with Escape once
// nothing is asked for a second.
//   installed_program SHORTCUT.lnk [PORT]
// Exits 0 when the program ended after doing all that.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <string>

#include "resource.h"

namespace {

struct Found {
  DWORD pid;
  HWND main, portSettings, box;
};

BOOL CALLBACK Sort(HWND window, LPARAM param) {
  auto& found = *reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  wchar_t className[16] = {};
  GetWindowThreadProcessId(window, &pid);
  GetClassNameW(window, className, 16);
  if (pid != found.pid || !IsWindowVisible(window) || lstrcmpW(className, L"#32770") != 0) return TRUE;
  (GetDlgItem(window, IDC_TITLE) ? found.main : GetDlgItem(window, IDC_PORT) ? found.portSettings : found.box) = window;
  return TRUE;
}

BOOL CALLBACK Longest(HWND child, LPARAM param) {
  auto& longest = *reinterpret_cast<std::wstring*>(param);
  wchar_t text[1024] = {};
  SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));  // carried across processes
  if (lstrlenW(text) > static_cast<int>(longest.size())) longest = text;
  return TRUE;
}

// One line of UTF-8.
void Print(std::wstring text) {
  for (wchar_t& c : text) c = c == L'\r' || c == L'\n' ? L' ' : c;
  std::string utf8(text.size() * 3 + 1, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr));
  std::printf("%s\n", utf8.c_str());
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring port = argc > 2 ? argv[2] : L"";
  // Started as the shell starts a shortcut: its program, arguments and
  // working folder (wine's ShellExecuteEx gives no process for a .lnk).
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
  PROCESS_INFORMATION start{};
  if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &start)) return 1;
  Print(std::wstring(L"started ") + program + L" in " + folder);
  bool chosen = port.empty();
  int quiet = 0;
  for (int tick = 0; tick < 600 && WaitForSingleObject(start.hProcess, 100) == WAIT_TIMEOUT; ++tick) {
    Found found{GetProcessId(start.hProcess), nullptr, nullptr, nullptr};
    EnumWindows(&Sort, reinterpret_cast<LPARAM>(&found));
    if (found.box) {
      std::wstring text;
      EnumChildWindows(found.box, &Longest, reinterpret_cast<LPARAM>(&text));
      Print(L"box: " + text);
      const int button = !GetDlgItem(found.box, IDNO) ? IDOK : chosen ? IDNO : IDYES;
      PostMessageW(found.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      for (int wait = 0; wait < 50 && IsWindow(found.box) && IsWindowVisible(found.box); ++wait) Sleep(100);
      quiet = 0;
    } else if (found.portSettings && !chosen) {
      SetDlgItemTextW(found.portSettings, IDC_PORT, port.c_str());
      PostMessageW(found.portSettings, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      chosen = true;
      quiet = 0;
    } else if (found.main && IsWindowEnabled(found.main) && ++quiet == 10) {
      PostMessageW(found.main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }
  const bool ended = WaitForSingleObject(start.hProcess, 0) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(start.hProcess, 1);
  return ended && chosen ? 0 : 1;
}
