// SIGINT → StopEvent. StopEvent::Set takes a mutex, which a signal handler must
// not do, so the handler only writes a byte to a pipe and a small thread that
// waits on the pipe sets the event.
#include "cli/console.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

namespace vrellix::cli {

namespace {

constexpr char kInterrupted = 1;
constexpr char kShutDown = 0;

volatile std::sig_atomic_t g_wakeFd = -1;

extern "C" void OnInterrupt(int) {
  const int savedErrno = errno;
  const char byte = kInterrupted;
  [[maybe_unused]] const ssize_t n = write(g_wakeFd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

void UseUtf8Output() {}

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
  int pipeFds[2] = {-1, -1};
  struct sigaction previous {};
  bool installed = false;
  std::thread watcher;
};

InterruptToStop::InterruptToStop(StopEvent& stop) : m_impl(std::make_unique<Impl>()) {
  if (pipe2(m_impl->pipeFds, O_CLOEXEC) != 0) return;  // Ctrl-C then simply ends the process
  const int readFd = m_impl->pipeFds[0];
  m_impl->watcher = std::thread([readFd, &stop] {
    for (;;) {
      char byte = kShutDown;
      const ssize_t n = read(readFd, &byte, 1);
      if (n == -1 && errno == EINTR) continue;
      if (n != 1 || byte == kShutDown) return;
      stop.Set();
    }
  });
  g_wakeFd = m_impl->pipeFds[1];

  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // A second Ctrl-C, while the last exchange is still finishing, ends the
  // process at once as usual.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  m_impl->installed = sigaction(SIGINT, &action, &m_impl->previous) == 0;
}

InterruptToStop::~InterruptToStop() {
  if (m_impl->installed) sigaction(SIGINT, &m_impl->previous, nullptr);
  if (m_impl->watcher.joinable()) {
    const char byte = kShutDown;
    while (write(m_impl->pipeFds[1], &byte, 1) == -1 && errno == EINTR) {
    }
    m_impl->watcher.join();
  }
  g_wakeFd = -1;
  for (int fd : m_impl->pipeFds) {
    if (fd != -1) close(fd);
  }
}

}  // namespace vrellix::cli
