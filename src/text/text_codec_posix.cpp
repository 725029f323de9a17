// Code page 932 through glibc iconv, NFC through utf8proc.
#include <iconv.h>
#include <utf8proc.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "text/text_codec_platform.h"

namespace vrellix::text_platform {
namespace {

// "CP932" without a suffix: unmappable input stops with EILSEQ. //TRANSLIT would
// write '?', and "SHIFT_JIS" decodes 5C and 7E as the yen sign and overline.
constexpr const char* kCp932 = "CP932";

std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);

  std::string out;
  char buffer[4096];
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;  // EILSEQ or EINVAL
    // iconv counts irreversible conversions in rc; a strict code page has none,
    // but a nonzero count would mean a substitute was written.
    if (rc != static_cast<size_t>(-1) && rc != 0) return std::nullopt;
  }
  // Flush any shift state (none for CP932, but keeps the contract of iconv).
  char* outPtr = buffer;
  size_t outLeft = sizeof buffer;
  if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
  out.append(buffer, static_cast<size_t>(outPtr - buffer));
  return out;
}

}  // namespace

std::optional<std::string> NormalizeNfc(std::string_view utf8) {
  utf8proc_uint8_t* result = nullptr;
  const utf8proc_ssize_t length =
      utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                   static_cast<utf8proc_ssize_t>(utf8.size()), &result,
                   static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
  if (length < 0) return std::nullopt;
  std::string normalized(reinterpret_cast<const char*>(result), static_cast<size_t>(length));
  std::free(result);
  return normalized;
}

std::optional<std::string> EncodeCp932(std::string_view utf8) { return Convert(kCp932, "UTF-8", utf8); }

std::optional<std::string> DecodeCp932(std::string_view cp932) { return Convert("UTF-8", kCp932, cp932); }

}  // namespace vrellix::text_platform
