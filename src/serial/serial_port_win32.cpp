// The serial port on Windows, with the Win32 communications functions:
// synchronous I/O, the line settings of the DCB below, fixed time-outs.
#include "serial/serial_port.h"

#include <windows.h>

#include "serial/serial_port_win32.h"

#include <algorithm>
#include <vector>

#include "serial/line_settings.h"

namespace vrellix {

struct CommPort {
  HANDLE handle;
  int baudRate;
};

namespace {

constexpr DWORD kQueueSize = 1000;
constexpr std::size_t kWritePiece = 512;
constexpr std::size_t kReadPiece = 1024;
constexpr WORD kFirstCommPropLength = 64;

BYTE ParityFor(int parity) {
  if (parity == kEvenParity) return EVENPARITY;
  if (parity == kOddParity) return ODDPARITY;
  return NOPARITY;
}

void FillDcb(DCB& dcb, const LineSettings& line) {
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = static_cast<DWORD>(line.baudRate);
  dcb.fBinary = 1;
  dcb.fParity = 0;
  dcb.fOutxCtsFlow = 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fDsrSensitivity = 0;
  dcb.fTXContinueOnXoff = 1;
  dcb.fOutX = 0;
  dcb.fInX = 0;
  dcb.fErrorChar = 0;
  dcb.fNull = 0;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fAbortOnError = 0;
  dcb.XonLim = 100;
  dcb.XoffLim = 200;
  dcb.ByteSize = static_cast<BYTE>(line.dataBits);
  dcb.Parity = ParityFor(line.parity);
  dcb.StopBits = line.stopBits == kTwoStopBits ? TWOSTOPBITS : ONESTOPBIT;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.ErrorChar = 0x00;
  dcb.EvtChar = 0x0A;
  dcb.wReserved = 0;
  dcb.wReserved1 = 0;
  // EofChar keeps what the driver reported.
}

void FillTimeouts(COMMTIMEOUTS& timeouts) {
  timeouts.ReadIntervalTimeout = 0xFFFF;  // not MAXDWORD, which would return at once
  timeouts.ReadTotalTimeoutMultiplier = kReadTimeout.msPerByte;
  timeouts.ReadTotalTimeoutConstant = kReadTimeout.constantMs;
  timeouts.WriteTotalTimeoutMultiplier = kWriteTimeout.msPerByte;
  timeouts.WriteTotalTimeoutConstant = kWriteTimeout.constantMs;
}

// The driver's properties, asked for twice: the first answer says how long the
// provider's full record is. All zero when the driver does not answer, which
// CanCarryTheLink takes as a driver that reports nothing.
std::vector<DWORD> ReadCommProperties(HANDLE handle) {
  std::vector<DWORD> first(kFirstCommPropLength / sizeof(DWORD) + 1, 0);
  auto* prop = reinterpret_cast<COMMPROP*>(first.data());
  prop->wPacketLength = kFirstCommPropLength;
  if (!GetCommProperties(handle, prop)) return std::vector<DWORD>(first.size(), 0);

  const WORD length = std::max<WORD>(prop->wPacketLength, kFirstCommPropLength);
  std::vector<DWORD> full(length / sizeof(DWORD) + 1, 0);
  auto* fullProp = reinterpret_cast<COMMPROP*>(full.data());
  fullProp->wPacketLength = length;
  if (!GetCommProperties(handle, fullProp)) return first;
  return full;
}

bool Configure(HANDLE handle, const LineSettings& line) {
  SetupComm(handle, kQueueSize, kQueueSize);
  const std::vector<DWORD> propBuffer = ReadCommProperties(handle);
  const auto& prop = *reinterpret_cast<const COMMPROP*>(propBuffer.data());

  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  if (!GetCommState(handle, &dcb) || !CanCarryTheLink(prop)) return false;
  FillDcb(dcb, line);
  if (!SetCommState(handle, &dcb)) return false;

  COMMTIMEOUTS timeouts{};
  if (!GetCommTimeouts(handle, &timeouts)) return false;
  FillTimeouts(timeouts);
  return SetCommTimeouts(handle, &timeouts) != 0;
}

// Waits until the driver has finished taking bytes into its queue. A failing
// ClearCommError (a port that went away) ends the wait as a failure instead of
// looping on whatever COMSTAT holds.
bool WaitTransmitImmediateClear(HANDLE handle) {
  for (;;) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle, &errors, &status)) return false;
    if (!status.fTxim) return true;
  }
}

// Milliseconds the line needs for count bytes (start, data, parity and stop
// bits), doubled, plus half a second: past that the queue is not draining.
DWORD DrainAllowanceMs(std::size_t count, int baudRate) {
  const unsigned long long bitsPerByte = 12;
  const unsigned long long lineMs = count * bitsPerByte * 1000 / static_cast<unsigned>(baudRate);
  return static_cast<DWORD>(std::min<unsigned long long>(2 * lineMs + 500, 0x7FFFFFFF));
}

bool WaitOutputQueueEmpty(HANDLE handle, std::size_t count, int baudRate) {
  const ULONGLONG deadline = GetTickCount64() + DrainAllowanceMs(count, baudRate);
  for (;;) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle, &errors, &status)) return false;
    if (status.cbOutQue == 0) return true;
    if (GetTickCount64() > deadline) return false;
    // A short sleep between polls: the queue empties at line speed, and a bare
    // polling loop would keep a core busy for the whole time. A job runs with a
    // fine timer (timing/timer_resolution.h), so this is a millisecond, not a
    // 15.6 ms tick.
    Sleep(1);
  }
}

PortFailureCause CauseOfOpenError(DWORD error, const std::string& path) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return PortFailureCause::kNotFound;
    case ERROR_ACCESS_DENIED: {
      // What Windows says for a COM port that is in use, and for a folder.
      const DWORD attributes = GetFileAttributesA(path.c_str());
      const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      return folder ? PortFailureCause::kNotSerial : PortFailureCause::kBusy;
    }
    case ERROR_SHARING_VIOLATION:
      return PortFailureCause::kBusy;
    default:
      return PortFailureCause::kSystemError;
  }
}

}  // namespace

std::string DevicePathFor(const std::string& name) {
  // A path of its own ("\\.\COM3", "\\?\...", "C:\dev") is taken as written.
  if (name.find_first_of("\\/:") != std::string::npos) return name;
  return "\\\\.\\" + name;
}

bool CanCarryTheLink(const COMMPROP& prop) {
  // Some virtual and Bluetooth drivers report nothing; only SetCommState can tell.
  if (prop.dwSettableParams == 0 || prop.dwSettableBaud == 0) return true;
  // BAUD_4800 is required whatever rate is asked for.
  return (prop.dwSettableBaud & BAUD_4800) != 0 && (prop.wSettableData & DATABITS_8) != 0 &&
         (prop.dwProvCapabilities & PCF_TOTALTIMEOUTS) != 0 && (prop.dwProvCapabilities & PCF_INTTIMEOUTS) != 0;
}

bool PortNumberNamesAPort(int portNo) { return portNo >= 1 && portNo <= kHighestComNumber; }

std::string PortNameForNumber(int portNo) {
  return "COM" + std::to_string(PortNumberNamesAPort(portNo) ? portNo : 1);
}

OpenResult OpenComm(CommHandle* handle, const std::string& deviceName, int baudRate, int dataBits,
                    int parity, int stopBits, PortFailure* failure) {
  *handle = nullptr;
  if (failure) *failure = PortFailure{};
  const std::string path = DevicePathFor(deviceName);
  HANDLE device = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (failure) *failure = PortFailure{CauseOfOpenError(error, path), static_cast<int>(error), ""};
    return OpenResult::kFailed;
  }

  const LineSettings line = MapLineSettings(baudRate, dataBits, parity, stopBits);
  if (!Configure(device, line)) {
    // A device that cannot take the line settings or lacks the capabilities
    // needed is no serial line for this program.
    if (failure) *failure = PortFailure{PortFailureCause::kNotSerial, static_cast<int>(GetLastError()), ""};
    CloseHandle(device);
    return OpenResult::kFailed;
  }
  PurgeComm(device, PURGE_RXCLEAR);
  PurgeComm(device, PURGE_TXCLEAR);
  *handle = new CommPort{device, line.baudRate};
  return OpenResult::kOpened;
}

void CloseComm(CommHandle handle) {
  if (!handle) return;
  PurgeComm(handle->handle, PURGE_RXCLEAR);
  PurgeComm(handle->handle, PURGE_TXCLEAR);
  CloseHandle(handle->handle);
  delete handle;
}

CommResult WriteComm(CommHandle handle, const std::uint8_t* data, std::size_t count) {
  if (!handle) return CommResult::kNoPort;
  for (std::size_t offset = 0; offset < count; offset += kWritePiece) {
    const DWORD piece = static_cast<DWORD>(std::min(kWritePiece, count - offset));
    if (!WaitTransmitImmediateClear(handle->handle)) return CommResult::kFailed;
    DWORD written = 0;
    if (!WriteFile(handle->handle, data + offset, piece, &written, nullptr) || written != piece) {
      return CommResult::kFailed;
    }
    if (!WaitTransmitImmediateClear(handle->handle)) return CommResult::kFailed;
  }
  return WaitOutputQueueEmpty(handle->handle, count, handle->baudRate) ? CommResult::kOk : CommResult::kFailed;
}

CommResult ReadComm(CommHandle handle, std::uint8_t* buffer, std::size_t count) {
  if (!handle) return CommResult::kNoPort;
  for (std::size_t offset = 0; offset < count; offset += kReadPiece) {
    const DWORD piece = static_cast<DWORD>(std::min(kReadPiece, count - offset));
    DWORD errors = 0;
    COMSTAT status{};
    ClearCommError(handle->handle, &errors, &status);  // also clears a pending line error
    DWORD received = 0;
    if (!ReadFile(handle->handle, buffer + offset, piece, &received, nullptr) || received != piece) {
      return CommResult::kFailed;
    }
  }
  return CommResult::kOk;
}

void PurgeCommInput(CommHandle handle) {
  if (!handle) return;
  PurgeComm(handle->handle, PURGE_RXCLEAR);
}

CommResult ReadCommWaiting(CommHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t* received) {
  *received = 0;
  if (!handle) return CommResult::kNoPort;
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(handle->handle, &errors, &status)) return CommResult::kFailed;
  // Exactly what the driver holds, so the read finds every byte there and never waits.
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, capacity));
  if (wanted == 0) return CommResult::kOk;
  DWORD got = 0;
  const BOOL read = ReadFile(handle->handle, buffer, wanted, &got, nullptr);
  *received = read ? got : 0;
  return read && got == wanted ? CommResult::kOk : CommResult::kFailed;
}

}  // namespace vrellix
