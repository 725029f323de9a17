#include "serial/line_settings.h"

#include "serial/serial_port.h"

namespace vrellix {

namespace {

const int kSupportedBaudRates[] = {
    1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200,
};

constexpr int kFallbackBaudRate = 9600;

}  // namespace

int EffectiveBaudRate(int baudRate) {
  for (int rate : kSupportedBaudRates) {
    if (rate == baudRate) return rate;
  }
  return kFallbackBaudRate;
}

int EffectiveDataBits(int dataBits) { return dataBits == 7 ? 7 : 8; }

int EffectiveParity(int parity) {
  return parity == kEvenParity || parity == kOddParity ? parity : kNoParity;
}

int EffectiveStopBits(int stopBits) { return stopBits == kTwoStopBits ? kTwoStopBits : kOneStopBit; }

LineSettings MapLineSettings(int baudRate, int dataBits, int parity, int stopBits) {
  return {EffectiveBaudRate(baudRate), EffectiveDataBits(dataBits), EffectiveParity(parity),
          EffectiveStopBits(stopBits)};
}

}  // namespace vrellix
