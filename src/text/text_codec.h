// Code page 932 (Japanese Windows Shift-JIS) <-> UTF-8, at the program's edges only.
// Conversion never substitutes: a character that cannot be converted fails the whole text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrellix {

// Encodes the UTF-8 text in code page 932, composing (NFC) a character with the
// marks that follow it where it would not convert otherwise (か + U+3099 -> が),
// and accepting the usual input-method variants such as U+301C WAVE DASH.
// Nothing when the text is not valid UTF-8 or holds a character the code page
// cannot hold.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// Decodes code page 932 bytes. Nothing when the bytes are not valid code page
// 932 (a lone or truncated lead byte, an unassigned code).
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// The number of code page 932 bytes the UTF-8 text becomes, for length limits.
// A character that the code page cannot hold counts as two bytes (it is refused
// by the character check that follows the length check).
size_t Cp932LengthOf(std::string_view utf8);

// The code points of UTF-8 text (which must be valid), and back.
std::u32string Utf8ToCodePoints(std::string_view utf8);
std::string CodePointsToUtf8(std::u32string_view codePoints);

// UTF-16 bytes in the given byte order to UTF-8: nothing for an odd count or
// a surrogate without its pair.
std::optional<std::string> Utf16ToUtf8(std::string_view utf16, bool bigEndian);
// Valid UTF-8 to UTF-16 bytes in the given byte order.
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);

// The UTF-8 byte-order mark, which a file may begin with.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// The bytes of the UTF-8 sequence that lead begins: 2, 3 or 4 for the lead
// bytes C0-F7; 1 for ASCII and for a byte that begins no sequence (a stray
// continuation byte 80-BF, or F8-FF), which stands for itself.
constexpr size_t Utf8SequenceLength(unsigned char lead) {
  return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
}

// True for a byte that begins a two-byte character of code page 932: it takes
// the byte after it along.
constexpr bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Splits code page 932 bytes into characters (a lead byte takes the next byte
// with it; a lone lead byte at the end stays a character of its own).
std::vector<std::string> SplitCp932(std::string_view text);

// Each byte as \xNN (upper-case hex digits).
std::string HexEscaped(std::string_view bytes);

// Cp932ToUtf8 of the bytes, or, where they do not decode, HexEscaped: a text
// that can always be shown.
std::string Cp932ToUtf8OrHex(std::string_view cp932);

}  // namespace vrellix
