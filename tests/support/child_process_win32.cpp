#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/child_process.h"
#include "text/wide_text.h"

namespace vrellix::testing {

namespace {

// How often a reader looks for output while the child runs silently.
constexpr DWORD kPollMs = 10;

// One argument as the C runtime (and CommandLineToArgvW) splits it back out:
// backslashes are literal except before a quote, where they are doubled.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

}  // namespace

struct ChildProcess::Impl {
  // Both pipes are read at once, each by a thread, so a child that fills one
  // while the test waits on the other cannot stall. The output is complete
  // once the child has ended and its pipe is empty, even while a process it
  // started still holds the pipe (wine's desktop process, which the child's
  // first window starts, keeps its standard error): so no read waits for more
  // than there is.
  void ReadInto(HANDLE pipe, std::string& text, bool& open) {
    char buffer[4096];
    for (;;) {
      DWORD waiting = 0;
      if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr)) break;  // no writer is left
      if (waiting == 0) {
        const bool ended = WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0;
        if (ended && PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting == 0) break;
        continue;
      }
      DWORD got = 0;
      if (!ReadFile(pipe, buffer, std::min<DWORD>(waiting, sizeof buffer), &got, nullptr) || got == 0) break;
      std::lock_guard<std::mutex> lock(mutex);
      text.append(buffer, got);
      changed.notify_all();
    }
    CloseHandle(pipe);
    std::lock_guard<std::mutex> lock(mutex);
    open = false;
    changed.notify_all();
  }

  void JoinReaders() {
    for (std::thread* reader : {&outReader, &errReader}) {
      if (reader->joinable()) reader->join();
    }
  }

  PROCESS_INFORMATION process{};
  bool started = false;
  bool ended = false;
  std::mutex mutex;
  std::condition_variable changed;
  std::string out, err;
  bool outOpen = false, errOpen = false;
  std::thread outReader, errReader;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::filesystem::path& dir)
    : m_impl(std::make_unique<Impl>()) {
  std::wstring commandLine = Quoted(WideFromUtf8(program));
  for (const std::string& arg : args) commandLine += L" " + Quoted(WideFromUtf8(arg));

  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(&outRead, &outWrite, &inherited, 0)) return;
  if (!CreatePipe(&errRead, &errWrite, &inherited, 0)) {
    CloseHandle(outRead);
    CloseHandle(outWrite);
    return;
  }
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                 OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  const std::wstring where = dir.wstring();
  m_impl->started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   where.empty() ? nullptr : where.c_str(), &startup, &m_impl->process) != 0;
  // The child holds its own copies now; the pipes end when the child does.
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (!m_impl->started) {
    CloseHandle(outRead);
    CloseHandle(errRead);
    return;
  }
  Impl& impl = *m_impl;
  impl.outOpen = impl.errOpen = true;
  impl.outReader = std::thread([&impl, outRead] { impl.ReadInto(outRead, impl.out, impl.outOpen); });
  impl.errReader = std::thread([&impl, errRead] { impl.ReadInto(errRead, impl.err, impl.errOpen); });
}

ChildProcess::~ChildProcess() {
  if (!m_impl->started) return;
  if (!m_impl->ended) {
    TerminateProcess(m_impl->process.hProcess, 1);
    WaitForSingleObject(m_impl->process.hProcess, INFINITE);
  }
  m_impl->JoinReaders();
  CloseHandle(m_impl->process.hThread);
  CloseHandle(m_impl->process.hProcess);
}

bool ChildProcess::Started() const { return m_impl->started; }

int ChildProcess::Pid() const { return m_impl->started ? static_cast<int>(m_impl->process.dwProcessId) : -1; }

std::string ChildProcess::ReadLine(std::chrono::milliseconds within) {
  std::unique_lock<std::mutex> lock(m_impl->mutex);
  std::string& out = m_impl->out;
  m_impl->changed.wait_for(lock, within, [&] { return out.find('\n') != std::string::npos || !m_impl->outOpen; });
  const std::size_t end = out.find('\n');
  const std::string line = out.substr(0, end);
  out.erase(0, end == std::string::npos ? end : end + 1);
  return line;
}

ProcessResult ChildProcess::Wait(std::chrono::milliseconds limit) {
  ProcessResult result;
  if (!Started()) return result;
  const DWORD waited = WaitForSingleObject(m_impl->process.hProcess, static_cast<DWORD>(limit.count()));
  if (waited != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the child process did not end within " << limit.count() << " ms; killed";
    TerminateProcess(m_impl->process.hProcess, 1);
    WaitForSingleObject(m_impl->process.hProcess, INFINITE);
  }
  m_impl->ended = true;
  m_impl->JoinReaders();
  DWORD code = 0;
  if (GetExitCodeProcess(m_impl->process.hProcess, &code)) result.exitCode = static_cast<int>(code);
  FILETIME created, exited, kernel, user;
  if (GetProcessTimes(m_impl->process.hProcess, &created, &exited, &kernel, &user)) {
    auto ms = [](const FILETIME& t) { return ((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10000.0; };
    result.cpuMs = ms(kernel) + ms(user);
  }
  result.out = std::move(m_impl->out);
  result.err = std::move(m_impl->err);
  return result;
}

}  // namespace vrellix::testing
