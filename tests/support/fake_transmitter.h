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

#include "keys/byte_channel.h"
#include "keys/keys.h"

namespace vrellix::testing {

// Code returned by FakeTransmitter::Keys() for a packet that carries no key.
constexpr int kUnknownKey = -1000;

class FakeTransmitter final : public ByteChannel {
 public:
  enum class Reply { Ack, Nak, Silent, WriteFails };
  using Packet = std::vector<std::uint8_t>;
  using Bytes = std::vector<std::uint8_t>;

  // Reply bytes that arrive once afterSteps more writes and reads have ended:
  // 0 at once, 1 right after this packet's reply read (too late for it), 2 with
  // the next packet (in time for its read), 3 after that read...
  struct Arrival {
    Bytes bytes;
    int afterSteps = 0;
  };
  struct Answer {
    bool writeFails = false;
    std::vector<Arrival> arrivals;
  };
  // The line's history: 'w' a packet written (no bytes: the write failed), 'r'
  // a reply read (no bytes: the read failed), 't' bytes taken.
  struct LineEvent {
    char kind;
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

  CommResult Write(const std::uint8_t* data, std::size_t count) override {
    ++m_writeCalls;
    Answer answer = AnswerFor(m_default);
    if (!m_script.empty()) {
      answer = std::move(m_script.front());
      m_script.pop_front();
    }
    m_events.push_back({'w', answer.writeFails ? Bytes{} : Bytes(data, data + count)});
    if (answer.writeFails) return CommResult::kFailed;
    m_packets.emplace_back(data, data + count);
    if (m_onPacket) m_onPacket(m_packets.size() - 1);
    Step(1);
    for (Arrival& arrival : answer.arrivals) m_onTheWay.push_back(std::move(arrival));
    Step(0);
    return CommResult::kOk;
  }

  CommResult Read(std::uint8_t* buffer, std::size_t count) override {
    ++m_readCalls;
    const bool ok = m_pending.size() >= count;
    m_events.push_back({'r', ok ? Take(buffer, count) : Bytes{}});
    Step(1);
    return ok ? CommResult::kOk : CommResult::kFailed;
  }

  void PurgeInput() override {
    ++m_purges;
    m_pending.clear();
  }

  CommResult TakeWaiting(std::uint8_t* buffer, std::size_t capacity, std::size_t* taken) override {
    *taken = std::min(capacity, m_pending.size());
    m_events.push_back({'t', Take(buffer, *taken)});
    return CommResult::kOk;
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

  // The key of a packet, kUnknownKey for one that carries none.
  static int DecodeKey(const Packet& packet) { return KeyOfPacket(packet.data(), packet.size()).value_or(kUnknownKey); }

  int WriteCalls() const { return m_writeCalls; }
  int ReadCalls() const { return m_readCalls; }
  int Purges() const { return m_purges; }

 private:
  static Answer AnswerFor(Reply reply) {
    if (reply == Reply::WriteFails) return {true, {}};
    if (reply == Reply::Silent) return {};
    return {false, {{{reply == Reply::Ack ? ACK : NAK}, 0}}};
  }

  Bytes Take(std::uint8_t* buffer, std::size_t count) {
    std::copy_n(m_pending.begin(), count, buffer);
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(count));
    return Bytes(buffer, buffer + count);
  }

  // Counts steps down and moves the replies whose time has come to the line.
  void Step(int steps) {
    for (Arrival& arrival : m_onTheWay) {
      arrival.afterSteps -= std::min(steps, arrival.afterSteps);
      if (arrival.afterSteps == 0) m_pending.insert(m_pending.end(), arrival.bytes.begin(), arrival.bytes.end());
    }
    m_onTheWay.erase(std::remove_if(m_onTheWay.begin(), m_onTheWay.end(), [](const Arrival& a) { return a.afterSteps == 0; }),
                     m_onTheWay.end());
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
