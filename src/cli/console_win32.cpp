// The Windows console: UTF-8 output, the wide command line, and Ctrl-C /
// Ctrl-Break → StopEvent. Windows runs console control handlers on a
// thread of their own, so the handler may set the event directly.
#include "cli/console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h, whose types it uses
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "text/wide_text.h"

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

// The console as the user's window had it: the code page and the output modes
// are the console's, not this process's, and outlive it unless put back.
struct ConsoleAsFound {
  UINT outputCodePage = 0;  // 0: no console
  DWORD modes[2] = {};
  bool hasMode[2] = {};
};
ConsoleAsFound g_found;
std::atomic<bool> g_changed{false};

constexpr DWORD kOutputHandles[2] = {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};

void RestoreConsole() {
  if (!g_changed.exchange(false)) return;
  if (g_found.outputCodePage != 0) SetConsoleOutputCP(g_found.outputCodePage);
  for (int i = 0; i < 2; ++i) {
    if (g_found.hasMode[i]) SetConsoleMode(GetStdHandle(kOutputHandles[i]), g_found.modes[i]);
  }
}

// Runs before the default handler ends the process (Ctrl-C outside a stop
// request, a second Ctrl-C, the window closed); the process then ends as usual.
BOOL WINAPI RestoreOnConsoleControl(DWORD) {
  RestoreConsole();
  return FALSE;
}

}  // namespace

void UseUtf8Output() {
  // In text mode the C runtime would turn every "\n" into "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  g_found.outputCodePage = GetConsoleOutputCP();
  for (int i = 0; i < 2; ++i) {
    g_found.hasMode[i] = GetConsoleMode(GetStdHandle(kOutputHandles[i]), &g_found.modes[i]) != 0;
  }
  g_changed.store(true);
  // Every return from main and every exit() goes through here.
  std::atexit(RestoreConsole);
  SetConsoleCtrlHandler(RestoreOnConsoleControl, TRUE);

  if (g_found.outputCodePage != 0) SetConsoleOutputCP(CP_UTF8);
  // The progress line clears its end with an escape sequence.
  for (int i = 0; i < 2; ++i) {
    if (g_found.hasMode[i]) {
      SetConsoleMode(GetStdHandle(kOutputHandles[i]), g_found.modes[i] | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
  }
}

// The C runtime's printf garbles UTF-8 on a console even with the code page
// set: a console gets UTF-16 through WriteConsoleW.
void Write(std::FILE* stream, std::string_view text) {
  const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if ((stream != stdout && stream != stderr) || !GetConsoleMode(handle, &mode)) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  std::fflush(stream);  // what went through the C runtime before comes first
  const std::wstring wide = WideFromUtf8(text);
  for (std::size_t done = 0; done < wide.size();) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
    if (!WriteConsoleW(handle, wide.data() + done, piece, &written, nullptr) || written == 0) return;
    done += written;
  }
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    args.push_back(Utf8FromWide(wide[i]));
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
