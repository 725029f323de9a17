#include "sim/simulated_device.h"

#include <algorithm>

#include "keys/keys.h"
#include "text/text_codec.h"

namespace vrellix::sim {

SimulatedDevice::SimulatedDevice(const SimulatorOptions& options, Clock* clock)
    : m_options(options),
      m_clock(clock ? *clock : m_ownClock),
      m_model(options.oldText),
      m_random(options.seed) {}

const PacketFault* SimulatedDevice::FaultOf(int number) const {
  for (const PacketFault& fault : m_options.faults) {
    if (fault.packet == number) return &fault;
  }
  return nullptr;
}

std::vector<LineReply> SimulatedDevice::Answer(const std::uint8_t* packet) {
  const int number = ++m_packets;
  const PacketFault* fault = FaultOf(number);
  const bool lost = number == m_options.silentAt || (m_options.silentFrom > 0 && number >= m_options.silentFrom) ||
                    (fault && fault->kind == PacketFault::Kind::kLost);
  if (lost) return {};  // lost on the way: no answer, no key
  if (!IsWellFormedPacket(packet)) return {{NAK, 0}};
  // One draw per good packet, so the same packets always meet the same NAKs.
  const bool randomNak = m_options.nakRate > 0.0 && m_random() < m_options.nakRate * 4294967296.0;
  if (number == m_options.nakAt || randomNak || (fault && fault->kind == PacketFault::Kind::kRefused)) {
    return {{NAK, 0}};
  }

  std::vector<LineReply> replies{{ACK, 0}};
  if (fault && fault->kind == PacketFault::Kind::kLate) replies = {{ACK, fault->lateMs}};
  if (fault && fault->kind == PacketFault::Kind::kDoubled) replies = {{ACK, 0}, {ACK, 0}};
  if (fault && fault->kind == PacketFault::Kind::kJunk) {
    replies.clear();
    for (std::uint8_t byte : fault->junk) replies.push_back({byte, 0});
  }
  const bool reached = std::any_of(replies.begin(), replies.end(), [](const LineReply& r) { return r.byte == ACK; });
  const std::optional<int> key = KeyOfPacket(packet, kPacketSize);
  if (reached && key) m_model.Press(*key);
  return replies;
}

std::vector<LineReply> SimulatedDevice::ReceiveTimed(const std::uint8_t* data, std::size_t count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return ReceiveLocked(data, count);
}

std::vector<std::uint8_t> SimulatedDevice::Receive(const std::uint8_t* data, std::size_t count) {
  std::vector<std::uint8_t> bytes;
  for (const LineReply& reply : ReceiveTimed(data, count)) bytes.push_back(reply.byte);
  return bytes;
}

std::vector<LineReply> SimulatedDevice::ReceiveLocked(const std::uint8_t* data, std::size_t count) {
  std::vector<LineReply> replies;
  for (std::size_t i = 0; i < count && !m_closed; ++i) {
    m_partial.push_back(data[i]);
    if (m_partial.size() < static_cast<std::size_t>(kPacketSize)) continue;
    const std::vector<LineReply> answer = Answer(m_partial.data());
    replies.insert(replies.end(), answer.begin(), answer.end());
    m_partial.clear();
    if (m_packets == m_options.closeAt) m_closed = true;
  }
  return replies;
}

CommResult SimulatedDevice::Write(const std::uint8_t* data, std::size_t count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_closed) return CommResult::kFailed;
  const std::int64_t now = m_clock.NowMs();
  for (const LineReply& reply : ReceiveLocked(data, count)) {
    const TimedByte timed{now + reply.delayMs, reply.byte};
    // In order of arrival; replies that arrive together keep their order.
    const auto later = std::upper_bound(m_replies.begin(), m_replies.end(), timed,
                                        [](const TimedByte& a, const TimedByte& b) { return a.arrivalMs < b.arrivalMs; });
    m_replies.insert(later, timed);
  }
  return CommResult::kOk;
}

CommResult SimulatedDevice::Read(std::uint8_t* buffer, std::size_t count) {
  std::unique_lock<std::mutex> lock(m_mutex);
  const std::int64_t deadline = m_clock.NowMs() + kReadTimeout.For(count);
  // A short read takes what there is, as a port whose time-out ran out would.
  std::size_t got = 0;
  while (got < count) {
    const std::int64_t now = m_clock.NowMs();
    if (Arrived(now)) {
      buffer[got++] = m_replies.front().byte;
      m_replies.pop_front();
      continue;
    }
    // Nothing more can come over a line that closed with nothing on its way.
    if (now >= deadline || (m_closed && m_replies.empty())) break;
    const std::int64_t until = m_replies.empty() ? deadline : std::min(deadline, m_replies.front().arrivalMs);
    lock.unlock();
    m_clock.Sleep(static_cast<int>(until - now), nullptr);
    lock.lock();
  }
  return got == count ? CommResult::kOk : CommResult::kFailed;
}

CommResult SimulatedDevice::TakeWaiting(std::uint8_t* buffer, std::size_t capacity, std::size_t* taken) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const std::int64_t now = m_clock.NowMs();
  *taken = 0;
  while (*taken < capacity && Arrived(now)) {
    buffer[(*taken)++] = m_replies.front().byte;
    m_replies.pop_front();
  }
  return CommResult::kOk;
}

void SimulatedDevice::PurgeInput() {
  std::lock_guard<std::mutex> lock(m_mutex);
  const std::int64_t now = m_clock.NowMs();
  while (Arrived(now)) m_replies.pop_front();
}

bool SimulatedDevice::LineClosed() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_closed;
}

int SimulatedDevice::PacketsReceived() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_packets;
}

DeviceModel SimulatedDevice::Model() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_model;
}

std::vector<ModelError> SimulatedDevice::Errors() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_model.Errors();
}

std::string SimulatedDevice::Dump() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_model.Dump();
}

void SimulatedDevice::ReturnToPlaylistList() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_model.ReturnToPlaylistList();
}

}  // namespace vrellix::sim
