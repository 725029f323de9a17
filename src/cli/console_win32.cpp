// The Windows console: UTF-8 output, the wide command line, and Ctrl-C /
// Ctrl-Break → StopEvent. Windows runs console control handlers on a
// thread of their own, so the handler may set the event directly.
#include "cli/console.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace vrellix::cli {

namespace {

std::atomic<StopEvent*> g_stop{nullptr};

BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  StopEvent* stop = g_stop.load();
  if (!stop) return FALSE;
  // Only the first one is caught; a second ends the process as usual.
  g_stop.store(nullptr);
  stop->Set();
  return TRUE;
}

}  // namespace

void UseUtf8Output() { SetConsoleOutputCP(CP_UTF8); }

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);  // the terminating NUL
    args.push_back(std::move(utf8));
  }
  LocalFree(wide);
  return args;
}

bool StderrIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::string ShellQuoted(const std::string& word) {
  const auto plain = [](unsigned char c) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return c >= 0x80 || alnum || (c != 0 && std::strchr("_-./:\\=@+,", c) != nullptr);
  };
  if (!word.empty() && std::all_of(word.begin(), word.end(), plain)) return word;
  // A file name cannot hold '"'; another text's is escaped as the C runtime reads it.
  std::string quoted = "\"";
  for (char c : word) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
  return quoted + "\"";
}

struct InterruptToStop::Impl {
  bool installed = false;
};

InterruptToStop::InterruptToStop(StopEvent& stop) : m_impl(std::make_unique<Impl>()) {
  g_stop.store(&stop);
  m_impl->installed = SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

InterruptToStop::~InterruptToStop() {
  if (m_impl->installed) SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  g_stop.store(nullptr);
}

}  // namespace vrellix::cli
