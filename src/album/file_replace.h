// Replacing a file's contents so that it holds either the old bytes or all of
// the new ones, never a half-written mix.
#pragma once

#include <string>
#include <string_view>

namespace vrellix {

enum class ReplaceOutcome {
  kReplaced,
  kCannotCreate,  // the file (or its temporary neighbour) cannot be created
  kWriteFailed,   // writing, flushing or the final rename failed
};

// The few file operations that the replace needs, so that tests can make them
// fail. Paths are UTF-8.
class FileOperations {
 public:
  virtual ~FileOperations() = default;
  // Creates path (truncating it if it exists), writes bytes, flushes and closes.
  virtual ReplaceOutcome WriteNewFile(const std::string& path, std::string_view bytes);
  // Renames from to to, replacing to if it exists.
  virtual bool Rename(const std::string& from, const std::string& to);
  // Removes path; a path that does not exist is not an error.
  virtual void Remove(const std::string& path);
};

// Writes bytes to a temporary file beside path and renames it over path once
// every byte was written and flushed. On failure the temporary file is removed
// and path is left as it was.
ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, FileOperations& files);
ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace vrellix
