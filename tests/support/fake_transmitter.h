// A scripted infrared transmitter on a byte channel: records every packet written
// and answers each with ACK, NAK, nothing, or a failed write, as told.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "link/byte_channel.h"
#include "link/keys.h"

namespace vrellix::testing {

// Code returned by FakeTransmitter::Keys() for a packet whose code bytes match no key.
constexpr int kUnknownKey = -1000;

class FakeTransmitter final : public ByteChannel {
 public:
  enum class Reply { Ack, Nak, Silent, WriteFails };
  using Packet = std::vector<std::uint8_t>;

  // Replies for the next packets, in order; once used up every packet gets Ack.
  void Script(std::initializer_list<Reply> replies) { m_script.insert(m_script.end(), replies); }
  void SetDefault(Reply reply) { m_default = reply; }
  // Called before the reply of each written packet, with its index from 0.
  void OnPacket(std::function<void(std::size_t)> hook) { m_onPacket = std::move(hook); }

  int Write(const std::uint8_t* data, std::size_t count) override {
    ++m_writeCalls;
    Reply reply = m_default;
    if (!m_script.empty()) {
      reply = m_script.front();
      m_script.pop_front();
    }
    if (reply == Reply::WriteFails) return COMM_FAILED;
    m_packets.emplace_back(data, data + count);
    if (m_onPacket) m_onPacket(m_packets.size() - 1);
    if (reply == Reply::Ack) m_pending.push_back(ACK);
    if (reply == Reply::Nak) m_pending.push_back(NAK);
    return COMM_OK;
  }

  int Read(std::uint8_t* buffer, std::size_t count) override {
    ++m_readCalls;
    if (m_pending.size() < count) return COMM_FAILED;
    for (std::size_t i = 0; i < count; ++i) {
      buffer[i] = m_pending.front();
      m_pending.pop_front();
    }
    return COMM_OK;
  }

  void PurgeInput() override {
    ++m_purges;
    m_pending.clear();
  }

  // Queue a byte as if it had arrived late from an earlier exchange.
  void InjectByte(std::uint8_t byte) { m_pending.push_back(byte); }

  const std::vector<Packet>& Packets() const { return m_packets; }
  void ClearPackets() { m_packets.clear(); }

  // The key code of every packet written, in order.
  std::vector<int> Keys() const {
    std::vector<int> keys;
    for (const Packet& packet : m_packets) keys.push_back(DecodeKey(packet));
    return keys;
  }

  static int DecodeKey(const Packet& packet) {
    if (packet.size() != static_cast<std::size_t>(kPacketSize)) return kUnknownKey;
    for (const KeyRow* row = KeyTableBegin(); row != KeyTableEnd(); ++row) {
      std::uint8_t bytes[4];
      KeyCodeBytes(row->code, bytes);
      if (std::equal(bytes, bytes + 4, packet.begin() + 3)) return row->code;
    }
    return kUnknownKey;
  }

  int WriteCalls() const { return m_writeCalls; }
  int ReadCalls() const { return m_readCalls; }
  int Purges() const { return m_purges; }

 private:
  std::deque<Reply> m_script;
  Reply m_default = Reply::Ack;
  std::deque<std::uint8_t> m_pending;
  std::vector<Packet> m_packets;
  std::function<void(std::size_t)> m_onPacket;
  int m_writeCalls = 0;
  int m_readCalls = 0;
  int m_purges = 0;
};

}  // namespace vrellix::testing
