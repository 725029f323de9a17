#include "cli/file_failure.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "messages/messages.h"

namespace vrellix::cli {

namespace fs = std::filesystem;

namespace {

std::string Why(const std::string& path, const std::string& why) { return " (" + path + ": " + why + ")"; }

std::string WhyNotReadable(const std::string& path) {
  const fs::path file = fs::u8path(path);
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (error) return error.message();
  if (fs::is_directory(status)) return "a directory";
  if (!fs::is_regular_file(status)) return "not a regular file";
  errno = 0;
  // The loads refused the file for a reason the open tells.
  if (std::ifstream(file, std::ios::binary)) return "too large or unreadable";
  return errno != 0 ? std::strerror(errno) : "cannot be opened";
}

std::string WhyNotWritable(const std::string& path) {
  const fs::path file = fs::u8path(path);
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (!error && fs::exists(status) && !fs::is_regular_file(status)) return "not a regular file";
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const fs::file_status folderStatus = fs::status(folder, error);
  if (error) return "folder " + folder.u8string() + ": " + error.message();
  if (!fs::is_directory(folderStatus)) return "folder " + folder.u8string() + ": not a directory";
  return "cannot be created in its folder";
}

}  // namespace

std::string WithReadFailure(const std::string& message, const std::string& path) {
  return message == messages::kFileOpenFailed ? message + Why(path, WhyNotReadable(path)) : message;
}

std::string WithWriteFailure(const std::string& message, const std::string& path) {
  if (message == messages::kFileOpenFailed) return message + Why(path, WhyNotWritable(path));
  return message == messages::kFileWriteFailed ? message + Why(path, "the old file is left as it was") : message;
}

}  // namespace vrellix::cli
