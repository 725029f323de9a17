// The simulated infrared transmitter with the ＲＺＴ behind it, as a byte channel.
//
// Each 8-byte packet written to it is checked (header 02 04 05, XOR of all eight
// bytes 00) and answered NAK (0x15) when bad; a good packet is answered ACK
// (0x06) and its key is pressed on the device model (code bytes of no key are
// acknowledged and ignored). Packets are numbered from 1 over every packet
// received. Optional faults show the failure paths:
//   lost      no answer to packet n, or to every packet from n on
//   refused   NAK to packet n, or NAK at random with a seeded rate
//   late      the ACK of packet n comes ms milliseconds late
//   doubled   packet n is answered with two ACKs
//   junk      packet n is answered with the given bytes instead of one ACK
//   hang-up   the line closes after packet n's answer
// Whether a packet reached the device: a lost or refused one did not; a late or
// doubled answer means it did; with junk it did exactly when the bytes hold an
// ACK (a transmitter that answers garbage without one cannot be told from one
// that refused). The key index of a model error counts only the keys that
// reached the device.
//
// In process the replies are timed by a clock, the job's (the device's own
// virtual clock when none is given): each reply arrives at the time of its
// packet's write plus its delay. A Read that has to wait moves the clock on, to
// the reply's arrival when it comes within the port's read time-out
// (keys/byte_channel.h), else by the whole time-out, and then fails. TakeWaiting returns only
// replies that have arrived. After the line closes, Write fails and Read fails
// once the replies already sent have been read.
//
// Every operation takes one lock, so a job's worker can drive the device while
// another thread reads its state.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "keys/byte_channel.h"
#include "sim/device_model.h"
#include "sim/line_answer.h"
#include "timing/clock.h"
#include "timing/virtual_clock.h"

namespace vrellix::sim {

// A fault on one packet (see the list above).
struct PacketFault {
  enum class Kind { kLost, kRefused, kLate, kDoubled, kJunk };
  Kind kind = Kind::kLost;
  int packet = 0;                   // from 1
  int lateMs = 0;                   // kLate: how late the ACK comes
  std::vector<std::uint8_t> junk;   // kJunk: the answer's bytes
};

struct SimulatorOptions {
  std::string oldText = "OLD";  // what every field holds at first, code page 932
  int silentAt = 0;             // packet that gets no answer; 0 for none
  int silentFrom = 0;           // first packet of a silence that never ends; 0 for none
  int nakAt = 0;                // packet that gets NAK; 0 for none
  double nakRate = 0.0;         // chance 0..1 that any good packet gets NAK
  std::uint32_t seed = 1;       // seed of that chance
  int closeAt = 0;              // packet after whose answer the line closes; 0 for none
  std::vector<PacketFault> faults;  // more faults; of two on one packet the first counts
};

class SimulatedDevice final : public ByteChannel, public LineAnswer {
 public:
  // Replies are timed by clock (which must outlive the device), or by the
  // device's own virtual clock when it is nullptr.
  explicit SimulatedDevice(const SimulatorOptions& options = {}, Clock* clock = nullptr);

  CommResult Write(const std::uint8_t* data, std::size_t count) override;
  CommResult Read(std::uint8_t* buffer, std::size_t count) override;
  // Discards the replies that have arrived; later ones still come.
  void PurgeInput() override;
  CommResult TakeWaiting(std::uint8_t* buffer, std::size_t capacity, std::size_t* taken) override;

  // The clock that times the replies; a job in process runs on it.
  Clock& ReplyClock() { return m_clock; }

  // The line side: takes bytes as they arrive, assembles packets, and returns
  // the reply bytes to send back, each with its delay. Bytes arriving after the
  // line closed are dropped.
  std::vector<LineReply> ReceiveTimed(const std::uint8_t* data, std::size_t count) override;
  // The same without the delays: the reply bytes in the order they were made.
  std::vector<std::uint8_t> Receive(const std::uint8_t* data, std::size_t count);

  bool LineClosed() const override;
  int PacketsReceived() const;
  // A copy of the device as it stands now.
  DeviceModel Model() const;
  std::vector<ModelError> Errors() const;
  // The device's texts and the model errors in UTF-8 (see DeviceModel::Dump).
  std::string Dump() const;
  // The user brings the device back to the playlist list with the remote
  // (DeviceModel::ReturnToPlaylistList), as before a job continues.
  void ReturnToPlaylistList();

 private:
  struct TimedByte {
    std::int64_t arrivalMs;
    std::uint8_t byte;
  };

  std::vector<LineReply> ReceiveLocked(const std::uint8_t* data, std::size_t count);
  std::vector<LineReply> Answer(const std::uint8_t* packet);
  const PacketFault* FaultOf(int number) const;
  bool Arrived(std::int64_t nowMs) const { return !m_replies.empty() && m_replies.front().arrivalMs <= nowMs; }

  mutable std::mutex m_mutex;
  SimulatorOptions m_options;
  VirtualClock m_ownClock;
  Clock& m_clock;
  DeviceModel m_model;
  std::mt19937 m_random;
  std::vector<std::uint8_t> m_partial;  // bytes of a packet not yet complete
  std::deque<TimedByte> m_replies;      // answers not yet read (in process), by arrival
  int m_packets = 0;
  bool m_closed = false;
};

}  // namespace vrellix::sim
