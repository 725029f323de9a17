// Code page 932 and NFC through the Windows API (kernel32 and normaliz).
#include <windows.h>

#include <climits>

#include "text/text_codec.h"
#include "text/text_codec_platform.h"

namespace vrellix::text_platform {
namespace {

constexpr UINT kCp932 = 932;

std::optional<std::wstring> ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const int inLength = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, wide.data(), length) != length) {
    return std::nullopt;
  }
  return wide;
}

std::optional<std::string> FromWideUtf8(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int inLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(length), '\0');
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), inLength, out.data(), length, nullptr, nullptr) !=
      length) {
    return std::nullopt;
  }
  return out;
}

// Windows' table gives some bytes that code page 932 leaves unassigned a code
// point of their own (80 → U+0080, and A0, FD–FF in places): they are no text,
// here as on every platform.
bool HoldsUnassignedSingleByte(std::string_view cp932) {
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(cp932[i]);
    if (IsCp932LeadByte(c)) {
      ++i;  // its trail byte
    } else if (c == 0x80 || c == 0xA0 || c >= 0xFD) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<std::string> NormalizeNfc(std::string_view utf8) {
  const std::optional<std::wstring> wide = ToWide(CP_UTF8, utf8);
  if (!wide) return std::nullopt;
  if (wide->empty()) return std::string();
  const int inLength = static_cast<int>(wide->size());
  // The first call only estimates; the loop follows the size the API asks for.
  int estimate = NormalizeString(NormalizationC, wide->data(), inLength, nullptr, 0);
  for (int attempt = 0; attempt < 10 && estimate > 0; ++attempt) {
    std::wstring normalized(static_cast<size_t>(estimate), L'\0');
    const int length = NormalizeString(NormalizationC, wide->data(), inLength, normalized.data(), estimate);
    if (length > 0) {
      normalized.resize(static_cast<size_t>(length));
      return FromWideUtf8(normalized);
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    estimate = -length;
  }
  return std::nullopt;
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
  const std::optional<std::wstring> wide = ToWide(CP_UTF8, utf8);
  if (!wide) return std::nullopt;
  if (wide->empty()) return std::string();
  const int inLength = static_cast<int>(wide->size());
  // WC_NO_BEST_FIT_CHARS stops look-alike substitutions; the default character
  // that replaces the rest is caught through usedDefault.
  BOOL usedDefault = FALSE;
  const int length =
      WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide->data(), inLength, nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(length), '\0');
  usedDefault = FALSE;
  if (WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide->data(), inLength, out.data(), length, nullptr,
                          &usedDefault) != length ||
      usedDefault) {
    return std::nullopt;
  }
  return out;
}

std::optional<std::string> DecodeCp932(std::string_view cp932) {
  if (HoldsUnassignedSingleByte(cp932)) return std::nullopt;
  const std::optional<std::wstring> wide = ToWide(kCp932, cp932);
  if (!wide) return std::nullopt;
  return FromWideUtf8(*wide);
}

}  // namespace vrellix::text_platform
