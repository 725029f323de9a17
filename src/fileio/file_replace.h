// Replacing a file's contents so that it holds either the old bytes or all of
// the new ones, never a half-written mix, even after a power cut.
#pragma once

#include <string>
#include <string_view>

namespace vrellix {

enum class ReplaceOutcome {
  kReplaced,
  kCannotCreate,  // not a regular file (a device, FIFO, socket or directory), or
                  // the file or its temporary neighbour cannot be created
  kWriteFailed,   // writing, flushing or the final rename failed
  kReadOnly,      // a regular file that the user may not write: left as it is
};

// The few file operations that the replace needs, so that tests can make them
// fail. Paths are UTF-8.
class FileOperations {
 public:
  virtual ~FileOperations() = default;
  // Creates path, which must not exist yet, writes bytes and flushes them to the
  // disk before closing.
  virtual ReplaceOutcome WriteNewFile(const std::string& path, std::string_view bytes);
  // Renames from to to, replacing to if it exists, and makes the rename last.
  virtual bool Rename(const std::string& from, const std::string& to);
  // Removes path; a path that does not exist is not an error.
  virtual void Remove(const std::string& path);
};

// Writes bytes to a temporary file beside path (a short name of its own, so
// that a path of any name the system takes can be replaced) and renames it over
// path once every byte is on the disk. Only a missing path or a regular file
// the user may write is replaced (a link to one is written through); anything
// else is refused untouched. On failure the temporary file is removed, path is
// left as it was and *reason, when given, says why in the system's words (or
// "not a regular file"); for kReadOnly the caller words it.
ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, FileOperations& files,
                                   std::string* reason = nullptr);
ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

}  // namespace vrellix
