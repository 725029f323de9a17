// What became of a file operation, in the same terms on every platform: a cause
// from a closed set and the system's error code, taken at the call that failed.
// It is put into the user's words only where it is shown (FileFailureReason).
#pragma once

#include <cstdint>
#include <string>

namespace vrellix {

enum class FileCause {
  kNone,            // done
  kNotFound,        // nothing by that name (on Windows also a missing folder)
  kNoName,          // the path is empty
  kNoPermission,    // the system refuses this user (or the file system is read-only)
  kReadOnly,        // a regular file the user may not write: left as it is
  kNotRegularFile,  // a directory, device, FIFO or socket
  kTooLarge,        // more bytes than the caller takes
  kNameTooLong,     // a name longer than the file system takes
  kDiskFull,        // no space left, or the user's quota spent
  kInUse,           // another program holds the file (Windows sharing); a later try may succeed
  kNotText,         // the bytes are not text in the encoding they claim
  kOther,           // anything else; osError says what
};

// What was under way: finding, opening or reading the file, or creating its
// replacement (kOpen); writing, flushing or renaming the replacement (kWrite).
enum class FileStep { kOpen, kWrite };

struct FileResult {
  FileCause cause = FileCause::kNone;
  FileStep step = FileStep::kOpen;
  int osError = 0;          // errno or GetLastError() of the failed call; 0 when there was none
  std::uint64_t limit = 0;  // kTooLarge: the caller's limit in bytes

  bool Ok() const { return cause == FileCause::kNone; }
};

// The result for a failed system call's error code at step, its cause as this
// platform's code means it.
FileResult SystemFailure(int osError, FileStep step);

// Why, in one line (UTF-8): the system's text for its error code, or the
// program's words where the cause has them ("読み取り専用です", "not a regular
// file", "larger than N bytes"). Empty for kNone, and where there is nothing
// to say.
std::string FileFailureReason(const FileResult& result);

}  // namespace vrellix
