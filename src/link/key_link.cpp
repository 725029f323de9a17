#include "link/key_link.h"

#include "link/keys.h"

namespace vrellix {

KeyLink::KeyLink(ByteChannel& channel, Clock& clock, StopEvent& stop, int commandDelayMs)
    : m_channel(channel), m_clock(clock), m_stop(stop), m_nCommandDelay(commandDelayMs) {}

int KeyLink::PutCommand(int key) {
  // Looked at once, without waiting: a stop never interrupts an exchange under way.
  if (m_stop.IsSet()) return -1;

  std::uint8_t codeBytes[4];
  KeyCodeBytes(key, codeBytes);

  int result = 0;
  for (int attempt = 0; attempt < kPutCommandTries && result == 0; ++attempt) {
    std::uint8_t packet[kPacketSize];
    BuildPacket(codeBytes, packet);
    if (m_channel.Write(packet, kPacketSize) != COMM_OK) continue;
    m_clock.Sleep(kReplyWaitMs, &m_stop);
    std::uint8_t reply = 0;
    if (m_channel.Read(&reply, 1) != COMM_OK) continue;
    if (reply == ACK) {
      m_clock.Sleep(m_nCommandDelay, &m_stop);
      result = 1;
    }
  }
  if (m_pObserver) m_pObserver->OnKey(key, result);
  return result;
}

bool KeyLink::Pause(int ms) {
  if (m_pObserver) m_pObserver->OnPause(ms);
  return m_clock.Sleep(ms, &m_stop);
}

}  // namespace vrellix
