#include "keys/keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/bytes.h"

namespace vrellix {
namespace {

std::string PacketFor(int code) { return testing::Hex(testing::PacketOf(code)); }

struct GoldenPacket {
  int code;
  const char* name;
  const char* packet;
};

// The "packet as sent" column of the transmitter's key table, typed in by hand.
const GoldenPacket kGolden[] = {
    {0, "KEY_0", "02 04 05 B5 E9 F5 F7 5D"},
    {1, "KEY_1", "02 04 05 B5 E9 F5 67 CD"},
    {2, "KEY_2", "02 04 05 B5 E9 F5 E7 4D"},
    {3, "KEY_3", "02 04 05 B5 E9 F5 17 BD"},
    {4, "KEY_4", "02 04 05 B5 E9 F5 97 3D"},
    {5, "KEY_5", "02 04 05 B5 E9 F5 57 FD"},
    {6, "KEY_6", "02 04 05 B5 E9 F5 D7 7D"},
    {7, "KEY_7", "02 04 05 B5 E9 F5 37 9D"},
    {8, "KEY_8", "02 04 05 B5 E9 F5 B7 1D"},
    {9, "KEY_9", "02 04 05 B5 E9 F5 77 DD"},
    {17, "KEY_PALLET", "02 04 05 B5 E9 F5 4F E5"},
    {18, "KEY_NEXT", "02 04 05 B5 E9 F5 8F 25"},
    {19, "KEY_ERASE", "02 04 05 B5 E9 F5 CF 65"},
    {20, "KEY_FINISH", "02 04 05 B5 E9 F5 2F 85"},
    {21, "KEY_BACK", "02 04 05 B5 98 F5 64 BF"},
    {22, "KEY_SPARE_22", "02 04 05 B5 02 00 00 B4"},
    {23, "KEY_MENU_DOWN", "02 04 05 B5 82 00 00 34"},
    {24, "KEY_SPARE_24", "02 04 05 B5 42 00 00 F4"},
    {25, "KEY_SPARE_25", "02 04 05 B5 C2 00 00 74"},
    {26, "KEY_SELECT", "02 04 05 B5 98 F5 C6 1D"},
    {27, "KEY_SPARE_27", "02 04 05 B5 E9 F5 0F A5"},
    {28, "KEY_SPARE_28", "02 04 05 B5 48 00 00 FE"},
    {32, "KEY_PAL_UP", "02 04 05 B5 1C 00 00 AA"},
    {33, "KEY_PAL_DOWN", "02 04 05 B5 9C 00 00 2A"},
    {34, "KEY_PAL_LEFT", "02 04 05 B5 DC 00 00 6A"},
    {35, "KEY_PAL_RIGHT", "02 04 05 B5 FC 00 00 4A"},
    {36, "KEY_PAL_ENTER", "02 04 05 B5 D4 00 00 62"},
};

TEST(KeyTable, EveryDefinedKeyBuildsItsGoldenPacket) {
  for (const GoldenPacket& golden : kGolden) {
    SCOPED_TRACE(golden.name);
    EXPECT_EQ(PacketFor(golden.code), golden.packet);
    EXPECT_EQ(KeyOfPacket(KeyPacket(golden.code).data(), kPacketSize), golden.code);
    EXPECT_EQ(KeyName(golden.code), golden.name);
    ASSERT_NE(FindKey(golden.code), nullptr);
  }
  EXPECT_EQ(KeyTableEnd() - KeyTableBegin(), 27);
}

TEST(KeyTable, CodesWithoutARowSendAllZeroCodeBytes) {
  std::vector<int> undefined = {10, 11, 12, 13, 14, 15, 16, 29, 30, 31, 37, 100, 65535, -1, -2147483647 - 1};
  for (int code : undefined) {
    SCOPED_TRACE(code);
    EXPECT_EQ(FindKey(code), nullptr);
    EXPECT_EQ(PacketFor(code), "02 04 05 00 00 00 00 03");
    EXPECT_EQ(KeyOfPacket(KeyPacket(code).data(), kPacketSize), std::nullopt);
  }
}

TEST(KeyTable, CheckByteMakesThePacketXorToZeroForEveryCode) {
  for (int code = -5; code <= 64; ++code) {
    std::uint8_t codeBytes[4];
    std::uint8_t packet[kPacketSize];
    KeyCodeBytes(code, codeBytes);
    BuildPacket(codeBytes, packet);
    std::uint8_t all = 0;
    for (std::uint8_t b : packet) all ^= b;
    EXPECT_EQ(all, 0) << "code " << code;
    // So a change of any one byte leaves a packet that carries no key.
    for (int at = 0; at < kPacketSize; ++at) {
      std::uint8_t changed[kPacketSize];
      std::copy(packet, packet + kPacketSize, changed);
      changed[at] ^= 0x10;
      EXPECT_EQ(KeyOfPacket(changed, kPacketSize), std::nullopt) << "code " << code << ", byte " << at;
    }
    EXPECT_EQ(KeyOfPacket(packet, kPacketSize - 1), std::nullopt);
  }
}

TEST(KeyTable, ParsesNamesAndDecimalCodes) {
  struct Case {
    const char* text;
    std::optional<int> code;
  };
  const Case cases[] = {
      {"KEY_SELECT", KEY_SELECT}, {"select", KEY_SELECT}, {"key_pal_enter", KEY_PAL_ENTER},
      {"0", KEY_0},               {"12", 12},             {"-3", -3},
      {"KEY_10", std::nullopt},   {"", std::nullopt},     {"12x", std::nullopt},
      {"99999999999", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseKey(c.text), c.code) << c.text;
  }
}

}  // namespace
}  // namespace vrellix
