// Files through POSIX calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <system_error>

#include "fileio/current_directory.h"
#include "fileio/file_platform.h"

namespace vrellix::file_platform {
namespace {

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
  } while (fd == -1 && errno == EINTR);
  return fd;
}

// Closes the descriptor when the scope ends; Close() reports the result.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd != -1) close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return close(fd) == 0;
  }

 private:
  int m_fd;
};

// 0 once every byte is written, else the error of the write that failed.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written == -1) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// 0 once the file is on the disk, else the error.
int SyncRetrying(int fd) {
  int result;
  do {
    result = fsync(fd);
  } while (result == -1 && errno == EINTR);
  return result == 0 ? 0 : errno;
}

FileResult OpenFailure(int error) { return SystemFailure(error, FileStep::kOpen); }

FileResult TooLarge(std::size_t maxBytes) { return FileResult{FileCause::kTooLarge, FileStep::kOpen, 0, maxBytes}; }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

const int kNameNotTextError = EILSEQ;
const int kOutOfMemoryError = ENOMEM;

FileResult CheckRegularFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return OpenFailure(errno);
  if (S_ISREG(info.st_mode)) return FileResult{};
  return FileResult{FileCause::kNotRegularFile, FileStep::kOpen, S_ISDIR(info.st_mode) ? EISDIR : 0};
}

bool IsReadOnly(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  if (geteuid() == 0) return (info.st_mode & S_IWUSR) == 0;
  // Against the effective user and groups, access control lists included. A
  // read-only file system is the system's to report (EROFS).
  return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

FileResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  // Non-blocking, should the name have become a FIFO since it was looked at.
  Descriptor file(OpenRetrying(path, O_RDONLY | O_NONBLOCK));
  if (file.Get() == -1) return OpenFailure(errno);
  struct stat info {};
  if (fstat(file.Get(), &info) != 0) return OpenFailure(errno);
  if (!S_ISREG(info.st_mode)) return FileResult{FileCause::kNotRegularFile};
  if (static_cast<unsigned long long>(info.st_size) > maxBytes) return TooLarge(maxBytes);

  std::string content;
  try {
    content.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[1 << 16];
    for (;;) {
      const ssize_t got = read(file.Get(), chunk, sizeof chunk);
      if (got == -1) {
        if (errno == EINTR) continue;
        return OpenFailure(errno);
      }
      if (got == 0) break;
      // The file may grow while it is read.
      if (content.size() + static_cast<std::size_t>(got) > maxBytes) return TooLarge(maxBytes);
      content.append(chunk, static_cast<std::size_t>(got));
    }
  } catch (const std::bad_alloc&) {
    return OpenFailure(ENOMEM);
  }
  bytes = std::move(content);
  return FileResult{};
}

FileResult WriteNewFileToDisk(const std::string& path, std::string_view bytes) {
  Descriptor file(OpenRetrying(path, O_WRONLY | O_CREAT | O_EXCL, 0666));
  if (file.Get() == -1) return OpenFailure(errno);
  int error = WriteAll(file.Get(), bytes);
  if (error == 0) error = SyncRetrying(file.Get());
  if (error == 0 && !file.Close()) error = errno;
  return error == 0 ? FileResult{} : SystemFailure(error, FileStep::kWrite);
}

void CopyOwner(const std::string& from, const std::string& to) {
  struct stat info {};
  if (stat(from.c_str(), &info) != 0) return;
  if (chown(to.c_str(), info.st_uid, info.st_gid) != 0) {
    // Only root may give a file away; the new file then stays the writer's.
  }
}

FileResult MakeFolders(const std::string& path) {
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string folder = path.substr(0, end);
    struct stat status {};
    if (!folder.empty() && stat(folder.c_str(), &status) != 0 && mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
      return SystemFailure(errno, FileStep::kWrite);
    }
    if (end == std::string::npos) return FileResult{};
  }
}

void RemoveFile(const std::string& path) { unlink(path.c_str()); }

FileResult RenameDurably(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return SystemFailure(errno, FileStep::kWrite);
  // The new name lasts a power cut only once the folder is on the disk too. Not
  // every file system can sync a folder, and the rename has happened anyway.
  Descriptor folder(OpenRetrying(FolderOf(to), O_RDONLY | O_DIRECTORY));
  if (folder.Get() != -1) SyncRetrying(folder.Get());
  return FileResult{};
}

}  // namespace vrellix::file_platform

namespace vrellix {

FileResult SystemFailure(int osError, FileStep step) {
  FileCause cause = FileCause::kOther;
  switch (osError) {
    case ENOENT: cause = FileCause::kNotFound; break;
    case EACCES:
    case EPERM:
    case EROFS: cause = FileCause::kNoPermission; break;
    case EISDIR: cause = FileCause::kNotRegularFile; break;
    case ENAMETOOLONG: cause = FileCause::kNameTooLong; break;
    case ENOSPC:
    case EDQUOT: cause = FileCause::kDiskFull; break;
    case EBUSY:
    case ETXTBSY: cause = FileCause::kInUse; break;
    default: break;
  }
  return FileResult{cause, step, osError};
}

std::string SystemErrorText(int osError) { return std::system_category().message(osError); }

std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size())) {
      buffer.resize(buffer.find('\0'));
      return buffer;
    }
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace vrellix
