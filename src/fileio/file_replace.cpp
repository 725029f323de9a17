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
  // A dot file in the same folder, so the rename stays on one file system; a
  // short name of its own, so it fits wherever the target's name does.
  return (target.parent_path() / fs::u8path(".vrellix-" + suffix + ".tmp")).u8string();
}

}  // namespace

ReplaceOutcome FileOperations::WriteNewFile(const std::string& path, std::string_view bytes) {
  return file_platform::WriteNewFileToDisk(path, bytes);
}

bool FileOperations::Rename(const std::string& from, const std::string& to) {
  return file_platform::RenameDurably(from, to);
}

void FileOperations::Remove(const std::string& path) { file_platform::RemoveFile(path); }

namespace {

ReplaceOutcome Replace(const std::string& path, std::string_view bytes, FileOperations& files, std::string* reason) {
  const auto failed = [reason](ReplaceOutcome outcome, const std::string& why) {
    if (reason) *reason = why;
    return outcome;
  };
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
  // A rename needs only the folder's permission: it would replace a protected file.
  if (kind == file_platform::Kind::kRegular && file_platform::IsReadOnly(target.u8string())) {
    return failed(ReplaceOutcome::kReadOnly, "");
  }

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

}  // namespace

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, FileOperations& files,
                                   std::string* reason) {
  if (path.empty()) {
    if (reason) *reason = "no file name";
    return ReplaceOutcome::kCannotCreate;
  }
  // On Windows a path is converted to UTF-16, which throws for bytes that are
  // not UTF-8: such a name cannot be created. Nothing is written before the
  // names are converted.
  try {
    return Replace(path, bytes, files, reason);
  } catch (const std::exception& error) {
    if (reason) *reason = error.what();
    return ReplaceOutcome::kCannotCreate;
  }
}

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* reason) {
  FileOperations files;
  return ReplaceFileContents(path, bytes, files, reason);
}

}  // namespace vrellix
