// Which drivers the Windows port open accepts.
#include <gtest/gtest.h>

#include "serial/serial_port.h"
#include "serial/serial_port_win32.h"

namespace vrellix {
namespace {

// What wine 8 reports for a COM port: no RLSD among the settable parameters.
COMMPROP WinePort() {
  COMMPROP prop{};
  prop.dwSettableParams = 0x3f;
  prop.dwSettableBaud = BAUD_1200 | BAUD_2400 | BAUD_4800 | BAUD_9600 | BAUD_19200;
  prop.wSettableData = DATABITS_7 | DATABITS_8;
  prop.dwProvCapabilities = PCF_DTRDSR | PCF_RTSCTS | PCF_TOTALTIMEOUTS | PCF_INTTIMEOUTS;
  return prop;
}

// Accepted exactly when all four things the link uses are there, whatever
// else the driver reports or leaves out; a driver that reports no parameters
// or no rates at all is always let try.
TEST(SerialPortWin32, AcceptsADriverExactlyWhenItCanCarryTheLink) {
  const struct {
    const char* what;
    void (*remove)(COMMPROP&);
  } needs[] = {
      {"4800 baud", [](COMMPROP& p) { p.dwSettableBaud &= ~DWORD{BAUD_4800}; }},
      {"8 data bits", [](COMMPROP& p) { p.wSettableData &= ~WORD{DATABITS_8}; }},
      {"total time-outs", [](COMMPROP& p) { p.dwProvCapabilities &= ~DWORD{PCF_TOTALTIMEOUTS}; }},
      {"interval time-outs", [](COMMPROP& p) { p.dwProvCapabilities &= ~DWORD{PCF_INTTIMEOUTS}; }},
  };
  constexpr unsigned kAll = (1u << std::size(needs)) - 1;
  for (const DWORD params : {DWORD{0}, DWORD{0x3f}, DWORD{0x3f} | SP_RLSD, ~DWORD{0}}) {
    for (unsigned kept = 0; kept <= 2 * kAll + 1; ++kept) {
      COMMPROP prop = WinePort();
      prop.dwSettableParams = params;
      const bool reportsNoRates = kept > kAll;
      if (reportsNoRates) prop.dwSettableBaud = 0;
      std::string missing;
      for (unsigned i = 0; i < std::size(needs); ++i) {
        if ((kept & kAll) & (1u << i)) continue;
        needs[i].remove(prop);
        missing += std::string(" ") + needs[i].what;
      }
      const bool letTry = params == 0 || reportsNoRates || kept == kAll;
      EXPECT_EQ(CanCarryTheLink(prop), letTry) << "params " << params << ", without:" << missing;
    }
  }
}

TEST(SerialPortWin32, PortNumbersAndNamesReachTheDeviceNamespace) {
  const struct {
    int number;
    const char* name;
  } numbers[] = {{1, "COM1"}, {9, "COM9"}, {10, "COM10"}, {12, "COM12"}, {255, "COM255"},
                 {0, "COM1"}, {-4, "COM1"}, {256, "COM1"}, {1000, "COM1"}};
  for (const auto& n : numbers) EXPECT_EQ(PortNameForNumber(n.number), n.name) << n.number;

  const char* const names[][2] = {{"COM3", "\\\\.\\COM3"},  {"com12", "\\\\.\\com12"},    {"CNCA0", "\\\\.\\CNCA0"},
                                   {"\\\\.\\COM4", nullptr}, {"\\\\?\\x", nullptr}, {"C:\\ports\\a", nullptr}};
  // nullptr: a path already, taken as it stands.
  for (const auto& n : names) EXPECT_EQ(DevicePathFor(n[0]), n[1] ? n[1] : n[0]) << n[0];
}

}  // namespace
}  // namespace vrellix
