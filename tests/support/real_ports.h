// Guards for tests that list this machine's serial ports for real. The listing
// judges a ttyS node by its sysfs record and asks the device itself only where
// there is none; a test must never open a real port, so it skips then.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace vrellix::testing {

inline bool ListingWouldOpenARealPort() {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator it("/dev", error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() > 4 && name.compare(0, 4, "ttyS") == 0 &&
        !fs::exists(fs::path("/sys/class/tty") / name / "type")) {
      return true;
    }
  }
  return false;
}

}  // namespace vrellix::testing
