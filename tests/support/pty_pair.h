// A pseudo-terminal pair standing in for the serial line: the code under test
// opens the slave by its path like a real tty; the test plays the transmitter
// on the master. The harness keeps its own slave descriptor open for its whole
// life, so the line never hangs up under the test, and it never changes the
// master's settings (that would change the slave's).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vrellix::testing {

using Bytes = std::vector<std::uint8_t>;

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
    Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (got.size() < want) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd pfd{m_master, POLLIN, 0};
      if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
      std::uint8_t buffer[4096];
      const ssize_t n = read(m_master, buffer, sizeof buffer);
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
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

// The infrared transmitter on the master side: answers every complete 8-byte
// packet with the next scripted reply (nothing for std::nullopt; ACK once the
// script is used up) and records every byte it received.
class PtyResponder {
 public:
  using Reply = std::optional<std::uint8_t>;

  explicit PtyResponder(PtyPair& pty, std::vector<Reply> script = {})
      : m_pty(pty), m_script(script.begin(), script.end()) {}
  ~PtyResponder() { Stop(); }

  // Called with each packet's index before its reply is written.
  void OnPacket(std::function<void(std::size_t)> hook) { m_onPacket = std::move(hook); }

  void Start() {
    m_running = true;
    m_thread = std::thread([this] { Run(); });
  }

  void Stop() {
    m_running = false;
    if (m_thread.joinable()) m_thread.join();
  }

  Bytes Received() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
  }

 private:
  void Run() {
    std::size_t packets = 0;
    Bytes pending;
    while (m_running) {
      pollfd pfd{m_pty.Master(), POLLIN, 0};
      if (poll(&pfd, 1, 20) <= 0 || (pfd.revents & POLLIN) == 0) continue;
      std::uint8_t buffer[256];
      const ssize_t n = read(m_pty.Master(), buffer, sizeof buffer);
      if (n <= 0) continue;
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_received.insert(m_received.end(), buffer, buffer + n);
      }
      pending.insert(pending.end(), buffer, buffer + n);
      while (pending.size() >= 8) {
        pending.erase(pending.begin(), pending.begin() + 8);
        if (m_onPacket) m_onPacket(packets);
        ++packets;
        Reply reply = std::uint8_t{0x06};
        if (!m_script.empty()) {
          reply = m_script.front();
          m_script.pop_front();
        }
        if (reply) m_pty.WriteToSlave({*reply});
      }
    }
  }

  PtyPair& m_pty;
  std::deque<Reply> m_script;
  std::function<void(std::size_t)> m_onPacket;
  std::atomic<bool> m_running{false};
  std::thread m_thread;
  mutable std::mutex m_mutex;
  Bytes m_received;
};

}  // namespace vrellix::testing
