// Bytes on the line as tests compare them.
#pragma once

#include <cstdint>
#include <vector>

#include "link/keys.h"

namespace vrellix::testing {

using Bytes = std::vector<std::uint8_t>;

// The 8-byte packet of a key, as the program sends it.
inline Bytes PacketOf(int key) {
  const auto packet = KeyPacket(key);
  return Bytes(packet.begin(), packet.end());
}

}  // namespace vrellix::testing
