// The serial port to the infrared transmitter. One implementation per platform
// (serial_port_posix.cpp, serial_port_win32.cpp) behind this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/byte_channel.h"

namespace vrellix {

struct CommPort;                // platform state of an open port
using CommHandle = CommPort*;   // nullptr: no port

constexpr int kNoParity = 0;
constexpr int kEvenParity = 1;
constexpr int kOddParity = 2;
constexpr int kOneStopBit = 1;
constexpr int kTwoStopBits = 2;

// "COM1".."COM9" (Windows) or "/dev/ttyS0".."/dev/ttyS8" for 1..9; the first
// port for any other number.
std::string PortNameForNumber(int portNo);

// What the port-failure message names for a port number: "COM<number>" with the
// number as configured on Windows (also when it is out of range and COM1 was
// tried), the device path that was tried elsewhere.
std::string PortNumberLabel(int portNo);

// Opens and configures the device (raw, no flow control, DTR/RTS dropped,
// exclusive). Returns 1 and sets *handle, or 0 leaving *handle nullptr.
int OpenComm(CommHandle* handle, const std::string& deviceName, int baudRate, int dataBits,
             int parity, int stopBits);
// Purges both directions and closes. Does nothing for nullptr.
void CloseComm(CommHandle handle);
// COMM_OK once every byte has been written and drained; COMM_NO_PORT; COMM_FAILED.
int WriteComm(CommHandle handle, const std::uint8_t* data, std::size_t count);
// COMM_OK when exactly count bytes arrived within 50 ms per byte + 500 ms.
int ReadComm(CommHandle handle, std::uint8_t* buffer, std::size_t count);
// Discards received bytes not yet read.
void PurgeCommInput(CommHandle handle);
// Takes up to capacity received bytes not yet read, without waiting: COMM_OK
// with *received set (0 when none), COMM_NO_PORT or COMM_FAILED.
int ReadCommWaiting(CommHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t* received);

// The open port as the byte channel that PutCommand uses.
class SerialChannel final : public ByteChannel {
 public:
  explicit SerialChannel(CommHandle handle) : m_handle(handle) {}
  int Write(const std::uint8_t* data, std::size_t count) override { return WriteComm(m_handle, data, count); }
  int Read(std::uint8_t* buffer, std::size_t count) override { return ReadComm(m_handle, buffer, count); }
  void PurgeInput() override { PurgeCommInput(m_handle); }
  int TakeWaiting(std::uint8_t* buffer, std::size_t capacity, std::size_t* taken) override {
    return ReadCommWaiting(m_handle, buffer, capacity, taken);
  }

 private:
  CommHandle m_handle;
};

}  // namespace vrellix
