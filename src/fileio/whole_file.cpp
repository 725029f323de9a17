#include "fileio/whole_file.h"

#include "fileio/file_platform.h"

namespace vrellix {

FileResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  if (path.empty()) return FileResult{FileCause::kNoName};
  const FileResult kind = file_platform::CheckRegularFile(path);
  if (!kind.Ok()) return kind;
  return file_platform::ReadRegularFile(path, maxBytes, bytes);
}

}  // namespace vrellix
