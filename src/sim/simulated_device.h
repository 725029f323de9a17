// The simulated infrared transmitter with the ＲＺＴ behind it, as a byte channel.
//
// Each 8-byte packet written to it is checked (header 02 04 05, XOR of all eight
// bytes 00) and answered NAK (0x15) when bad; a good packet is answered ACK
// (0x06) and its key is pressed on the device model (code bytes of no key are
// acknowledged and ignored). Optional faults show the failure paths: no answer
// to packet n, NAK to packet n, NAK at random with a seeded rate, and closing
// the line after packet n. Packets are numbered from 1 over every packet
// received; a packet that gets no answer or a NAK does not reach the device.
// The key index of a model error counts only the keys that reached the device.
//
// In process, a packet that gets no answer makes the next Read fail at once
// (there is nothing to wait for). After the line closes, Write fails and Read
// fails once the replies already sent have been read.
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

#include "link/byte_channel.h"
#include "sim/device_model.h"

namespace vrellix::sim {

struct SimulatorOptions {
  std::string oldText = "OLD";  // what every field holds at first, code page 932
  int silentAt = 0;             // packet that gets no answer; 0 for none
  int nakAt = 0;                // packet that gets NAK; 0 for none
  double nakRate = 0.0;         // chance 0..1 that any good packet gets NAK
  std::uint32_t seed = 1;       // seed of that chance
  int closeAt = 0;              // packet after whose answer the line closes; 0 for none
};

class SimulatedDevice final : public ByteChannel {
 public:
  explicit SimulatedDevice(const SimulatorOptions& options = {});

  int Write(const std::uint8_t* data, std::size_t count) override;
  int Read(std::uint8_t* buffer, std::size_t count) override;
  void PurgeInput() override;

  // The line side: takes bytes as they arrive, assembles packets, and returns
  // the reply bytes to send back. Bytes arriving after the line closed are dropped.
  std::vector<std::uint8_t> Receive(const std::uint8_t* data, std::size_t count);

  bool LineClosed() const;
  int PacketsReceived() const;
  // A copy of the device as it stands now.
  DeviceModel Model() const;
  std::vector<ModelError> Errors() const;
  // The device's texts and the model errors in UTF-8 (see DeviceModel::Dump).
  std::string Dump() const;

 private:
  std::vector<std::uint8_t> ReceiveLocked(const std::uint8_t* data, std::size_t count);
  std::uint8_t Answer(const std::uint8_t* packet);

  mutable std::mutex m_mutex;
  SimulatorOptions m_options;
  DeviceModel m_model;
  std::mt19937 m_random;
  std::vector<std::uint8_t> m_partial;  // bytes of a packet not yet complete
  std::deque<std::uint8_t> m_replies;   // answers not yet read (in process)
  int m_packets = 0;
  bool m_closed = false;
};

}  // namespace vrellix::sim
