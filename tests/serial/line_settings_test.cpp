#include "serial/line_settings.h"

#include <gtest/gtest.h>

#include "serial/serial_port.h"

namespace vrellix {
namespace {

TEST(LineSettings, BaudRatesOutsideTheListBecome9600) {
  const struct {
    int asked, taken;
  } cases[] = {
      {1200, 1200},   {2400, 2400},   {4800, 4800}, {9600, 9600}, {14400, 14400},
      {19200, 19200}, {38400, 38400}, {57600, 57600}, {115200, 115200},
      {0, 9600},      {300, 9600},    {4801, 9600}, {230400, 9600}, {-4800, 9600},
  };
  for (const auto& c : cases) EXPECT_EQ(EffectiveBaudRate(c.asked), c.taken) << c.asked;
}

TEST(LineSettings, DataBitsParityAndStopBits) {
  const struct {
    int asked, dataBits, parity, stopBits;
  } cases[] = {
      // asked  bits  parity         stop
      {7,       7,    kNoParity,     kOneStopBit},
      {8,       8,    kNoParity,     kOneStopBit},
      {1,       8,    kEvenParity,   kOneStopBit},
      {2,       8,    kOddParity,    kTwoStopBits},
      {0,       8,    kNoParity,     kOneStopBit},
      {3,       8,    kNoParity,     kOneStopBit},
      {-1,      8,    kNoParity,     kOneStopBit},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EffectiveDataBits(c.asked), c.dataBits) << c.asked;
    EXPECT_EQ(EffectiveParity(c.asked), c.parity) << c.asked;
    EXPECT_EQ(EffectiveStopBits(c.asked), c.stopBits) << c.asked;
  }
}

}  // namespace
}  // namespace vrellix
