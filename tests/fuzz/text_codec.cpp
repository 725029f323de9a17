// Code page 932 <-> UTF-8 never substitutes silently.
// - Bytes that decode re-encode to as many bytes that decode to the same text
//   (the code page has a few duplicate codes; the first encoding is final).
// - UTF-8 that encodes decodes back to the same text, up to composition and the
//   documented input-method variants (〜 − ‖ ¥ ‾ ¢ £ ¬ —).
// - The length count agrees with the conversion whenever there is one.
#include <utf8proc.h>

#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "text/text_codec.h"

namespace {

using vrellix::fuzz::Escaped;
using vrellix::fuzz::Require;

// Each variant with the form that the Windows table decodes its bytes to.
const std::pair<const char*, const char*> kVariants[] = {
    {"〜", "～"}, {"−", "－"}, {"‖", "∥"}, {"¥", "\\"}, {"‾", "~"},
    {"¢", "￠"}, {"£", "￡"}, {"¬", "￢"}, {"—", "―"},
};

std::string Replaced(std::string text) {
  for (const auto& [variant, windows] : kVariants) {
    const std::string from(variant);
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
      text.replace(at, from.size(), windows);
      at += std::string(windows).size();
    }
  }
  return text;
}

std::string Nfc(const std::string& utf8) {
  utf8proc_uint8_t* result = utf8proc_NFC(reinterpret_cast<const utf8proc_uint8_t*>(utf8.c_str()));
  Require(result != nullptr, "NFC of valid UTF-8 failed");
  std::string normalized(reinterpret_cast<const char*>(result));
  std::free(result);
  return normalized;
}

void CheckCp932(const std::string& bytes) {
  const std::optional<std::string> text = vrellix::Cp932ToUtf8(bytes);
  if (!text) return;
  Require(vrellix::IsValidUtf8(*text), "decoding gave bad UTF-8 for " + Escaped(bytes));
  const std::optional<std::string> encoded = vrellix::Utf8ToCp932(*text);
  Require(encoded.has_value(), "decoded text does not encode: " + Escaped(bytes));
  Require(encoded->size() == bytes.size(), "re-encoding changed the length: " + Escaped(bytes) + " -> " + Escaped(*encoded));
  Require(vrellix::Cp932ToUtf8(*encoded) == text, "re-encoding changed the text: " + Escaped(bytes));
  Require(vrellix::Utf8ToCp932(*text) == encoded, "encoding is not stable");
  Require(vrellix::Cp932LengthOf(*text) == bytes.size(), "length count differs for " + Escaped(bytes));
}

void CheckUtf8(const std::string& text) {
  if (!vrellix::IsValidUtf8(text)) {
    Require(!vrellix::Utf8ToCp932(text), "bad UTF-8 encoded: " + Escaped(text));
    return;
  }
  // NUL ends the C strings of the normalisation below; the codec itself takes it.
  if (text.find('\0') != std::string::npos) return;
  const std::optional<std::string> encoded = vrellix::Utf8ToCp932(text);
  if (!encoded) return;
  const std::optional<std::string> decoded = vrellix::Cp932ToUtf8(*encoded);
  Require(decoded.has_value(), "encoded bytes do not decode: " + Escaped(text) + " -> " + Escaped(*encoded));
  Require(Nfc(Replaced(*decoded)) == Nfc(Replaced(text)),
          "substituted: " + Escaped(text) + " -> " + Escaped(*encoded) + " -> " + Escaped(*decoded));
  Require(vrellix::Cp932LengthOf(text) == encoded->size(), "length count differs for " + Escaped(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckCp932(bytes);
  CheckUtf8(bytes);
  return 0;
}
