// Bytes as tests compare and show them: packets on the line, code page 932 pieces.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "keys/keys.h"

namespace vrellix::testing {

using Bytes = std::vector<std::uint8_t>;

// The 8-byte packet of a key, as the program sends it.
inline Bytes PacketOf(int key) {
  const auto packet = KeyPacket(key);
  return Bytes(packet.begin(), packet.end());
}

// "02 04 05": each byte in hexadecimal, separated by spaces.
inline std::string Hex(const Bytes& bytes) {
  std::string out;
  char digits[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(digits, sizeof digits, i ? " %02X" : "%02X", bytes[i]);
    out += digits;
  }
  return out;
}
inline std::string Hex(std::string_view bytes) { return Hex(Bytes(bytes.begin(), bytes.end())); }

}  // namespace vrellix::testing
