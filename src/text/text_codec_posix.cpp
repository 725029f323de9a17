// Code page 932 through glibc iconv, NFC through utf8proc.
#include <iconv.h>
#include <utf8proc.h>

#include <cerrno>
#include <cstdlib>

#include "text/text_codec_platform.h"

namespace vrellix::text_platform {
namespace {

// "CP932" without a suffix: unmappable input stops with EILSEQ. //TRANSLIT would
// write '?', and "SHIFT_JIS" decodes 5C and 7E as the yen sign and overline.
constexpr const char* kCp932 = "CP932";

// One descriptor per direction and thread, opened on first use: the entry
// checks convert character by character, and iconv_open is not cheap.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (IsOpen()) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<std::string> Convert(std::string_view in) {
    if (!IsOpen()) return std::nullopt;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // forget what an earlier failure left

    std::string out;
    char buffer[4096];
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;  // EILSEQ or EINVAL
      // A nonzero count of irreversible conversions would mean a substitute was written.
      if (rc != static_cast<size_t>(-1) && rc != 0) return std::nullopt;
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return out;
  }

 private:
  bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t m_cd;
};

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

// glibc's converters skip the language tags U+E0000-E007F without counting
// them as irreversible; code page 932 has none, so they are refused here.
bool HoldsLanguageTag(std::string_view utf8) {
  for (size_t at = utf8.find('\xF3'); at != std::string_view::npos; at = utf8.find('\xF3', at + 1)) {
    if (utf8.substr(at + 1, 2) == "\xA0\x80" || utf8.substr(at + 1, 2) == "\xA0\x81") return true;
  }
  return false;
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
  if (HoldsLanguageTag(utf8)) return std::nullopt;
  thread_local Converter encoder(kCp932, "UTF-8");
  return encoder.Convert(utf8);
}

std::optional<std::string> DecodeCp932(std::string_view cp932) {
  thread_local Converter decoder("UTF-8", kCp932);
  return decoder.Convert(cp932);
}

}  // namespace vrellix::text_platform
