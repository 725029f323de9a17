// The serial port to the infrared transmitter. One implementation per platform
// (serial_port_posix.cpp, serial_port_win32.cpp) behind this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fileio/system_error.h"  // SystemErrorText, for the port failure's cause
#include "keys/byte_channel.h"

namespace vrellix {

struct CommPort;                // platform state of an open port
using CommHandle = CommPort*;   // nullptr: no port

constexpr int kNoParity = 0;
constexpr int kEvenParity = 1;
constexpr int kOddParity = 2;
constexpr int kOneStopBit = 1;
constexpr int kTwoStopBits = 2;

// The transmitter's line: 4800 baud, 8 data bits, no parity, one stop bit.
constexpr int kTransmitterBaudRate = 4800;
constexpr int kTransmitterDataBits = 8;

// Whether a port number names a port of its own: 1-255 (COM1-COM255) on
// Windows, 1-9 (/dev/ttyS0-/dev/ttyS8) elsewhere.
bool PortNumberNamesAPort(int portNo);

// The device a port number names: "COM12" on Windows, "/dev/ttyS0" for 1
// elsewhere; the first port for a number that names none.
std::string PortNameForNumber(int portNo);

// Why a port did not open; the same causes on every platform.
enum class PortFailureCause {
  kNone,
  kNotFound,      // no device of that name (or a device node with no port behind it)
  kNoPermission,  // the device is there but this user may not open it
  kBusy,          // another program holds the port
  kNotSerial,     // the name exists but is no serial line, or the line refuses the settings
  kSystemError,   // anything else; osError says what
};

struct PortFailure {
  PortFailureCause cause = PortFailureCause::kNone;
  int osError = 0;    // errno or GetLastError() behind the cause; 0 when there was none
  std::string group;  // kNoPermission: the group whose members may use the device, if any
};

struct SerialPortInfo {
  std::string device;       // the name OpenComm takes: "/dev/ttyUSB0", "COM3"
  std::string description;  // the system's name for it (by-id link, driver device); may be empty
};

// One line (UTF-8, no line break) saying why the port did not open and what to
// do about it; for kNotFound it lists the ports that are present. Empty for
// kNone.
std::string PortFailureReason(const PortFailure& failure, const std::vector<SerialPortInfo>& present);

// The serial ports present, in the order people count them (COM2 before COM10).
// Linux: /dev/serial/by-id links (with their names), /dev/ttyUSB*, /dev/ttyACM*
// and the /dev/ttyS* that have a port behind them; macOS: /dev/cu.*; Windows:
// the registry's SERIALCOMM map. A ttyS device is judged by the kernel's record of its port
// without opening it where sysfs has one; else it is opened without blocking,
// asked, and closed, its settings untouched.
std::vector<SerialPortInfo> ListSerialPorts();

// Whether a sorts before b, with runs of digits compared as numbers.
bool PortNameLess(const std::string& a, const std::string& b);

enum class OpenResult : int {
  kFailed = 0,
  kOpened = 1,
};

// Opens and configures the device (raw, no flow control, DTR/RTS dropped,
// exclusive). kOpened with *handle set, or kFailed leaving *handle nullptr and,
// when failure is given, saying why. A port that another program holds is left
// as that program has it: a refused open never changes its lock.
OpenResult OpenComm(CommHandle* handle, const std::string& deviceName, int baudRate, int dataBits,
                    int parity, int stopBits, PortFailure* failure = nullptr);
// Purges both directions and closes. Does nothing for nullptr.
void CloseComm(CommHandle handle);
// kOk once every byte has been written and drained; kNoPort; kFailed.
CommResult WriteComm(CommHandle handle, const std::uint8_t* data, std::size_t count);
// kOk when exactly count bytes arrived within 50 ms per byte + 500 ms.
CommResult ReadComm(CommHandle handle, std::uint8_t* buffer, std::size_t count);
// Discards received bytes not yet read.
void PurgeCommInput(CommHandle handle);
// Takes up to capacity received bytes not yet read, without waiting: kOk with
// *received set (0 when none), kNoPort or kFailed.
CommResult ReadCommWaiting(CommHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t* received);

// The open port as the byte channel that PutCommand uses. Owns the port and
// closes it, once, when it goes.
class SerialChannel final : public ByteChannel {
 public:
  explicit SerialChannel(CommHandle handle) : m_handle(handle) {}
  ~SerialChannel() override { CloseComm(m_handle); }
  SerialChannel(const SerialChannel&) = delete;
  SerialChannel& operator=(const SerialChannel&) = delete;

  CommHandle Handle() const { return m_handle; }

  CommResult Write(const std::uint8_t* data, std::size_t count) override { return WriteComm(m_handle, data, count); }
  CommResult Read(std::uint8_t* buffer, std::size_t count) override { return ReadComm(m_handle, buffer, count); }
  void PurgeInput() override { PurgeCommInput(m_handle); }
  CommResult TakeWaiting(std::uint8_t* buffer, std::size_t capacity, std::size_t* taken) override {
    return ReadCommWaiting(m_handle, buffer, capacity, taken);
  }

 private:
  CommHandle m_handle;
};

// Opens the device with the transmitter's line settings. Nothing when it cannot
// be opened; failure, when given, says why.
std::unique_ptr<SerialChannel> OpenTransmitterPort(const std::string& deviceName, PortFailure* failure = nullptr);

}  // namespace vrellix
