// The port listing against a fake device tree whose devices are pseudo-terminals:
// no real port of the machine is ever opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "serial/serial_port.h"
#include "serial/serial_port_posix.h"
#include "support/pty_pair.h"
#include "support/scratch_dir.h"

namespace vrellix {

// Found by argument-dependent lookup, so beside SerialPortInfo.
bool operator==(const SerialPortInfo& a, const SerialPortInfo& b) {
  return a.device == b.device && a.description == b.description;
}
void PrintTo(const SerialPortInfo& port, std::ostream* os) { *os << port.device << " (" << port.description << ")"; }

namespace {

namespace fs = std::filesystem;

TEST(SerialPortList, FindsTheSerialDevicesOfADeviceTree) {
  testing::ScratchDir root;
  const fs::path dev = root.Path() / "dev";
  const fs::path sys = root.Path() / "sys";
  fs::create_directories(dev / "serial" / "by-id");
  std::vector<std::unique_ptr<testing::PtyPair>> lines;
  const auto device = [&](const char* name) {
    lines.push_back(std::make_unique<testing::PtyPair>());
    fs::create_symlink(lines.back()->SlavePath(), dev / name);
  };
  const auto sysfsType = [&](const char* name, const char* type) {
    fs::create_directories(sys / name);
    testing::WriteBytes((sys / name / "type").string(), type);
  };

  for (const char* name : {"ttyUSB0", "ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS1", "ttyS2", "ttyS10",
                           "ttyAMAx", "ttyUSB", "tty0", "ttySX"}) {
    device(name);
  }
  testing::WriteBytes((dev / "null").string(), "");
  sysfsType("ttyS0", "4\n");   // a 16550A
  sysfsType("ttyS1", "0\n");   // a node without a UART
  sysfsType("ttyS10", "4\n");  // ttyS2 has no record: asked, and a pty is no serial port
  fs::create_symlink("../../ttyUSB0", dev / "serial" / "by-id" / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  fs::create_symlink("../../ttyUSB10", dev / "serial" / "by-id" / "usb-Prolific_PL2303-if00-port0");
  fs::create_symlink("../../ttyUSB7", dev / "serial" / "by-id" / "usb-unplugged-if00-port0");
  // A USB device's product name, a few levels above its tty, wins over the by-id name.
  const auto usbTty = [&](const char* name, const char* below, const char* product) {
    const fs::path usbDevice = sys / "devices" / "usb1" / name;
    fs::create_directories(usbDevice / below);
    if (product) testing::WriteBytes((usbDevice / "product").string(), product);
    fs::create_directories(sys / name);
    fs::create_symlink(usbDevice / below, sys / name / "device");
  };
  usbTty("ttyUSB0", "1-1:1.0/ttyUSB0", "FT232R USB UART\n");
  usbTty("ttyACM0", "1-2:1.0", "Pico");
  usbTty("ttyUSB10", "1-3:1.0/ttyUSB10", nullptr);

  const auto at = [&](const char* name) { return (dev / name).string(); };
  const std::vector<SerialPortInfo> expected = {
      {at("ttyACM0"), "Pico"},
      {at("ttyS0"), ""},
      {at("ttyS10"), ""},
      {at("ttyUSB0"), "FT232R USB UART"},
      {at("ttyUSB2"), ""},
      {at("ttyUSB10"), "usb-Prolific_PL2303-if00-port0"},
  };
  EXPECT_EQ(ListSerialPortsUnder(dev.string(), sys.string()), expected);
  EXPECT_TRUE(ListSerialPortsUnder((root.Path() / "none").string(), sys.string()).empty());
}

TEST(SerialPortList, NamesSortAsPeopleCount) {
  std::vector<std::string> names = {"COM10", "/dev/ttyUSB1", "COM2", "COM1", "/dev/ttyS10", "COM02",
                                    "/dev/ttyS9", "/dev/ttyACM0", "COM"};
  std::sort(names.begin(), names.end(), PortNameLess);
  EXPECT_EQ(names, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS9", "/dev/ttyS10", "/dev/ttyUSB1", "COM",
                                             "COM1", "COM02", "COM2", "COM10"}));
}

}  // namespace
}  // namespace vrellix
