// The byte channel that key packets travel over: the serial port in the
// program, a scripted transmitter or the device model in tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vrellix {

// Every channel's time-outs, as the serial port sets them (COMMTIMEOUTS on
// Windows): a transfer of count bytes gives up msPerByte * count + constantMs
// after it began. The simulated device times its replies by the same read.
struct TransferTimeout {
  int msPerByte;
  int constantMs;
  constexpr std::int64_t For(std::size_t count) const {
    return std::int64_t{msPerByte} * static_cast<std::int64_t>(count) + constantMs;
  }
};
constexpr TransferTimeout kReadTimeout{50, 500};
constexpr TransferTimeout kWriteTimeout{5, 50};

// Results of the transfer operations; the same small set as the serial port's.
enum class CommResult : int {
  kOk = 0,      // every byte transferred
  kNoPort = 1,  // the channel holds no open port
  kFailed = 2,  // the transfer failed or was short (a read timed out)
};

class ByteChannel {
 public:
  virtual ~ByteChannel() = default;
  // Writes all bytes and returns once they have left the output queue.
  virtual CommResult Write(const std::uint8_t* data, std::size_t count) = 0;
  // Reads exactly count bytes within the read time-out.
  virtual CommResult Read(std::uint8_t* buffer, std::size_t count) = 0;
  // Discards whatever has been received and not yet read.
  virtual void PurgeInput() = 0;
  // Takes up to capacity bytes that have been received and not yet read,
  // without waiting for more; *taken says how many (0 when none).
  virtual CommResult TakeWaiting(std::uint8_t* buffer, std::size_t capacity, std::size_t* taken) = 0;
};

}  // namespace vrellix
