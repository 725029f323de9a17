// SIGINT → StopEvent. While an InterruptToStop lives, SIGINT is blocked in the
// thread that made it and in the threads that thread starts, and a thread of
// its own takes the signal with sigwait and sets the event. No signal handler
// runs, so nothing depends on when (or, under ThreadSanitizer, whether) an
// asynchronous handler is called.
#include "cli/console.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>

namespace vrellix::cli {

namespace {

sigset_t InterruptSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

void UseUtf8Output() {}

void Write(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

// Terminals here pass what was typed as it was typed: UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

std::string ShellQuoted(const std::string& word) {
  // Bytes of UTF-8 names are nothing special to a shell.
  const auto plain = [](unsigned char c) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return c >= 0x80 || alnum || (c != 0 && std::strchr("_-./:=@%+,", c) != nullptr);
  };
  if (!word.empty() && std::all_of(word.begin(), word.end(), plain)) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct InterruptToStop::Impl {
  sigset_t previousMask{};
  std::atomic<bool> shuttingDown{false};
  std::thread watcher;
};

InterruptToStop::InterruptToStop(StopEvent& stop) : m_impl(std::make_unique<Impl>()) {
  const sigset_t interrupt = InterruptSet();
  // Blocked before the watcher starts, so it and every thread started later
  // inherit the mask and the signal waits for sigwait.
  if (pthread_sigmask(SIG_BLOCK, &interrupt, &m_impl->previousMask) != 0) return;  // Ctrl-C then simply ends the process
  Impl& impl = *m_impl;
  m_impl->watcher = std::thread([&impl, &stop, interrupt] {
    for (bool stopping = false;;) {
      int signal = 0;
      if (sigwait(&interrupt, &signal) != 0) return;
      if (impl.shuttingDown) return;
      if (!stopping) {
        stopping = true;
        stop.Set();
        continue;
      }
      // A second Ctrl-C, while the last exchange is still finishing, ends the
      // process at once as usual: the signal is let through to this thread.
      pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);
      raise(SIGINT);
    }
  });
}

InterruptToStop::~InterruptToStop() {
  // A watcher runs exactly when SIGINT was blocked.
  if (!m_impl->watcher.joinable()) return;
  m_impl->shuttingDown = true;
  pthread_kill(m_impl->watcher.native_handle(), SIGINT);
  m_impl->watcher.join();
  // A Ctrl-C that came after the watcher left is still pending and is
  // delivered here, as if the interrupt had come after the run.
  pthread_sigmask(SIG_SETMASK, &m_impl->previousMask, nullptr);
}

}  // namespace vrellix::cli
