// What a POSIX system says about its serial ports: which are present (found in
// the device directory) and the text of its error codes.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/serial.h>
#include <sys/sysmacros.h>
#endif

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <system_error>

#include "serial/serial_port_posix.h"

namespace vrellix {

namespace fs = std::filesystem;

namespace {

// PORT_UNKNOWN in the serial core's record of a port: no UART behind the node.
constexpr int kNoPortType = 0;

// The port type the terminal reports; nothing where it does not say (a
// pseudo-terminal, a system without TIOCGSERIAL).
std::optional<int> SerialPortType(int fd) {
#if defined(__linux__) && defined(TIOCGSERIAL)
  serial_struct info{};
  if (ioctl(fd, TIOCGSERIAL, &info) != 0) return std::nullopt;
  return info.type;
#else
  (void)fd;
  return std::nullopt;
#endif
}

bool IsNumbered(const std::string& name, const std::string& prefix) {
  return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
         std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// Entries that cannot be read are skipped; a missing directory has none.
void ForEachEntry(const fs::path& dir, const std::function<void(const fs::path&)>& visit) {
  std::error_code error;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    visit(it->path());
  }
}

// sysfs keeps the type of every port the serial core knows: 0 (unknown) for a
// ttyS node with no UART behind it. Reading it opens no line.
std::optional<bool> PortInSysfs(const fs::path& typeFile) {
  std::ifstream in(typeFile);
  int type = 0;
  if (!(in >> type)) return std::nullopt;
  return type != kNoPortType;
}

// Where sysfs does not say, the device itself is asked: opened without
// blocking, never as the controlling terminal, nothing set, closed at once.
bool PortAnswers(const fs::path& device) {
  int fd;
  do {
    fd = open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  } while (fd == -1 && errno == EINTR);
  if (fd == -1) return false;
  const std::optional<int> type = SerialPortType(fd);
  close(fd);
  return type && *type != kNoPortType;
}

bool HasSerialPort(const fs::path& device, const fs::path& ttyClassDir) {
  const std::optional<bool> known = PortInSysfs(ttyClassDir / device.filename() / "type");
  return known ? *known : PortAnswers(device);
}

// How far above a tty's device the USB device with its product name sits: the
// interface for ttyACM, the usb-serial port below it for ttyUSB.
constexpr int kUsbDeviceLevels = 3;

// The product name a USB adapter gives itself ("FT232R USB UART"), read from
// the USB device above the tty in sysfs; empty for any other port.
std::string UsbProduct(const fs::path& ttyEntry) {
  std::error_code error;
  fs::path dir = fs::canonical(ttyEntry / "device", error);
  if (error) return std::string();
  for (int level = 0; level <= kUsbDeviceLevels && dir.has_relative_path(); ++level, dir = dir.parent_path()) {
    std::ifstream in(dir / "product");
    std::string product;
    if (in && std::getline(in, product) && !product.empty()) return product;
  }
  return std::string();
}

}  // namespace

bool KnownToHaveNoPort(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) return false;
  const fs::path typeFile = "/sys/dev/char/" + std::to_string(major(info.st_rdev)) + ":" +
                            std::to_string(minor(info.st_rdev)) + "/type";
  const std::optional<bool> present = PortInSysfs(typeFile);
  return present && !*present;
}

std::vector<SerialPortInfo> ListSerialPortsUnder(const std::string& devDirName, const std::string& ttyClassDir) {
  const fs::path devDir = fs::path(devDirName).lexically_normal();
  std::map<std::string, std::string> found;  // device → description

  // USB adapters' stable names: each link is named after the adapter and points
  // at its device.
  ForEachEntry(devDir / "serial" / "by-id", [&](const fs::path& link) {
    std::error_code error;
    fs::path target = fs::read_symlink(link, error);
    if (error) return;
    if (target.is_relative()) target = link.parent_path() / target;
    target = target.lexically_normal();
    if (fs::exists(target, error)) found[target.string()] = link.filename().string();
  });

  ForEachEntry(devDir, [&](const fs::path& device) {
    const std::string name = device.filename().string();
    const bool listed = IsNumbered(name, "ttyUSB") || IsNumbered(name, "ttyACM") ||
                        name.compare(0, 3, "cu.") == 0 ||  // macOS
                        (IsNumbered(name, "ttyS") && HasSerialPort(device, ttyClassDir));
    if (listed) found.emplace(device.string(), "");
  });

  std::vector<SerialPortInfo> ports;
  for (const auto& [device, byIdName] : found) {
    // The adapter's own name says more than its by-id link; the link is kept where there is none.
    const std::string product = UsbProduct(fs::path(ttyClassDir) / fs::path(device).filename());
    ports.push_back({device, product.empty() ? byIdName : product});
  }
  std::sort(ports.begin(), ports.end(),
            [](const SerialPortInfo& a, const SerialPortInfo& b) { return PortNameLess(a.device, b.device); });
  return ports;
}

std::vector<SerialPortInfo> ListSerialPorts() { return ListSerialPortsUnder("/dev", "/sys/class/tty"); }

}  // namespace vrellix
