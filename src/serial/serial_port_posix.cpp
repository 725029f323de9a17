// The serial port on POSIX systems, with termios. Gives the same contract as the
// Windows backend: raw 8-bit line, no flow control, DTR/RTS dropped, exclusive
// use, a read that gives up 50 ms per byte + 500 ms after it began, and a write
// that returns once the output has drained.
#include "serial/serial_port.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "serial/line_settings.h"
#include "serial/serial_port_posix.h"

namespace vrellix {

struct CommPort {
  int fd;
};

namespace {

using SteadyClock = std::chrono::steady_clock;

template <typename Call>
auto RetryOnInterrupt(Call call) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

bool SpeedFor(int baudRate, speed_t* speed) {
  struct Entry {
    int rate;
    speed_t speed;
  };
  // 14400 has no termios constant; such a port cannot be opened here.
  static const Entry kSpeeds[] = {
      {1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
      {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
  };
  for (const Entry& e : kSpeeds) {
    if (e.rate == baudRate) {
      *speed = e.speed;
      return true;
    }
  }
  return false;
}

// Milliseconds left until the deadline, rounded up so a wait never ends just
// short of it; 0 once it has passed.
int RemainingMs(SteadyClock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

SteadyClock::time_point DeadlineAfter(std::size_t count, TransferTimeout timeout) {
  return SteadyClock::now() + std::chrono::milliseconds(timeout.For(count));
}

// The line's modem control lines are dropped where it has them; a
// pseudo-terminal has none and says so with ENOTTY or EINVAL.
bool DropDtrAndRts(int fd) {
  int lines = TIOCM_DTR | TIOCM_RTS;
  if (RetryOnInterrupt([&] { return ioctl(fd, TIOCMBIC, &lines); }) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

// On failure errno says why; EINVAL when the line cannot take the settings.
bool Configure(int fd, const LineSettings& line) {
  speed_t speed;
  if (!SpeedFor(line.baudRate, &speed)) {
    errno = EINVAL;
    return false;
  }

  termios tio{};
  if (RetryOnInterrupt([&] { return tcgetattr(fd, &tio); }) != 0) return false;
  cfmakeraw(&tio);
  if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0) return false;
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  tio.c_cflag |= (line.dataBits == 7 ? CS7 : CS8) | CLOCAL | CREAD;
  if (line.parity != kNoParity) tio.c_cflag |= PARENB;
  if (line.parity == kOddParity) tio.c_cflag |= PARODD;
  if (line.stopBits == kTwoStopBits) tio.c_cflag |= CSTOPB;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (RetryOnInterrupt([&] { return tcsetattr(fd, TCSANOW, &tio); }) != 0) return false;

  // tcsetattr succeeds when any one change took effect, so read back and compare.
  termios applied{};
  if (RetryOnInterrupt([&] { return tcgetattr(fd, &applied); }) != 0) return false;
  const tcflag_t cflagMask = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CLOCAL | CREAD;
  const tcflag_t iflagMask = IXON | IXOFF | IXANY;
  const tcflag_t lflagMask = ICANON | ECHO | ISIG;
  const bool asAsked = (applied.c_cflag & cflagMask) == (tio.c_cflag & cflagMask) &&
                       (applied.c_iflag & iflagMask) == (tio.c_iflag & iflagMask) &&
                       (applied.c_lflag & lflagMask) == (tio.c_lflag & lflagMask) &&
                       (applied.c_oflag & OPOST) == 0 && applied.c_cc[VMIN] == 0 &&
                       applied.c_cc[VTIME] == 0 && cfgetispeed(&applied) == speed &&
                       cfgetospeed(&applied) == speed;
  if (!asAsked) errno = EINVAL;
  return asAsked;
}

bool SetNonBlocking(int fd, bool on) {
  const int flags = RetryOnInterrupt([&] { return fcntl(fd, F_GETFL); });
  if (flags == -1) return false;
  const int wanted = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return wanted == flags || RetryOnInterrupt([&] { return fcntl(fd, F_SETFL, wanted); }) == 0;
}

void CloseDescriptor(int fd) {
  close(fd);  // never retried: the descriptor is gone even after EINTR
}

// Closes a port this program made exclusive. Lets the next user in: the flag
// outlives this descriptor while another one (a test harness's, say) keeps the
// terminal open.
void ReleaseDevice(int fd) {
  ioctl(fd, TIOCNXCL);
  CloseDescriptor(fd);
}

// Whether someone else has made the terminal exclusive. Only root gets this far
// past such a flag, and it must not take the port from under its holder.
bool HeldExclusiveByOther(int fd) {
#ifdef TIOCGEXCL
  int exclusive = 0;
  return ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
#else
  (void)fd;
  return false;
#endif
}

// The group whose members may read and write the device, when there is one
// other than root's: the one to join.
std::string AccessGroup(const std::string& deviceName) {
  struct stat info {};
  if (stat(deviceName.c_str(), &info) != 0) return "";
  const mode_t groupReadWrite = S_IRGRP | S_IWGRP;
  if ((info.st_mode & groupReadWrite) != groupReadWrite || info.st_gid == 0) return "";
  std::vector<char> buffer(16384);
  group entry {};
  group* found = nullptr;
  if (getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return "";
  return found->gr_name;
}

PortFailureCause CauseOfOpenError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
      return PortFailureCause::kNotFound;
    case EACCES:
    case EPERM:
      return PortFailureCause::kNoPermission;
    case EBUSY:
    case EWOULDBLOCK:
      return PortFailureCause::kBusy;
    case EISDIR:
    case ENOTTY:
    case EINVAL:
      return PortFailureCause::kNotSerial;
    default:
      return PortFailureCause::kSystemError;
  }
}

// Records why the open failed (errno as it stands).
OpenResult Refuse(PortFailure* failure, const std::string& deviceName) {
  const int error = errno;
  if (failure) {
    failure->cause = CauseOfOpenError(error);
    failure->osError = error;
    if (failure->cause == PortFailureCause::kNoPermission) failure->group = AccessGroup(deviceName);
  }
  return OpenResult::kFailed;
}

}  // namespace

bool PortNumberNamesAPort(int portNo) { return portNo >= 1 && portNo <= 9; }

std::string PortNameForNumber(int portNo) {
  return "/dev/ttyS" + std::to_string(PortNumberNamesAPort(portNo) ? portNo - 1 : 0);
}

OpenResult OpenComm(CommHandle* handle, const std::string& deviceName, int baudRate, int dataBits,
                    int parity, int stopBits, PortFailure* failure) {
  *handle = nullptr;
  if (failure) *failure = PortFailure{};
  // Non-blocking so the open cannot wait for a carrier; cleared right after.
  const int fd = RetryOnInterrupt(
      [&] { return open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
  if (fd == -1) return Refuse(failure, deviceName);

  // Until this program holds the port, a refusal leaves its exclusive flag and
  // lock exactly as they were: they may be another program's.
  auto refuseUnheld = [&] {
    const OpenResult result = Refuse(failure, deviceName);
    CloseDescriptor(fd);
    return result;
  };
  if (!isatty(fd)) return refuseUnheld();
  if (KnownToHaveNoPort(fd)) {
    errno = ENODEV;
    return refuseUnheld();
  }
  // TIOCEXCL keeps other users out but root ignores it; the lock covers that case.
  if (RetryOnInterrupt([&] { return flock(fd, LOCK_EX | LOCK_NB); }) != 0) return refuseUnheld();
  if (HeldExclusiveByOther(fd)) {
    errno = EBUSY;
    return refuseUnheld();
  }
  // A failed TIOCEXCL alone is not fatal: the lock is this program's now.
  ioctl(fd, TIOCEXCL);

  const LineSettings line = MapLineSettings(baudRate, dataBits, parity, stopBits);
  if (!SetNonBlocking(fd, false) || !Configure(fd, line) || !DropDtrAndRts(fd)) {
    const OpenResult result = Refuse(failure, deviceName);
    ReleaseDevice(fd);
    return result;
  }
  tcflush(fd, TCIFLUSH);
  tcflush(fd, TCOFLUSH);
  *handle = new CommPort{fd};
  return OpenResult::kOpened;
}

void CloseComm(CommHandle handle) {
  if (!handle) return;
  tcflush(handle->fd, TCIFLUSH);
  tcflush(handle->fd, TCOFLUSH);
  ReleaseDevice(handle->fd);
  delete handle;
}

CommResult WriteComm(CommHandle handle, const std::uint8_t* data, std::size_t count) {
  if (!handle) return CommResult::kNoPort;
  const int fd = handle->fd;
  // The bytes go out without blocking inside write(), so a line that stops
  // taking bytes fails after the write time-out instead of hanging the worker.
  if (!SetNonBlocking(fd, true)) return CommResult::kFailed;
  const auto deadline = DeadlineAfter(count, kWriteTimeout);
  std::size_t written = 0;
  bool failed = false;
  while (written < count && !failed) {
    const ssize_t n = write(fd, data + written, count - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n == -1 && errno == EINTR) continue;
    if (n == -1 && errno != EAGAIN && errno != EWOULDBLOCK) {
      failed = true;
      continue;
    }
    // The output queue is full: sleep until it has room or the time is up.
    pollfd pfd{fd, POLLOUT, 0};
    const int ready = RetryOnInterrupt([&] { return poll(&pfd, 1, RemainingMs(deadline)); });
    if (ready == 0 && SteadyClock::now() >= deadline) failed = true;
    if (ready == -1 || (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) failed = true;
  }
  if (!SetNonBlocking(fd, false) || failed) return CommResult::kFailed;
  if (RetryOnInterrupt([&] { return tcdrain(fd); }) != 0) return CommResult::kFailed;
  return CommResult::kOk;
}

CommResult ReadComm(CommHandle handle, std::uint8_t* buffer, std::size_t count) {
  if (!handle) return CommResult::kNoPort;
  const int fd = handle->fd;
  // One deadline for the whole read, however the bytes trickle in.
  const auto deadline = DeadlineAfter(count, kReadTimeout);
  std::size_t received = 0;
  bool hungUp = false;
  while (received < count) {
    // VMIN=0 VTIME=0: read() hands over what is there and never waits.
    ssize_t n = RetryOnInterrupt([&] { return read(fd, buffer + received, count - received); });
    if (n == -1 && (errno == EAGAIN || errno == EWOULDBLOCK)) n = 0;
    if (n == -1) return CommResult::kFailed;
    if (n > 0) {
      received += static_cast<std::size_t>(n);
      continue;
    }
    // After a hang-up poll() would wake at once, again and again, until the
    // deadline; nothing more can arrive, so give up now.
    if (hungUp) return CommResult::kFailed;
    const int wait = RemainingMs(deadline);
    if (wait == 0) return CommResult::kFailed;
    pollfd pfd{fd, POLLIN, 0};
    if (RetryOnInterrupt([&] { return poll(&pfd, 1, wait); }) == -1) return CommResult::kFailed;
    if ((pfd.revents & (POLLERR | POLLNVAL)) != 0) return CommResult::kFailed;
    hungUp = (pfd.revents & POLLHUP) != 0;
  }
  return CommResult::kOk;
}

void PurgeCommInput(CommHandle handle) {
  if (!handle) return;
  tcflush(handle->fd, TCIFLUSH);
}

CommResult ReadCommWaiting(CommHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t* received) {
  *received = 0;
  if (!handle) return CommResult::kNoPort;
  // VMIN=0 VTIME=0: read() hands over what has arrived and never waits.
  while (*received < capacity) {
    ssize_t n = RetryOnInterrupt([&] { return read(handle->fd, buffer + *received, capacity - *received); });
    if (n == -1 && (errno == EAGAIN || errno == EWOULDBLOCK)) n = 0;
    if (n == -1) return CommResult::kFailed;
    if (n == 0) break;
    *received += static_cast<std::size_t>(n);
  }
  return CommResult::kOk;
}

}  // namespace vrellix
