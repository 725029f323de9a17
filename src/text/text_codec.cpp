#include "text/text_codec.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "text/text_codec_platform.h"

namespace vrellix {
namespace {

// Reads one strictly well-formed UTF-8 sequence at pos (no overlong forms, no
// surrogates, nothing above U+10FFFF) and moves pos past it.
bool NextCodePoint(std::string_view s, size_t& pos, char32_t& codePoint) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(pos);
  if (b0 < 0x80) {
    codePoint = b0;
    pos += 1;
    return true;
  }
  const size_t length = Utf8SequenceLength(b0);
  if (length == 1) return false;  // a continuation byte, or F8-FF: no sequence begins here
  constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  char32_t value = b0 & (0x7F >> length);
  if (s.size() - pos < length) return false;
  for (size_t i = 1; i < length; ++i) {
    const unsigned char b = byte(pos + i);
    if ((b & 0xC0) != 0x80) return false;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < kMinimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  codePoint = value;
  pos += length;
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Characters that Japanese input methods and Mac/JIS tables produce for marks
// that code page 932 holds under another code point, mapped to the one that
// the Windows table encodes (so every platform gives the same bytes).
// clang-format off
constexpr std::pair<char32_t, char32_t> kInputVariants[] = {
  {0x301C, 0xFF5E},  // 〜 WAVE DASH          -> ～ 81 60
  {0x2212, 0xFF0D},  // − MINUS SIGN          -> － 81 7C
  {0x2016, 0x2225},  // ‖ DOUBLE VERTICAL LINE -> ∥ 81 61
  {0x00A5, 0x005C},  // ¥ YEN SIGN            -> 5C
  {0x203E, 0x007E},  // ‾ OVERLINE            -> 7E
  {0x00A2, 0xFFE0},  // ¢ CENT SIGN           -> ￠ 81 91
  {0x00A3, 0xFFE1},  // £ POUND SIGN          -> ￡ 81 92
  {0x00AC, 0xFFE2},  // ¬ NOT SIGN            -> ￢ 81 CA
  {0x2014, 0x2015},  // — EM DASH             -> ― 81 5C
};
// clang-format on

char32_t WindowsForm(char32_t c) {
  for (const auto& [variant, windowsForm] : kInputVariants) {
    if (c == variant) return windowsForm;
  }
  return c;
}

// Valid UTF-8 in, with the variants replaced by their Windows forms.
std::string MapInputVariants(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  char32_t c = 0;
  while (pos < utf8.size() && NextCodePoint(utf8, pos, c)) AppendUtf8(out, WindowsForm(c));
  return out;
}

// Marks that combine with the character before them (voiced sound marks, accents).
bool IsCombiningMark(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
         (c >= 0x20D0 && c <= 0x20FF) || c == 0x3099 || c == 0x309A || (c >= 0xFE20 && c <= 0xFE2F);
}

// Valid UTF-8 cut into characters, each with the combining marks that follow it.
std::vector<std::string_view> Segments(std::string_view utf8) {
  std::vector<std::string_view> segments;
  size_t pos = 0;
  char32_t c = 0;
  while (pos < utf8.size()) {
    const size_t start = pos;
    NextCodePoint(utf8, pos, c);
    while (pos < utf8.size()) {
      size_t next = pos;
      if (!NextCodePoint(utf8, next, c) || !IsCombiningMark(c)) break;
      pos = next;
    }
    segments.push_back(utf8.substr(start, pos - start));
  }
  return segments;
}

// One character with its marks: as it stands, or else composed.
std::optional<std::string> EncodeSegment(std::string_view segment) {
  if (std::optional<std::string> direct = text_platform::EncodeCp932(MapInputVariants(segment))) return direct;
  const std::optional<std::string> nfc = text_platform::NormalizeNfc(segment);
  if (!nfc) return std::nullopt;
  return text_platform::EncodeCp932(MapInputVariants(*nfc));
}

}  // namespace

std::u32string Utf8ToCodePoints(std::string_view utf8) {
  std::u32string out;
  char32_t c = 0;
  for (size_t pos = 0; pos < utf8.size() && NextCodePoint(utf8, pos, c);) out += c;
  return out;
}

std::string CodePointsToUtf8(std::u32string_view codePoints) {
  std::string out;
  for (char32_t c : codePoints) AppendUtf8(out, c);
  return out;
}

std::optional<std::string> Utf16ToUtf8(std::string_view utf16, bool bigEndian) {
  if (utf16.size() % 2 != 0) return std::nullopt;
  const auto unit = [&](size_t i) {
    const auto byte = [&](size_t j) { return static_cast<char32_t>(static_cast<unsigned char>(utf16[j])); };
    return bigEndian ? byte(i) << 8 | byte(i + 1) : byte(i + 1) << 8 | byte(i);
  };
  std::string out;
  for (size_t i = 0; i < utf16.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) return std::nullopt;
    if (c >= 0xD800 && c <= 0xDBFF) {
      const char32_t low = i + 2 < utf16.size() ? unit(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
  std::string out;
  const auto append = [&](char32_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (char32_t c : Utf8ToCodePoints(utf8)) {
    if (c < 0x10000) {
      append(c);
    } else {
      append(0xD800 + ((c - 0x10000) >> 10));
      append(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::vector<std::string> SplitCp932(std::string_view text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    const size_t length = IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    chars.emplace_back(text.substr(i, length));
    i += length;
  }
  return chars;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t pos = 0;
  char32_t c = 0;
  while (pos < bytes.size()) {
    if (!NextCodePoint(bytes, pos, c)) return false;
  }
  return true;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  // Most text converts as it stands. Where it does not, NFC is tried one
  // character at a time: over the whole text it would also replace characters
  // that code page 932 holds (U+212B ANGSTROM SIGN, CJK compatibility
  // ideographs) by ones it does not, or by other codes.
  if (std::optional<std::string> direct = text_platform::EncodeCp932(MapInputVariants(utf8))) return direct;
  std::string out;
  for (const std::string_view segment : Segments(utf8)) {
    const std::optional<std::string> encoded = EncodeSegment(segment);
    if (!encoded) return std::nullopt;
    out += *encoded;
  }
  return out;
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) { return text_platform::DecodeCp932(cp932); }

std::string HexEscaped(std::string_view bytes) {
  std::string out;
  char escaped[8];
  for (unsigned char c : bytes) {
    std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
    out += escaped;
  }
  return out;
}

std::string Cp932ToUtf8OrHex(std::string_view cp932) {
  if (std::optional<std::string> utf8 = Cp932ToUtf8(cp932)) return *utf8;
  return HexEscaped(cp932);
}

size_t Cp932LengthOf(std::string_view utf8) {
  if (const std::optional<std::string> whole = Utf8ToCp932(utf8)) return whole->size();

  // Something does not convert: count character by character, two bytes for
  // each one that does not (and for each byte that is not UTF-8 at all).
  constexpr size_t kUnconvertibleBytes = 2;
  size_t total = 0;
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t end = pos;
    char32_t c = 0;
    if (!NextCodePoint(utf8, end, c)) {
      total += kUnconvertibleBytes;
      pos += 1;
      continue;
    }
    while (end < utf8.size()) {
      size_t next = end;
      if (!NextCodePoint(utf8, next, c) || !IsCombiningMark(c)) break;
      end = next;
    }
    const std::optional<std::string> encoded = EncodeSegment(utf8.substr(pos, end - pos));
    total += encoded ? encoded->size() : kUnconvertibleBytes;
    pos = end;
  }
  return total;
}

}  // namespace vrellix
