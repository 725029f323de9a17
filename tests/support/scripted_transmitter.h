// The infrared transmitter at the far end of a pseudo-terminal, for tests that
// run the program's real serial port: the core's PtyServer answering each 8-byte
// packet with the next scripted reply (ACK, NAK, nothing, two ACKs...; the
// default, ACK, once the script is used up) and recording every byte received.
// It serves from construction to destruction. POSIX only.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "keys/keys.h"
#include "sim/pty_server.h"
#include "support/fake_transmitter.h"

namespace vrellix::testing {

class ScriptedTransmitter final : private sim::LineAnswer {
 public:
  using Bytes = std::vector<std::uint8_t>;
  // The bytes that answer one packet: {ACK}, {NAK}, {} for none, {ACK, ACK}.
  using Reply = Bytes;

  explicit ScriptedTransmitter(std::vector<Reply> script = {}) : m_script(script.begin(), script.end()) {
    std::string error;
    if (!m_server.Open(&error)) throw std::runtime_error(error);
    m_server.Start();
  }
  ~ScriptedTransmitter() override { m_server.Stop(); }
  ScriptedTransmitter(const ScriptedTransmitter&) = delete;
  ScriptedTransmitter& operator=(const ScriptedTransmitter&) = delete;

  // The device the program opens.
  const std::string& SlavePath() const { return m_server.SlavePath(); }

  // Called on the serving thread with each packet's index, before its reply.
  void OnPacket(std::function<void(std::size_t)> hook) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_onPacket = std::move(hook);
  }
  // The reply once the script is used up.
  void SetDefault(Reply reply) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_default = std::move(reply);
  }
  // Nothing is answered or recorded after this.
  void Stop() { m_server.Stop(); }

  Bytes Received() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
  }
  // The key of every whole packet received, kUnknownKey for one that carries none.
  std::vector<int> Keys() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<int> keys;
    for (std::size_t at = 0; at + kPacket <= m_received.size(); at += kPacket) {
      keys.push_back(KeyOfPacket(&m_received[at], kPacket).value_or(kUnknownKey));
    }
    return keys;
  }
  std::size_t PacketCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_packets;
  }
  // Waits until at least count packets have arrived; returns how many have.
  std::size_t WaitForPackets(std::size_t count, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_arrived.wait_for(lock, limit, [&] { return m_packets >= count; });
    return m_packets;
  }

 private:
  static constexpr std::size_t kPacket = kPacketSize;

  std::vector<sim::LineReply> ReceiveTimed(const std::uint8_t* data, std::size_t count) override {
    std::vector<sim::LineReply> replies;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_received.insert(m_received.end(), data, data + count);
    while (m_received.size() >= (m_packets + 1) * kPacket) {
      const std::size_t index = m_packets++;
      Reply reply = m_default;
      if (!m_script.empty()) {
        reply = std::move(m_script.front());
        m_script.pop_front();
      }
      for (std::uint8_t byte : reply) replies.push_back({byte, 0});
      const std::function<void(std::size_t)> hook = m_onPacket;
      lock.unlock();
      if (hook) hook(index);
      lock.lock();
    }
    m_arrived.notify_all();
    return replies;
  }
  bool LineClosed() const override { return false; }

  mutable std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::deque<Reply> m_script;
  Reply m_default{ACK};
  std::function<void(std::size_t)> m_onPacket;
  Bytes m_received;
  std::size_t m_packets = 0;
  sim::PtyServer m_server{*this};  // last: its thread uses everything above
};

}  // namespace vrellix::testing
