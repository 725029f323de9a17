#include "fileio/whole_file.h"

#include "fileio/file_platform.h"

namespace vrellix {

ReadOutcome ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string* reason) {
  if (path.empty()) {
    if (reason) *reason = "no file name";
    return ReadOutcome::kMissing;
  }
  switch (file_platform::KindOf(path, reason)) {
    case file_platform::Kind::kMissing: return ReadOutcome::kMissing;
    case file_platform::Kind::kOther: return ReadOutcome::kNotReadable;
    case file_platform::Kind::kRegular: break;
  }
  return file_platform::ReadRegularFile(path, maxBytes, bytes, reason);
}

}  // namespace vrellix
