#include "keys/key_link.h"

#include <algorithm>

#include "keys/keys.h"

namespace vrellix {

namespace {

constexpr std::size_t kTakeChunk = 64;
// A line that never stops sending must not hold the worker.
constexpr int kMostTakeChunks = 64;
// A reply that leaves the transmitter at the limit is in the port's buffer
// by then (the port's read time-out allows as much for a byte).
constexpr int kReplyReceiveMs = kReadTimeout.msPerByte;

}  // namespace

KeyLink::KeyLink(ByteChannel& channel, Clock& clock, StopEvent& stop, int commandDelayMs)
    : m_channel(channel), m_clock(clock), m_stop(stop), m_nCommandDelay(commandDelayMs) {}

KeyResult KeyLink::PutCommand(int key) {
  m_bTried = false;
  // Looked at without waiting: a stop never interrupts a try under way.
  if (m_stop.IsSet()) return KeyResult::kStopped;

  std::uint8_t codeBytes[4];
  KeyCodeBytes(key, codeBytes);
  std::uint8_t packet[kPacketSize];
  BuildPacket(codeBytes, packet);

  m_bOutOfStep = false;
  const KeyResult result = Exchange(packet);
  if (result != KeyResult::kStopped && m_pObserver) m_pObserver->OnKey(key, result);
  return result;
}

KeyResult KeyLink::Exchange(const std::uint8_t* packet) {
  // A reply with no packet out: an earlier key may have reached the device
  // twice, and every later reply would be taken for the wrong key.
  if (TakeWaiting().bytes > 0) return OutOfStep();
  const Try first = TryOnce(packet);
  if (first == Try::kAck) return Acknowledged();
  if (m_stop.IsSet()) return KeyResult::kStopped;
  const Waiting late = TakeWaiting();
  if (late.acks > 1) return OutOfStep();
  // With one late ACK the first try's packet went through, and sending it
  // again would press the key twice.
  if (late.acks == 0 && TryOnce(packet) != Try::kAck) return KeyResult::kFailed;
  // The reply read or taken may not be the one it seems: the first packet's
  // answer may still be on its way (a key pressed twice), or the ACK read was
  // the first packet's while the second's is late. Left for the next key, such
  // a reply would be taken for its answer, whether its packet went through or not.
  if (!m_clock.Sleep(MsUntilNoReplyCanCome(), &m_stop)) return KeyResult::kStopped;
  if (TakeWaiting().bytes > 0) return OutOfStep();
  return Acknowledged();
}

int KeyLink::MsUntilNoReplyCanCome() {
  const std::int64_t lastReplyMs = m_nLastWriteMs + kLateReplyLimitMs + kReplyReceiveMs;
  return static_cast<int>(std::max<std::int64_t>(0, lastReplyMs - m_clock.NowMs()));
}

KeyLink::Try KeyLink::TryOnce(const std::uint8_t* packet) {
  m_bTried = true;
  const CommResult written = m_channel.Write(packet, kPacketSize);
  // A write that failed may still have sent the packet, or part of it.
  m_nLastWriteMs = m_clock.NowMs();
  if (written != CommResult::kOk) return Try::kNotSent;
  m_clock.Sleep(kReplyWaitMs, &m_stop);
  std::uint8_t reply = 0;
  if (m_channel.Read(&reply, 1) != CommResult::kOk) return Try::kNoReply;
  return reply == ACK ? Try::kAck : Try::kRefused;
}

KeyResult KeyLink::OutOfStep() {
  m_bOutOfStep = true;
  return KeyResult::kFailed;
}

KeyResult KeyLink::Acknowledged() {
  m_clock.Sleep(m_nCommandDelay, &m_stop);
  return KeyResult::kAcknowledged;
}

KeyLink::Waiting KeyLink::TakeWaiting() {
  Waiting waiting;
  std::uint8_t buffer[kTakeChunk];
  for (int chunk = 0; chunk < kMostTakeChunks; ++chunk) {
    std::size_t taken = 0;
    if (m_channel.TakeWaiting(buffer, sizeof buffer, &taken) != CommResult::kOk) break;
    waiting.bytes += taken;
    waiting.acks += static_cast<int>(std::count(buffer, buffer + taken, ACK));
    if (taken < sizeof buffer) break;
  }
  return waiting;
}

bool KeyLink::LineSettled(int ms) {
  if (!m_clock.Sleep(ms, &m_stop)) return false;
  return TakeWaiting().bytes == 0;
}

bool KeyLink::Pause(int ms) {
  if (m_pObserver) m_pObserver->OnPause(ms);
  return m_clock.Sleep(ms, &m_stop);
}

}  // namespace vrellix
