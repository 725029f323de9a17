// The transmitter's end of a serial line as a server plays it: bytes come in as
// they arrive, reply bytes go back, each after a delay of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vrellix::sim {

// One reply byte to send back, delayMs after the packet arrived.
struct LineReply {
  std::uint8_t byte;
  int delayMs;
  bool operator==(const LineReply& other) const { return byte == other.byte && delayMs == other.delayMs; }
};

// What answers the packets on a line: the simulated device, or a script.
class LineAnswer {
 public:
  virtual ~LineAnswer() = default;
  // Takes bytes as they arrive (packets may come in pieces) and returns the
  // reply bytes to send back, each with its delay.
  virtual std::vector<LineReply> ReceiveTimed(const std::uint8_t* data, std::size_t count) = 0;
  // True once the line is to hang up, after the replies on their way.
  virtual bool LineClosed() const = 0;
};

}  // namespace vrellix::sim
