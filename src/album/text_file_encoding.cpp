#include "album/text_file_encoding.h"

#include <algorithm>
#include <optional>
#include <string>

#include "text/text_codec.h"

namespace vrellix {

namespace {

// Characters of UTF-8 text the device cannot enter, one that code page 932
// cannot hold among them.
size_t UnenterableInUtf8(std::string_view utf8, UnenterableCount countUnenterable) {
  if (const std::optional<std::string> cp932 = Utf8ToCp932(utf8)) return countUnenterable(*cp932);
  size_t count = 0;
  while (!utf8.empty()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[0]);
    const size_t length = std::min<size_t>(lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4, utf8.size());
    const std::optional<std::string> one = Utf8ToCp932(utf8.substr(0, length));
    count += one ? countUnenterable(*one) : 1;
    utf8.remove_prefix(length);
  }
  return count;
}

}  // namespace

// Half-width kana in code page 932 can also be valid UTF-8 (ﾐｷ is D0 B7, з),
// and UTF-8 Japanese can be valid code page 932 (こ is E3 81 93, 縺 and a lead
// byte): bytes valid in both are read the way that gives the device fewer
// characters it cannot enter, the program's own code page 932 when that is
// even. A UTF-8 reading that code page 932 cannot hold could not be entered
// nor saved, so such bytes are code page 932 (a saved album always loads back).
bool ReadsAsUtf8(std::string_view bytes, UnenterableCount countUnenterable, size_t maxComparedBytes,
                 EncodingTie tie) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) return true;
  const size_t nonAscii = static_cast<size_t>(
      std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
  if (nonAscii == 0 || !IsValidUtf8(bytes)) return false;
  if (!Cp932ToUtf8(bytes)) return true;
  if (nonAscii > maxComparedBytes) return true;
  if (tie == EncodingTie::kUtf8) return UnenterableInUtf8(bytes, countUnenterable) <= countUnenterable(bytes);
  const std::optional<std::string> utf8Reading = Utf8ToCp932(bytes);
  return utf8Reading && countUnenterable(*utf8Reading) < countUnenterable(bytes);
}

}  // namespace vrellix
