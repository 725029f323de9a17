#include "keys/keys.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vrellix {
namespace {

// clang-format off
constexpr KeyRow kKeyTable[] = {
  // code  name              code bytes                  2-byte
  {  0, "KEY_0",          {0xB5, 0xE9, 0xF5, 0xF7}, false},
  {  1, "KEY_1",          {0xB5, 0xE9, 0xF5, 0x67}, false},
  {  2, "KEY_2",          {0xB5, 0xE9, 0xF5, 0xE7}, false},
  {  3, "KEY_3",          {0xB5, 0xE9, 0xF5, 0x17}, false},
  {  4, "KEY_4",          {0xB5, 0xE9, 0xF5, 0x97}, false},
  {  5, "KEY_5",          {0xB5, 0xE9, 0xF5, 0x57}, false},
  {  6, "KEY_6",          {0xB5, 0xE9, 0xF5, 0xD7}, false},
  {  7, "KEY_7",          {0xB5, 0xE9, 0xF5, 0x37}, false},
  {  8, "KEY_8",          {0xB5, 0xE9, 0xF5, 0xB7}, false},
  {  9, "KEY_9",          {0xB5, 0xE9, 0xF5, 0x77}, false},
  { 17, "KEY_PALLET",     {0xB5, 0xE9, 0xF5, 0x4F}, false},
  { 18, "KEY_NEXT",       {0xB5, 0xE9, 0xF5, 0x8F}, false},
  { 19, "KEY_ERASE",      {0xB5, 0xE9, 0xF5, 0xCF}, false},
  { 20, "KEY_FINISH",     {0xB5, 0xE9, 0xF5, 0x2F}, false},
  { 21, "KEY_BACK",       {0xB5, 0x98, 0xF5, 0x64}, false},
  { 22, "KEY_SPARE_22",   {0xB5, 0x02, 0x00, 0x00}, true },
  { 23, "KEY_MENU_DOWN",  {0xB5, 0x82, 0x00, 0x00}, true },
  { 24, "KEY_SPARE_24",   {0xB5, 0x42, 0x00, 0x00}, true },
  { 25, "KEY_SPARE_25",   {0xB5, 0xC2, 0x00, 0x00}, true },
  { 26, "KEY_SELECT",     {0xB5, 0x98, 0xF5, 0xC6}, false},
  { 27, "KEY_SPARE_27",   {0xB5, 0xE9, 0xF5, 0x0F}, false},
  { 28, "KEY_SPARE_28",   {0xB5, 0x48, 0x00, 0x00}, true },
  { 32, "KEY_PAL_UP",     {0xB5, 0x1C, 0x00, 0x00}, true },
  { 33, "KEY_PAL_DOWN",   {0xB5, 0x9C, 0x00, 0x00}, true },
  { 34, "KEY_PAL_LEFT",   {0xB5, 0xDC, 0x00, 0x00}, true },
  { 35, "KEY_PAL_RIGHT",  {0xB5, 0xFC, 0x00, 0x00}, true },
  { 36, "KEY_PAL_ENTER",  {0xB5, 0xD4, 0x00, 0x00}, true },
};
// clang-format on

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

const KeyRow* KeyTableBegin() { return std::begin(kKeyTable); }
const KeyRow* KeyTableEnd() { return std::end(kKeyTable); }

const KeyRow* FindKey(int code) {
  for (const KeyRow& row : kKeyTable) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

std::string KeyName(int code) {
  const KeyRow* row = FindKey(code);
  return row ? std::string(row->name) : std::to_string(code);
}

std::optional<int> ParseKey(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const std::string upper = Upper(text);
  for (const KeyRow& row : kKeyTable) {
    const std::string name = row.name;
    if (upper == name || "KEY_" + upper == name) return row.code;
  }
  // A decimal code, possibly negative: any 32-bit value is sendable.
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || value < INT_MIN || value > INT_MAX) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

void KeyCodeBytes(int code, std::uint8_t out[4]) {
  // Zeroed on every call so that bytes of an earlier key never carry over.
  std::fill(out, out + 4, std::uint8_t{0});
  if (const KeyRow* row = FindKey(code)) {
    const int defined = row->twoByte ? 2 : 4;
    std::copy(row->codeBytes, row->codeBytes + defined, out);
  }
}

void BuildPacket(const std::uint8_t codeBytes[4], std::uint8_t packet[kPacketSize]) {
  packet[0] = 0x02;
  packet[1] = 0x04;
  packet[2] = 0x05;
  std::copy(codeBytes, codeBytes + 4, packet + 3);
  std::uint8_t check = 0;
  for (int i = 0; i < kPacketSize - 1; ++i) check ^= packet[i];
  packet[kPacketSize - 1] = check;
}

std::array<std::uint8_t, kPacketSize> KeyPacket(int code) {
  std::uint8_t codeBytes[4];
  KeyCodeBytes(code, codeBytes);
  std::array<std::uint8_t, kPacketSize> packet{};
  BuildPacket(codeBytes, packet.data());
  return packet;
}

bool IsWellFormedPacket(const std::uint8_t packet[kPacketSize]) {
  if (packet[0] != 0x02 || packet[1] != 0x04 || packet[2] != 0x05) return false;
  std::uint8_t check = 0;
  for (int i = 0; i < kPacketSize; ++i) check ^= packet[i];
  return check == 0;
}

std::optional<int> KeyOfPacket(const std::uint8_t* packet, std::size_t size) {
  if (size != static_cast<std::size_t>(kPacketSize) || !IsWellFormedPacket(packet)) return std::nullopt;
  for (const KeyRow& row : kKeyTable) {
    std::uint8_t codeBytes[4];
    KeyCodeBytes(row.code, codeBytes);
    if (std::equal(codeBytes, codeBytes + 4, packet + 3)) return row.code;
  }
  return std::nullopt;
}

}  // namespace vrellix
