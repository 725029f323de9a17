// A pseudo-terminal pair standing in for the serial line: the code under test
// opens the slave by its path like a real tty; the test plays the transmitter
// on the master byte by byte (support/scripted_transmitter.h answers whole
// packets). The harness keeps its own slave descriptor open for its whole
// life, so the line never hangs up under the test, and it never changes the
// master's settings (that would change the slave's).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "support/bytes.h"

namespace vrellix::testing {

// What fd delivers within the time, stopping once at least `want` bytes are
// there (all that one read gives: more than want when more had come). hungUp,
// when given, tells whether the other side went away.
inline Bytes ReadWithin(int fd, std::size_t want, std::chrono::milliseconds within, bool* hungUp = nullptr) {
  Bytes got;
  const auto deadline = std::chrono::steady_clock::now() + within;
  while (got.size() < want) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
    std::uint8_t buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) {
      if (hungUp) *hungUp = true;
      break;
    }
    got.insert(got.end(), buffer, buffer + n);
  }
  return got;
}

class PtyPair {
 public:
  PtyPair() {
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
    m_slavePath = name;
  }
  ~PtyPair() {
    CloseMaster();
    close(m_slave);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& SlavePath() const { return m_slavePath; }
  int Master() const { return m_master; }
  int Slave() const { return m_slave; }

  // The transmitter goes away: the slave side sees a hang-up.
  void CloseMaster() {
    if (m_master != -1) close(m_master);
    m_master = -1;
  }

  void WriteToSlave(const Bytes& bytes) const {
    if (write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      throw std::runtime_error("write to pty master failed");
    }
  }

  // Everything the slave side wrote that arrives within the time, stopping as
  // soon as `want` bytes are there.
  Bytes ReadFromSlave(std::size_t want, std::chrono::milliseconds within) const {
    return ReadWithin(m_master, want, within);
  }

  // True once the bytes written by the master are readable on the slave side.
  bool WaitSlaveReadable(std::chrono::milliseconds within) const {
    pollfd pfd{m_slave, POLLIN, 0};
    return poll(&pfd, 1, static_cast<int>(within.count())) == 1 && (pfd.revents & POLLIN) != 0;
  }

 private:
  int m_master = -1;
  int m_slave = -1;
  std::string m_slavePath;
};

// A client of a served line: opens the slave side by its path, as the
// program does, in raw mode.
class PtyClient {
 public:
  explicit PtyClient(const std::string& path) : m_fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    termios t{};
    if (m_fd >= 0 && tcgetattr(m_fd, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(m_fd, TCSANOW, &t);
    }
  }
  ~PtyClient() {
    if (m_fd >= 0) close(m_fd);
  }
  PtyClient(const PtyClient&) = delete;
  PtyClient& operator=(const PtyClient&) = delete;

  bool Ok() const { return m_fd >= 0; }
  bool Send(const Bytes& bytes) const {
    return write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  Bytes Receive(std::size_t want, std::chrono::milliseconds within, bool* hungUp = nullptr) const {
    return ReadWithin(m_fd, want, within, hungUp);
  }

 private:
  int m_fd;
};

}  // namespace vrellix::testing
