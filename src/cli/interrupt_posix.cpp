#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "cli/interrupt.h"

namespace vrellix::cli {

namespace {

// The handler only writes a byte to this pipe: write() is async-signal-safe.
int g_wakePipe[2] = {-1, -1};
constexpr char kInterruptByte = 'i';
constexpr char kQuitByte = 'q';

struct sigaction g_previousAction;
std::thread g_watcher;
std::function<void()> g_onInterrupt;

extern "C" void OnSigint(int) {
  const int savedErrno = errno;
  const char byte = kInterruptByte;
  [[maybe_unused]] const ssize_t written = write(g_wakePipe[1], &byte, 1);
  errno = savedErrno;
}

void WatchPipe() {
  for (;;) {
    char byte = 0;
    const ssize_t got = read(g_wakePipe[0], &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got != 1 || byte == kQuitByte) return;
    g_onInterrupt();
  }
}

}  // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt) {
  if (pipe(g_wakePipe) != 0) return;
  fcntl(g_wakePipe[0], F_SETFD, FD_CLOEXEC);
  fcntl(g_wakePipe[1], F_SETFD, FD_CLOEXEC);
  g_onInterrupt = std::move(onInterrupt);
  g_watcher = std::thread(WatchPipe);

  struct sigaction action = {};
  action.sa_handler = OnSigint;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  m_bActive = sigaction(SIGINT, &action, &g_previousAction) == 0;
}

InterruptWatch::~InterruptWatch() {
  if (g_wakePipe[1] < 0) return;
  if (m_bActive) sigaction(SIGINT, &g_previousAction, nullptr);
  const char byte = kQuitByte;
  while (write(g_wakePipe[1], &byte, 1) < 0 && errno == EINTR) {
  }
  g_watcher.join();
  close(g_wakePipe[0]);
  close(g_wakePipe[1]);
  g_wakePipe[0] = g_wakePipe[1] = -1;
  g_onInterrupt = nullptr;
}

}  // namespace vrellix::cli
