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

// The failure of the call that just failed, its error taken before anything else runs.
FileResult LastFailure(FileStep step) { return SystemFailure(static_cast<int>(GetLastError()), step); }

FileResult TooLarge(std::size_t maxBytes) { return FileResult{FileCause::kTooLarge, FileStep::kOpen, 0, maxBytes}; }

const FileResult kNotRegular{FileCause::kNotRegularFile};

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

const int kNameNotTextError = ERROR_NO_UNICODE_TRANSLATION;
const int kOutOfMemoryError = ERROR_NOT_ENOUGH_MEMORY;

FileResult CheckRegularFile(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return SystemFailure(kNameNotTextError, FileStep::kOpen);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    if (IsNotFound(error) && HoldsOverlongName(wide)) error = ERROR_FILENAME_EXCED_RANGE;
    return SystemFailure(static_cast<int>(error), FileStep::kOpen);
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return kNotRegular;
  // Device names (NUL, CON, COM1) can carry file attributes: the handle's type tells.
  Handle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return LastFailure(FileStep::kOpen);
  return GetFileType(file.Get()) == FILE_TYPE_DISK ? FileResult{} : kNotRegular;
}

bool IsReadOnly(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

FileResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return SystemFailure(kNameNotTextError, FileStep::kOpen);
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return LastFailure(FileStep::kOpen);
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return kNotRegular;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return LastFailure(FileStep::kOpen);
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return TooLarge(maxBytes);

  std::string content;
  try {
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    char chunk[1 << 16];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) return LastFailure(FileStep::kOpen);
      if (got == 0) break;
      // The file may grow while it is read.
      if (content.size() + got > maxBytes) return TooLarge(maxBytes);
      content.append(chunk, got);
    }
  } catch (const std::bad_alloc&) {
    return SystemFailure(kOutOfMemoryError, FileStep::kOpen);
  }
  bytes = std::move(content);
  return FileResult{};
}

FileResult WriteNewFileToDisk(const std::string& path, std::string_view bytes) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return SystemFailure(kNameNotTextError, FileStep::kOpen);
  Handle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return LastFailure(FileStep::kOpen);
  while (!bytes.empty()) {
    const DWORD piece = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD done = 0;
    if (!WriteFile(file.Get(), bytes.data(), piece, &done, nullptr)) return LastFailure(FileStep::kWrite);
    // A write that takes fewer bytes without an error: the disk is full.
    if (done != piece) return SystemFailure(ERROR_DISK_FULL, FileStep::kWrite);
    bytes.remove_prefix(done);
  }
  if (!FlushFileBuffers(file.Get()) || !file.Close()) return LastFailure(FileStep::kWrite);
  return FileResult{};
}

void CopyOwner(const std::string&, const std::string&) {
  // A new file takes its access rights from the folder, as the old one did.
}

FileResult MakeFolders(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return SystemFailure(kNameNotTextError, FileStep::kWrite);
  // Each folder from the first below a drive or share; those that are there
  // only fail with ERROR_ALREADY_EXISTS (or access denied for a drive's root).
  for (std::size_t end = wide.find_first_of(L"\\/", 1);; end = wide.find_first_of(L"\\/", end + 1)) {
    const std::wstring folder = wide.substr(0, end);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    const bool there = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!there && !CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS &&
        end == std::wstring::npos) {
      return LastFailure(FileStep::kWrite);
    }
    if (end == std::wstring::npos) return FileResult{};
  }
}

void RemoveFile(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (!wide.empty()) DeleteFileW(wide.c_str());
}

namespace {

// Excel holds an open file, an antivirus scanner a new one for a moment: a
// rename refused as in use is tried again for about a second.
constexpr ULONGLONG kInUseRetryMs = 1000;
constexpr DWORD kInUsePauseMs = 50;

bool Rename(const std::wstring& wideFrom, const std::wstring& wideTo) {
  // Write-through: the call returns once the rename is on the disk.
  return MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

FileResult RenameOnce(const std::wstring& wideFrom, const std::wstring& wideTo) {
  if (Rename(wideFrom, wideTo)) return {};
  FileResult failed = LastFailure(FileStep::kWrite);
  // A file that another program holds open refuses the rename as access
  // denied; asking to delete it tells which it is.
  if (failed.osError != ERROR_ACCESS_DENIED) return failed;
  bool held = false;
  {
    Handle target(
        CreateFileW(wideTo.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    held = !target.IsOpen() && GetLastError() == ERROR_SHARING_VIOLATION;
  }
  if (held) {
    failed.cause = FileCause::kInUse;
    return failed;
  }
  // Not held now: the holder may have let go since the first try.
  if (Rename(wideFrom, wideTo)) return {};
  return LastFailure(FileStep::kWrite);
}

}  // namespace

FileResult RenameDurably(const std::string& from, const std::string& to) {
  const std::wstring wideFrom = Wide(from);
  const std::wstring wideTo = Wide(to);
  if (wideFrom.empty() || wideTo.empty()) return SystemFailure(kNameNotTextError, FileStep::kWrite);
  const ULONGLONG deadline = GetTickCount64() + kInUseRetryMs;
  for (;;) {
    const FileResult result = RenameOnce(wideFrom, wideTo);
    if (result.cause != FileCause::kInUse || GetTickCount64() >= deadline) return result;
    Sleep(kInUsePauseMs);
  }
}

}  // namespace vrellix::file_platform

namespace vrellix {

FileResult SystemFailure(int osError, FileStep step) {
  FileCause cause = FileCause::kOther;
  switch (static_cast<DWORD>(osError)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: cause = FileCause::kNotFound; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: cause = FileCause::kNoPermission; break;
    case ERROR_FILENAME_EXCED_RANGE: cause = FileCause::kNameTooLong; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: cause = FileCause::kDiskFull; break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: cause = FileCause::kInUse; break;
    default: break;
  }
  return FileResult{cause, step, osError};
}

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
