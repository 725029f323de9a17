// Real file operations with one step made to fail, counting the files written.
#pragma once

#include <string>
#include <string_view>

#include "fileio/file_replace.h"

namespace vrellix::testing {

class FailingFiles : public FileOperations {
 public:
  enum Step { kNothing, kWriteHalf, kRename };
  explicit FailingFiles(Step failing = kNothing) : m_failing(failing) {}

  FileResult WriteNewFile(const std::string& path, std::string_view bytes) override {
    ++writes;
    if (m_failing != kWriteHalf) return FileOperations::WriteNewFile(path, bytes);
    FileOperations::WriteNewFile(path, bytes.substr(0, bytes.size() / 2));  // a disk that fills up
    return FileResult{FileCause::kDiskFull, FileStep::kWrite};
  }
  FileResult Rename(const std::string& from, const std::string& to) override {
    renamed = true;
    if (m_failing == kRename) return FileResult{FileCause::kOther, FileStep::kWrite};
    return FileOperations::Rename(from, to);
  }

  int writes = 0;
  bool renamed = false;

 private:
  Step m_failing;
};

}  // namespace vrellix::testing
