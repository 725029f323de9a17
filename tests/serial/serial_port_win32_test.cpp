// Which drivers the Windows port open accepts.
#include <gtest/gtest.h>

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
// else the driver reports or leaves out.
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
    for (unsigned kept = 0; kept <= kAll; ++kept) {
      COMMPROP prop = WinePort();
      prop.dwSettableParams = params;
      std::string missing;
      for (unsigned i = 0; i < std::size(needs); ++i) {
        if (kept & (1u << i)) continue;
        needs[i].remove(prop);
        missing += std::string(" ") + needs[i].what;
      }
      EXPECT_EQ(CanCarryTheLink(prop), kept == kAll) << "params " << params << ", without:" << missing;
    }
  }
}

}  // namespace
}  // namespace vrellix
