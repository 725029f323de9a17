// Remote-control key codes of the device and the 8-byte packets that carry them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vrellix {

// Key codes as the transmitter protocol numbers them. 10-16, 29-31, anything
// above 36 and negative codes are not keys: they travel as all-zero code bytes.
constexpr int KEY_0 = 0;
constexpr int KEY_1 = 1;
constexpr int KEY_2 = 2;
constexpr int KEY_3 = 3;
constexpr int KEY_4 = 4;
constexpr int KEY_5 = 5;
constexpr int KEY_6 = 6;
constexpr int KEY_7 = 7;
constexpr int KEY_8 = 8;
constexpr int KEY_9 = 9;
constexpr int KEY_PALLET = 17;
constexpr int KEY_NEXT = 18;
constexpr int KEY_ERASE = 19;
constexpr int KEY_FINISH = 20;
constexpr int KEY_BACK = 21;
constexpr int KEY_SPARE_22 = 22;
constexpr int KEY_MENU_DOWN = 23;
constexpr int KEY_SPARE_24 = 24;
constexpr int KEY_SPARE_25 = 25;
constexpr int KEY_SELECT = 26;
constexpr int KEY_SPARE_27 = 27;
constexpr int KEY_SPARE_28 = 28;
constexpr int KEY_PAL_UP = 32;
constexpr int KEY_PAL_DOWN = 33;
constexpr int KEY_PAL_LEFT = 34;
constexpr int KEY_PAL_RIGHT = 35;
constexpr int KEY_PAL_ENTER = 36;

constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t NAK = 0x15;
constexpr int kPacketSize = 8;

struct KeyRow {
  int code;
  const char* name;  // "KEY_PALLET"
  std::uint8_t codeBytes[4];
  bool twoByte;  // only the first two code bytes are defined; the rest go out as 00
};

// The 27 rows of the key table, in code order.
const KeyRow* KeyTableBegin();
const KeyRow* KeyTableEnd();

// The row of a key code, or nullptr when the code has none.
const KeyRow* FindKey(int code);

// "KEY_SELECT" for a defined code, the decimal number for any other.
std::string KeyName(int code);

// Accepts a table name ("KEY_SELECT", also without the "KEY_" prefix, any case)
// or a decimal code. Returns nothing for anything else.
std::optional<int> ParseKey(const std::string& text);

// The four code bytes sent for a key: the row's bytes, zero where the row
// defines none, all zero for a code without a row.
void KeyCodeBytes(int code, std::uint8_t out[4]);

// 02 04 05, the four code bytes, and the XOR of the seven bytes before it.
void BuildPacket(const std::uint8_t codeBytes[4], std::uint8_t packet[kPacketSize]);

// The whole packet for a key code: KeyCodeBytes, then BuildPacket.
std::array<std::uint8_t, kPacketSize> KeyPacket(int code);

// True for 8 bytes that start 02 04 05 and whose XOR is 00.
bool IsWellFormedPacket(const std::uint8_t packet[kPacketSize]);

// The key that a packet carries: nothing unless it is kPacketSize bytes, well
// formed, and its code bytes are those of a row of the table.
std::optional<int> KeyOfPacket(const std::uint8_t* packet, std::size_t size);

}  // namespace vrellix
