// A scripted infrared transmitter on a byte channel: records every packet written
// and answers each with ACK, NAK, nothing, or a failed write, as told, or with
// any bytes, some of them late. Time is counted in steps, the writes and reads
// of the line: a late reply arrives once a given number of them have ended.
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
  using Bytes = std::vector<std::uint8_t>;

  // Reply bytes that arrive once afterSteps more writes and reads have ended:
  // 0 at once, 1 right after the read of this packet's reply (too late for
  // it), 2 with the next packet (in time for its read), 3 after that read...
  struct Arrival {
    Bytes bytes;
    int afterSteps = 0;
  };
  struct Answer {
    bool writeFails = false;
    std::vector<Arrival> arrivals;
  };

  // What happened on the line, in order: a packet written (bytes empty when the
  // write failed), a reply read (bytes empty when it failed), bytes taken.
  struct LineEvent {
    enum Kind { kWrite, kRead, kTake };
    Kind kind;
    Bytes bytes;
  };

  // Replies for the next packets, in order; once used up every packet gets Ack.
  void Script(std::initializer_list<Reply> replies) {
    for (Reply reply : replies) m_script.push_back(AnswerFor(reply));
  }
  void Script(Answer answer) { m_script.push_back(std::move(answer)); }
  void ClearScript() { m_script.clear(); }
  void SetDefault(Reply reply) { m_default = reply; }
  // Called before the reply of each written packet, with its index from 0.
  void OnPacket(std::function<void(std::size_t)> hook) { m_onPacket = std::move(hook); }

  int Write(const std::uint8_t* data, std::size_t count) override {
    ++m_writeCalls;
    Answer answer = AnswerFor(m_default);
    if (!m_script.empty()) {
      answer = std::move(m_script.front());
      m_script.pop_front();
    }
    if (answer.writeFails) {
      m_events.push_back({LineEvent::kWrite, {}});
      return COMM_FAILED;
    }
    m_packets.emplace_back(data, data + count);
    m_events.push_back({LineEvent::kWrite, m_packets.back()});
    if (m_onPacket) m_onPacket(m_packets.size() - 1);
    Step(1);
    for (Arrival& arrival : answer.arrivals) m_onTheWay.push_back(std::move(arrival));
    Step(0);
    return COMM_OK;
  }

  int Read(std::uint8_t* buffer, std::size_t count) override {
    ++m_readCalls;
    const bool ok = m_pending.size() >= count;
    Bytes read;
    for (std::size_t i = 0; ok && i < count; ++i) {
      buffer[i] = m_pending.front();
      read.push_back(m_pending.front());
      m_pending.pop_front();
    }
    m_events.push_back({LineEvent::kRead, read});
    Step(1);
    return ok ? COMM_OK : COMM_FAILED;
  }

  void PurgeInput() override {
    ++m_purges;
    m_pending.clear();
  }

  int TakeWaiting(std::uint8_t* buffer, std::size_t capacity, std::size_t* taken) override {
    Bytes bytes;
    while (bytes.size() < capacity && !m_pending.empty()) {
      buffer[bytes.size()] = m_pending.front();
      bytes.push_back(m_pending.front());
      m_pending.pop_front();
    }
    *taken = bytes.size();
    m_events.push_back({LineEvent::kTake, std::move(bytes)});
    return COMM_OK;
  }

  // Every reply still on its way arrives now.
  void ArriveAll() { Step(1 << 30); }
  const std::vector<LineEvent>& Events() const { return m_events; }

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
  static Answer AnswerFor(Reply reply) {
    if (reply == Reply::WriteFails) return {true, {}};
    if (reply == Reply::Silent) return {};
    return {false, {{{reply == Reply::Ack ? ACK : NAK}, 0}}};
  }

  // Counts steps down and moves the replies whose time has come to the line.
  void Step(int steps) {
    for (auto it = m_onTheWay.begin(); it != m_onTheWay.end();) {
      it->afterSteps -= std::min(steps, it->afterSteps);
      if (it->afterSteps > 0) {
        ++it;
        continue;
      }
      m_pending.insert(m_pending.end(), it->bytes.begin(), it->bytes.end());
      it = m_onTheWay.erase(it);
    }
  }

  std::deque<Answer> m_script;
  std::vector<Arrival> m_onTheWay;
  std::vector<LineEvent> m_events;
  Reply m_default = Reply::Ack;
  std::deque<std::uint8_t> m_pending;
  std::vector<Packet> m_packets;
  std::function<void(std::size_t)> m_onPacket;
  int m_writeCalls = 0;
  int m_readCalls = 0;
  int m_purges = 0;
};

}  // namespace vrellix::testing
