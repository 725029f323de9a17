#include "fileio/file_replace.h"

#include <filesystem>
#include <new>
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

FileResult FileOperations::WriteNewFile(const std::string& path, std::string_view bytes) {
  return file_platform::WriteNewFileToDisk(path, bytes);
}

FileResult FileOperations::Rename(const std::string& from, const std::string& to) {
  return file_platform::RenameDurably(from, to);
}

void FileOperations::Remove(const std::string& path) { file_platform::RemoveFile(path); }

namespace {

FileResult Replace(const std::string& path, std::string_view bytes, FileOperations& files) {
  std::error_code error;
  fs::path target = fs::u8path(path);
  // Replace what a link points at, not the link itself.
  if (fs::is_symlink(target, error)) {
    const fs::path resolved = fs::canonical(target, error);
    if (error) {
      // A link to nothing or a loop of links: the platform says why in its own code.
      const FileResult why = file_platform::CheckRegularFile(path);
      return why.Ok() ? SystemFailure(error.value(), FileStep::kOpen) : why;
    }
    target = resolved;
  }
  // A rename over a device node, FIFO or socket would put a file in its place.
  const FileResult kind = file_platform::CheckRegularFile(target.u8string());
  const bool exists = kind.Ok();
  if (!exists && kind.cause != FileCause::kNotFound) return kind;
  // A rename needs only the folder's permission: it would replace a protected file.
  if (exists && file_platform::IsReadOnly(target.u8string())) return FileResult{FileCause::kReadOnly};

  std::string temporary;
  for (int attempt = 0; attempt < 10; ++attempt) {
    temporary = TemporaryNameBeside(target);
    if (!fs::exists(fs::u8path(temporary), error)) break;
  }

  const FileResult written = files.WriteNewFile(temporary, bytes);
  if (!written.Ok()) {
    files.Remove(temporary);
    return written;
  }
  // Keep the owner and the permissions the user gave the old file.
  if (exists) {
    file_platform::CopyOwner(target.u8string(), temporary);
    const fs::file_status status = fs::status(target, error);
    if (!error) fs::permissions(fs::u8path(temporary), status.permissions(), error);
  }
  const FileResult renamed = files.Rename(temporary, target.u8string());
  if (!renamed.Ok()) files.Remove(temporary);
  return renamed;
}

}  // namespace

FileResult ReplaceFileContents(const std::string& path, std::string_view bytes, FileOperations& files) {
  if (path.empty()) return FileResult{FileCause::kNoName};
  // On Windows a path is converted to UTF-16, which throws for bytes that are
  // not UTF-8: such a name cannot be created. Nothing is written before the
  // names are converted.
  try {
    return Replace(path, bytes, files);
  } catch (const std::bad_alloc&) {
    return SystemFailure(file_platform::kOutOfMemoryError, FileStep::kOpen);
  } catch (const std::exception&) {
    return SystemFailure(file_platform::kNameNotTextError, FileStep::kOpen);
  }
}

FileResult ReplaceFileContents(const std::string& path, std::string_view bytes) {
  FileOperations files;
  return ReplaceFileContents(path, bytes, files);
}

}  // namespace vrellix
