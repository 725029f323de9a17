// Things that are not regular files, made inside a scratch directory, and a
// guard for calls that could block on a FIFO. POSIX only.
#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <optional>
#include <string>

namespace vrellix::testing {

inline bool MakeFifo(const std::string& path) { return mkfifo(path.c_str(), 0600) == 0; }

// A socket file that stays after its descriptor is closed.
inline bool MakeSocket(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd == -1) return false;
  const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return bound;
}

// A node of the null device, as /dev/null is; needs root (false otherwise).
inline bool MakeNullDevice(const std::string& path) {
  return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

// Runs call on a thread of its own. Nothing if it is still running after limit:
// a writer then opens and closes fifo so that a reader stuck on it comes free.
template <typename Result>
std::optional<Result> UnlessStuckOn(const std::string& fifo, std::function<Result()> call,
                                    std::chrono::seconds limit = std::chrono::seconds(5)) {
  std::future<Result> result = std::async(std::launch::async, std::move(call));
  if (result.wait_for(limit) == std::future_status::ready) return result.get();
  const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (writer != -1) close(writer);
  result.wait();
  return std::nullopt;
}

}  // namespace vrellix::testing
