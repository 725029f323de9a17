// Replacing a file's contents so that it holds either the old bytes or all of
// the new ones, never a half-written mix, even after a power cut.
#pragma once

#include <string>
#include <string_view>

#include "fileio/file_result.h"

namespace vrellix {

// The few file operations that the replace needs, so that tests can make them
// fail. Paths are UTF-8. A failure carries the error code of the call that
// failed, whatever runs after it.
class FileOperations {
 public:
  virtual ~FileOperations() = default;
  // Creates path, which must not exist yet, writes bytes and flushes them to the
  // disk before closing: a failure to create is at kOpen, any later one at kWrite.
  virtual FileResult WriteNewFile(const std::string& path, std::string_view bytes);
  // Renames from to to, replacing to if it exists, and makes the rename last (kWrite).
  virtual FileResult Rename(const std::string& from, const std::string& to);
  // Removes path; a path that does not exist is not an error.
  virtual void Remove(const std::string& path);
};

// Writes bytes to a temporary file beside path (a short name of its own, so
// that a path of any name the system takes can be replaced) and renames it over
// path once every byte is on the disk. Only a missing path or a regular file
// the user may write is replaced (a link to one is written through); anything
// else is refused untouched (kNotRegularFile, kReadOnly, or why it could not
// be looked at). On failure the temporary file is removed and path is left as
// it was.
FileResult ReplaceFileContents(const std::string& path, std::string_view bytes, FileOperations& files);
FileResult ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace vrellix
