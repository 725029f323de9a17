#include "sim/simulated_device.h"

#include <algorithm>

#include "link/keys.h"
#include "text/text_codec.h"

namespace vrellix::sim {
namespace {

// The key whose code bytes these are, or -1 for bytes of no key.
int KeyOfCodeBytes(const std::uint8_t* codeBytes) {
  for (const KeyRow* row = KeyTableBegin(); row != KeyTableEnd(); ++row) {
    std::uint8_t bytes[4];
    KeyCodeBytes(row->code, bytes);
    if (std::equal(bytes, bytes + 4, codeBytes)) return row->code;
  }
  return -1;
}

bool IsWellFormed(const std::uint8_t* packet) {
  if (packet[0] != 0x02 || packet[1] != 0x04 || packet[2] != 0x05) return false;
  std::uint8_t check = 0;
  for (int i = 0; i < kPacketSize; ++i) check ^= packet[i];
  return check == 0;
}

}  // namespace

SimulatedDevice::SimulatedDevice(const SimulatorOptions& options)
    : m_options(options), m_model(options.oldText), m_random(options.seed) {}

std::uint8_t SimulatedDevice::Answer(const std::uint8_t* packet) {
  const int number = ++m_packets;
  if (!IsWellFormed(packet)) return NAK;
  // One draw per good packet, so the same packets always meet the same NAKs.
  const bool randomNak = m_options.nakRate > 0.0 && m_random() < m_options.nakRate * 4294967296.0;
  if (number == m_options.nakAt || randomNak) return NAK;
  const int key = KeyOfCodeBytes(packet + 3);
  if (key >= 0) m_model.Press(key);
  return ACK;
}

std::vector<std::uint8_t> SimulatedDevice::Receive(const std::uint8_t* data, std::size_t count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return ReceiveLocked(data, count);
}

std::vector<std::uint8_t> SimulatedDevice::ReceiveLocked(const std::uint8_t* data, std::size_t count) {
  std::vector<std::uint8_t> replies;
  for (std::size_t i = 0; i < count && !m_closed; ++i) {
    m_partial.push_back(data[i]);
    if (m_partial.size() < static_cast<std::size_t>(kPacketSize)) continue;
    if (m_packets + 1 == m_options.silentAt) {
      ++m_packets;  // lost on the way: no answer, no key
    } else {
      replies.push_back(Answer(m_partial.data()));
    }
    m_partial.clear();
    if (m_packets == m_options.closeAt) m_closed = true;
  }
  return replies;
}

int SimulatedDevice::Write(const std::uint8_t* data, std::size_t count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_closed) return COMM_FAILED;
  const std::vector<std::uint8_t> replies = ReceiveLocked(data, count);
  m_replies.insert(m_replies.end(), replies.begin(), replies.end());
  return COMM_OK;
}

int SimulatedDevice::Read(std::uint8_t* buffer, std::size_t count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  // A short read takes what there is, as a port whose time-out ran out would.
  std::size_t got = 0;
  while (got < count && !m_replies.empty()) {
    buffer[got++] = m_replies.front();
    m_replies.pop_front();
  }
  return got == count ? COMM_OK : COMM_FAILED;
}

void SimulatedDevice::PurgeInput() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_replies.clear();
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
  return m_model.Dump([](std::string_view cp932) { return Cp932ToUtf8(cp932); });
}

}  // namespace vrellix::sim
