#include "fileio/file_replace.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "fileio/file_platform.h"

namespace vrellix {
namespace fs = std::filesystem;

namespace {

std::string TemporaryNameBeside(const fs::path& target) {
  static const char kHex[] = "0123456789abcdef";
  std::random_device entropy;
  std::mt19937 generator(entropy());
  std::string suffix;
  for (int i = 0; i < 12; ++i) suffix += kHex[generator() % 16];
  // A dot file in the same folder, so the rename stays on one file system.
  const fs::path name = fs::u8path("." + target.filename().u8string() + "." + suffix + ".tmp");
  return (target.parent_path() / name).u8string();
}

}  // namespace

ReplaceOutcome FileOperations::WriteNewFile(const std::string& path, std::string_view bytes) {
  return file_platform::WriteNewFileToDisk(path, bytes);
}

bool FileOperations::Rename(const std::string& from, const std::string& to) {
  return file_platform::RenameDurably(from, to);
}

void FileOperations::Remove(const std::string& path) {
  std::error_code error;
  fs::remove(fs::u8path(path), error);
}

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, FileOperations& files,
                                   std::string* reason) {
  const auto failed = [reason](ReplaceOutcome outcome, const std::string& why) {
    if (reason) *reason = why;
    return outcome;
  };
  if (path.empty()) return failed(ReplaceOutcome::kCannotCreate, "no file name");
  std::error_code error;
  fs::path target = fs::u8path(path);
  // Replace what a link points at, not the link itself.
  if (fs::is_symlink(target, error)) {
    const fs::path resolved = fs::canonical(target, error);
    if (error) return failed(ReplaceOutcome::kCannotCreate, error.message());
    target = resolved;
  }
  // A rename over a device node, FIFO or socket would put a file in its place.
  std::string notAFile;
  const file_platform::Kind kind = file_platform::KindOf(target.u8string(), &notAFile);
  if (kind == file_platform::Kind::kOther) return failed(ReplaceOutcome::kCannotCreate, notAFile);

  std::string temporary;
  for (int attempt = 0; attempt < 10; ++attempt) {
    temporary = TemporaryNameBeside(target);
    if (!fs::exists(fs::u8path(temporary), error)) break;
  }

  const ReplaceOutcome written = files.WriteNewFile(temporary, bytes);
  if (written != ReplaceOutcome::kReplaced) {
    // Taken before the clean-up can change it.
    const std::string why = SystemErrorText(LastSystemError());
    files.Remove(temporary);
    return failed(written, why);
  }
  // Keep the owner and the permissions the user gave the old file.
  if (kind == file_platform::Kind::kRegular) {
    file_platform::CopyOwner(target.u8string(), temporary);
    const fs::file_status status = fs::status(target, error);
    if (!error) fs::permissions(fs::u8path(temporary), status.permissions(), error);
  }
  if (!files.Rename(temporary, target.u8string())) {
    const std::string why = SystemErrorText(LastSystemError());
    files.Remove(temporary);
    return failed(ReplaceOutcome::kWriteFailed, why);
  }
  return ReplaceOutcome::kReplaced;
}

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* reason) {
  FileOperations files;
  return ReplaceFileContents(path, bytes, files, reason);
}

}  // namespace vrellix
