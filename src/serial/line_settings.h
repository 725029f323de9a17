// How OpenComm's numeric arguments map onto the line settings it applies. Shared
// by every platform's serial backend, so each one takes the same values.
#pragma once

namespace vrellix {

struct LineSettings {
  int baudRate;  // one of the supported rates
  int dataBits;  // 7 or 8
  int parity;    // kNoParity, kEvenParity or kOddParity
  int stopBits;  // kOneStopBit or kTwoStopBits
};

// 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600 and 115200 are kept;
// any other rate gives 9600.
int EffectiveBaudRate(int baudRate);
// 7 is kept; anything else gives 8.
int EffectiveDataBits(int dataBits);
// 1 is even parity, 2 odd; anything else gives no parity.
int EffectiveParity(int parity);
// 2 is two stop bits; anything else gives one.
int EffectiveStopBits(int stopBits);

LineSettings MapLineSettings(int baudRate, int dataBits, int parity, int stopBits);

}  // namespace vrellix
