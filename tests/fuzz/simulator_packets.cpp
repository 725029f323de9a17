// The simulator's packet reader takes any bytes, in pieces of any size: it
// answers each complete packet at most once, with ACK or NAK only, counts every
// packet, and its device model never breaks.
//
// Input: byte 1 picks the faults and whether the rest is raw line bytes or key
// numbers (each wrapped in a good packet, so the device model sees any key
// sequence); byte 2 seeds the piece sizes.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "keys/keys.h"
#include "sim/simulated_device.h"

namespace {

using vrellix::fuzz::Require;

std::vector<std::uint8_t> LineBytes(const std::uint8_t* data, std::size_t size, bool asKeys) {
  if (!asKeys) return std::vector<std::uint8_t>(data, data + size);
  const std::ptrdiff_t rows = vrellix::KeyTableEnd() - vrellix::KeyTableBegin();
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < size; ++i) {
    // Most bytes pick a key of the table; the rest send their own number.
    const int code = data[i] < 0xC0 ? vrellix::KeyTableBegin()[data[i] % rows].code : data[i] - 0xC0;
    const auto packet = vrellix::KeyPacket(code);
    bytes.insert(bytes.end(), packet.begin(), packet.end());
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t mode = data[0];
  std::uint32_t pieces = data[1];
  vrellix::sim::SimulatorOptions options;
  options.silentAt = mode & 0x02 ? 2 : 0;
  options.silentFrom = mode & 0x04 ? 40 : 0;
  options.nakAt = mode & 0x08 ? 3 : 0;
  options.nakRate = mode & 0x10 ? 0.25 : 0.0;
  options.closeAt = mode & 0x20 ? 30 : 0;
  options.oldText = mode & 0x40 ? "" : "OLD";
  const std::vector<std::uint8_t> line = LineBytes(data + 2, size - 2, mode & 0x01);

  vrellix::sim::SimulatedDevice device(options);
  std::size_t sent = 0;
  std::size_t replies = 0;
  int packetsBefore = 0;
  while (sent < line.size()) {
    pieces = pieces * 1103515245u + 12345u;
    const std::size_t piece = std::min<std::size_t>(line.size() - sent, 1 + (pieces >> 16) % 20);
    const std::vector<std::uint8_t> answer = device.Receive(line.data() + sent, piece);
    const int packetsNow = device.PacketsReceived();
    Require(packetsNow >= packetsBefore, "the packet count went back");
    // A piece completes at most (what was pending + the piece) / 8 packets.
    Require(packetsNow - packetsBefore <= static_cast<int>((sent % vrellix::kPacketSize + piece) / vrellix::kPacketSize),
            "more packets counted than arrived");
    Require(answer.size() <= static_cast<std::size_t>(packetsNow - packetsBefore), "more replies than packets");
    for (std::uint8_t reply : answer) Require(reply == vrellix::ACK || reply == vrellix::NAK, "a reply that is neither ACK nor NAK");
    replies += answer.size();
    packetsBefore = packetsNow;
    sent += piece;
  }

  const int packets = device.PacketsReceived();
  if (device.LineClosed()) {
    Require(options.closeAt > 0 && packets == options.closeAt, "the line closed at the wrong packet");
  } else {
    Require(packets == static_cast<int>(line.size() / vrellix::kPacketSize), "not every packet was counted");
  }
  const int unanswered = (options.silentAt > 0 && packets >= options.silentAt ? 1 : 0) +
                         (options.silentFrom > 0 && packets >= options.silentFrom ? packets - options.silentFrom + 1 : 0);
  Require(replies == static_cast<std::size_t>(packets - unanswered), "replies and packets disagree");
  // The model's record must stay printable whatever it was sent.
  (void)device.Dump();
  return 0;
}
