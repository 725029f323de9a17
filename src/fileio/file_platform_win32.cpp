// Files through the Windows API.
#include <windows.h>

#include <new>

#include "fileio/current_directory.h"
#include "fileio/file_platform.h"
#include "text/text_codec.h"
#include "text/wide_text.h"

namespace vrellix::file_platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Empty when the text is not UTF-8: such a name names no file. A path of
// MAX_PATH characters or more names a file only in its \\?\ form, which is
// absolute; so the temporary file beside a target near the limit is found too.
std::wstring Wide(const std::string& utf8) {
  if (!IsValidUtf8(utf8)) return std::wstring();
  const std::wstring wide = WideFromUtf8(utf8);
  if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return wide;
  full.resize(length);
  return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

bool IsNotFound(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Whether a name in the path is longer than a file system takes (255 UTF-16
// units): wine reports such a name as not found.
bool HoldsOverlongName(const std::wstring& path) {
  constexpr std::size_t kMaxName = 255;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find_first_of(L"\\/", start);
    if ((end == std::wstring::npos ? path.size() : end) - start > kMaxName) return true;
    if (end == std::wstring::npos) return false;
    start = end + 1;
  }
}

// Sets *reason, when asked for, and gives back outcome.
template <typename Outcome>
Outcome Because(Outcome outcome, std::string* reason, const std::string& why) {
  if (reason) *reason = why;
  return outcome;
}

std::string LastErrorText() { return SystemErrorText(static_cast<int>(GetLastError())); }

std::string TooLarge(std::size_t maxBytes) { return "larger than " + std::to_string(maxBytes) + " bytes"; }

// Closes the handle when the scope ends; Close() reports the result.
class Handle {
 public:
  explicit Handle(HANDLE handle) : m_handle(handle) {}
  ~Handle() {
    if (IsOpen()) CloseHandle(m_handle);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return m_handle; }
  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE m_handle;
};

}  // namespace

Kind KindOf(const std::string& path, std::string* reason) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return Because(Kind::kOther, reason, SystemErrorText(ERROR_NO_UNICODE_TRANSLATION));
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    if (IsNotFound(error) && HoldsOverlongName(wide)) error = ERROR_FILENAME_EXCED_RANGE;
    return Because(IsNotFound(error) ? Kind::kMissing : Kind::kOther, reason, SystemErrorText(static_cast<int>(error)));
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return Because(Kind::kOther, reason, kNotRegularFile);
  // Device names (NUL, CON, COM1) can carry file attributes: the handle's type tells.
  Handle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return Because(Kind::kOther, reason, LastErrorText());
  if (GetFileType(file.Get()) == FILE_TYPE_DISK) return Kind::kRegular;
  return Because(Kind::kOther, reason, kNotRegularFile);
}

bool IsReadOnly(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

ReadOutcome ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string* reason) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return Because(ReadOutcome::kNotReadable, reason, SystemErrorText(ERROR_NO_UNICODE_TRANSLATION));
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) {
    const DWORD error = GetLastError();
    return Because(IsNotFound(error) ? ReadOutcome::kMissing : ReadOutcome::kNotReadable, reason,
                   SystemErrorText(static_cast<int>(error)));
  }
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return Because(ReadOutcome::kNotReadable, reason, kNotRegularFile);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return Because(ReadOutcome::kNotReadable, reason, LastErrorText());
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    return Because(ReadOutcome::kTooLarge, reason, TooLarge(maxBytes));
  }

  std::string content;
  try {
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    char chunk[1 << 16];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) {
        return Because(ReadOutcome::kNotReadable, reason, LastErrorText());
      }
      if (got == 0) break;
      // The file may grow while it is read.
      if (content.size() + got > maxBytes) return Because(ReadOutcome::kTooLarge, reason, TooLarge(maxBytes));
      content.append(chunk, got);
    }
  } catch (const std::bad_alloc&) {
    return Because(ReadOutcome::kNotReadable, reason, SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
  }
  bytes = std::move(content);
  return ReadOutcome::kRead;
}

ReplaceOutcome WriteNewFileToDisk(const std::string& path, std::string_view bytes) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return ReplaceOutcome::kCannotCreate;
  Handle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return ReplaceOutcome::kCannotCreate;
  bool written = true;
  while (written && !bytes.empty()) {
    const DWORD piece = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD done = 0;
    written = WriteFile(file.Get(), bytes.data(), piece, &done, nullptr) && done == piece;
    bytes.remove_prefix(done);
  }
  written = written && FlushFileBuffers(file.Get());
  const DWORD error = GetLastError();
  const bool closed = file.Close();
  // The caller asks LastSystemError() why: the first failure is the reason.
  if (!written) SetLastError(error);
  return written && closed ? ReplaceOutcome::kReplaced : ReplaceOutcome::kWriteFailed;
}

void CopyOwner(const std::string&, const std::string&) {
  // A new file takes its access rights from the folder, as the old one did.
}

void RemoveFile(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (!wide.empty()) DeleteFileW(wide.c_str());
}

bool RenameDurably(const std::string& from, const std::string& to) {
  const std::wstring wideFrom = Wide(from);
  const std::wstring wideTo = Wide(to);
  if (wideFrom.empty() || wideTo.empty()) return false;
  // Write-through: the call returns once the rename is on the disk.
  return MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace vrellix::file_platform

namespace vrellix {

std::string SystemErrorText(int osError) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(osError), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  if (length == 0 || !text) return "error " + std::to_string(osError);
  std::wstring message(text, length);
  LocalFree(text);
  // The system's texts end with a line break; the message is one line.
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.pop_back();
  }
  return Utf8FromWide(message);
}

int LastSystemError() { return static_cast<int>(GetLastError()); }

// Wide, and asked for its length first: the C runtime's getcwd and
// std::filesystem::current_path give nothing past 260 characters.
std::string CurrentDirectory() {
  std::wstring wide;
  for (DWORD size = MAX_PATH;;) {
    wide.resize(size);
    const DWORD length = GetCurrentDirectoryW(size, wide.data());
    if (length == 0) return std::string();
    if (length < size) {
      wide.resize(length);
      break;
    }
    size = length;  // the length the whole name needs, its NUL included
  }
  return Utf8FromWide(wide);
}

}  // namespace vrellix
