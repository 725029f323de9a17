#include "album/text_file_encoding.h"

#include <algorithm>

#include "text/text_codec.h"

namespace vrellix {

namespace {

// Two-byte characters that Japanese text rarely holds: the second kanji level,
// NEC's and IBM's rows, the user-defined area. UTF-8 Japanese read as code
// page 932 starts with one (こ, E3 81 93, reads 縺 and more).
size_t OddInCp932(std::string_view cp932) {
  size_t odd = 0;
  for (size_t i = 0; i < cp932.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(cp932[i]);
    if (!IsCp932LeadByte(c)) continue;
    if (c == 0x87 || c >= 0xE0) ++odd;
    ++i;
  }
  return odd;
}

// Characters U+0080-U+07FF: accented Latin, Greek, Cyrillic and the like, which
// code page 932 half-width kana read as UTF-8 give (ﾐｷ reads з). Not the signs
// among them that code page 932 holds as Japanese symbols (× ÷ ° ± § ¨ ´ ¶).
size_t OddInUtf8(std::string_view utf8) {
  constexpr std::u32string_view kJapaneseSigns = U"\u00D7\u00F7\u00B0\u00B1\u00A7\u00A8\u00B4\u00B6";
  size_t odd = 0;
  for (char32_t c : Utf8ToCodePoints(utf8)) {
    odd += c >= 0x80 && c < 0x800 && kJapaneseSigns.find(c) == std::u32string_view::npos;
  }
  return odd;
}

}  // namespace

bool ReadsAsUtf8(std::string_view bytes, size_t maxComparedBytes, TextFileKind kind) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) return true;
  const size_t nonAscii = static_cast<size_t>(
      std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
  if (nonAscii == 0 || !IsValidUtf8(bytes)) return false;
  if (!Cp932ToUtf8(bytes)) return true;
  if (nonAscii > maxComparedBytes) return true;
  if (kind == TextFileKind::kAlbum && !Utf8ToCp932(bytes)) return false;
  const size_t asUtf8 = OddInUtf8(bytes);
  const size_t asCp932 = OddInCp932(bytes);
  return asUtf8 < asCp932 || (asUtf8 == asCp932 && kind == TextFileKind::kCueSheet);
}

}  // namespace vrellix
