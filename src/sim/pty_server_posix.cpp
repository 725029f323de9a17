#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <thread>

#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif

#include "sim/pty_server.h"

namespace vrellix::sim {
namespace {

// How long a closing line waits for the client to read the last answer.
constexpr int kCloseGraceMs = 2000;

// The write end of the stop pipe of the server that handles the signals.
volatile sig_atomic_t g_signalStopFd = -1;

void OnStopSignal(int) {
  const int savedErrno = errno;
  const int fd = g_signalStopFd;
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(fd, &byte, 1);
  }
  errno = savedErrno;
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Answers that do not fit because the client reads nothing are dropped, as a
// transmitter's would be; waiting for room could keep the server from stopping.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t count) {
  while (count > 0) {
    const ssize_t n = write(fd, data, count);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (n <= 0) return false;
    data += n;
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

struct PtyServer::Impl {
  using SteadyClock = std::chrono::steady_clock;
  struct DueByte {
    SteadyClock::time_point due;
    std::uint8_t byte;
  };

  LineAnswer& answer;
  std::deque<DueByte> due;  // answers not yet sent, in order of their time
  int master = -1;
  int slave = -1;  // held open so that the master never sees a hang-up between clients
  int stopPipe[2] = {-1, -1};
  std::string slavePath;
  std::thread thread;  // of Start

  explicit Impl(LineAnswer& a) : answer(a) {}
  ~Impl() {
    CloseFd(master);
    CloseFd(slave);
    CloseFd(stopPipe[0]);
    CloseFd(stopPipe[1]);
  }

  // Waits for input on the master (when open) or a stop, up to timeoutMs (-1: no limit).
  // Returns 1 for input, 0 for time-out, -1 for stop.
  int WaitInput(int timeoutMs) {
    pollfd fds[2] = {{stopPipe[0], POLLIN, 0}, {master, POLLIN, 0}};
    const nfds_t count = master >= 0 ? 2 : 1;
    for (;;) {
      const int n = poll(fds, count, timeoutMs);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 || (fds[0].revents & POLLIN)) return -1;
      if (n == 0) return 0;
      return 1;
    }
  }

  void Schedule(const std::vector<LineReply>& replies) {
    const SteadyClock::time_point now = SteadyClock::now();
    for (const LineReply& reply : replies) {
      const DueByte byte{now + std::chrono::milliseconds(reply.delayMs), reply.byte};
      const auto later = std::upper_bound(due.begin(), due.end(), byte,
                                          [](const DueByte& a, const DueByte& b) { return a.due < b.due; });
      due.insert(later, byte);
    }
  }

  // Milliseconds until the next answer is due (0 when one is), -1 with none waiting.
  int MsUntilDue() const {
    if (due.empty()) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due.front().due - SteadyClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
  }

  // Sends the answers whose time has come; false when the pair is gone.
  bool SendDue() {
    std::vector<std::uint8_t> bytes;
    const SteadyClock::time_point now = SteadyClock::now();
    while (!due.empty() && due.front().due <= now) {
      bytes.push_back(due.front().byte);
      due.pop_front();
    }
    return bytes.empty() || WriteAll(master, bytes.data(), bytes.size());
  }
};

PtyServer::PtyServer(LineAnswer& answer) : m_impl(std::make_unique<Impl>(answer)) {}

PtyServer::~PtyServer() {
  Stop();
  if (g_signalStopFd == m_impl->stopPipe[1]) g_signalStopFd = -1;
}

bool PtyServer::Open(std::string* error) {
  Impl& s = *m_impl;
  if (pipe(s.stopPipe) != 0) {
    *error = std::string("cannot create a pipe: ") + std::strerror(errno);
    return false;
  }
  for (int fd : s.stopPipe) fcntl(fd, F_SETFD, FD_CLOEXEC);
  fcntl(s.stopPipe[1], F_SETFL, O_NONBLOCK);  // a burst of signals must never block the handler

  char name[256] = {};
  if (openpty(&s.master, &s.slave, name, nullptr, nullptr) != 0) {
    *error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  fcntl(s.master, F_SETFD, FD_CLOEXEC);
  fcntl(s.master, F_SETFL, fcntl(s.master, F_GETFL) | O_NONBLOCK);
  fcntl(s.slave, F_SETFD, FD_CLOEXEC);
  // Raw from the start, so nothing is echoed or translated before a client
  // sets its own mode. Set through the slave: the master's settings are the slave's.
  termios raw{};
  if (tcgetattr(s.slave, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(s.slave, TCSANOW, &raw);
  }
  s.slavePath = name;
  return true;
}

const std::string& PtyServer::SlavePath() const { return m_impl->slavePath; }

void PtyServer::Serve() {
  Impl& s = *m_impl;
  if (s.stopPipe[0] < 0) return;  // never opened: nothing could stop it
  std::uint8_t buffer[256];
  while (s.master >= 0) {
    // A closing line first sends the answers still on their way.
    if (s.answer.LineClosed() && s.due.empty()) {
      if (s.WaitInput(kCloseGraceMs) < 0) return;
      break;
    }
    // Late answers go out on time while other packets keep coming.
    const int ready = s.WaitInput(s.MsUntilDue());
    if (ready < 0) return;
    if (ready > 0) {
      const ssize_t n = read(s.master, buffer, sizeof buffer);
      if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) break;  // the pair is gone
      if (n > 0) s.Schedule(s.answer.ReceiveTimed(buffer, static_cast<std::size_t>(n)));
    }
    if (!s.SendDue()) break;
  }
  CloseFd(s.master);
  CloseFd(s.slave);
  while (s.WaitInput(-1) >= 0) {
  }
}

void PtyServer::Start() {
  m_impl->thread = std::thread([this] { Serve(); });
}

void PtyServer::Stop() {
  if (!m_impl->thread.joinable()) return;
  RequestStop();
  m_impl->thread.join();
}

void PtyServer::RequestStop() {
  const char byte = 1;
  [[maybe_unused]] ssize_t n = write(m_impl->stopPipe[1], &byte, 1);
}

void PtyServer::StopOnSignals() {
  g_signalStopFd = m_impl->stopPipe[1];
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace vrellix::sim
