// The parts of the serial port that are the same on every platform: the
// transmitter's port, the order of port names and what a failed open tells the user.
#include <cstddef>
#include <string>

#include "messages/messages.h"
#include "serial/serial_port.h"

namespace vrellix {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Compares the digit runs that start at a[i] and b[j] as numbers and moves
// both past them: -1, 0 or 1.
int CompareNumbers(const std::string& a, std::size_t& i, const std::string& b, std::size_t& j) {
  while (i < a.size() && a[i] == '0') ++i;
  while (j < b.size() && b[j] == '0') ++j;
  const std::size_t startA = i, startB = j;
  while (i < a.size() && IsDigit(a[i])) ++i;
  while (j < b.size() && IsDigit(b[j])) ++j;
  if (i - startA != j - startB) return i - startA < j - startB ? -1 : 1;
  const int digits = a.compare(startA, i - startA, b, startB, j - startB);
  return digits < 0 ? -1 : digits > 0 ? 1 : 0;
}

std::string PresentPorts(const std::vector<SerialPortInfo>& present) {
  std::string list;
  for (const SerialPortInfo& port : present) {
    if (!list.empty()) list += ", ";
    list += port.device;
    if (!port.description.empty()) list += " (" + port.description + ")";
  }
  return list;
}

}  // namespace

std::unique_ptr<SerialChannel> OpenTransmitterPort(const std::string& deviceName, PortFailure* failure) {
  CommHandle handle = nullptr;
  if (OpenComm(&handle, deviceName, kTransmitterBaudRate, kTransmitterDataBits, kNoParity, kOneStopBit, failure) !=
      OpenResult::kOpened) {
    return nullptr;
  }
  return std::make_unique<SerialChannel>(handle);
}

bool PortNameLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const int order = CompareNumbers(a, i, b, j);
      if (order != 0) return order < 0;
      continue;
    }
    if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return j < b.size();
  return a < b;  // "COM01" and "COM1" still have an order
}

std::string PortFailureReason(const PortFailure& failure, const std::vector<SerialPortInfo>& present) {
  const std::string cause = messages::kCause;
  switch (failure.cause) {
    case PortFailureCause::kNone:
      return "";
    case PortFailureCause::kNotFound:
      if (present.empty()) return cause + messages::kNoPortAtAll;
      return cause + messages::PortNotFound(PresentPorts(present));
    case PortFailureCause::kNoPermission:
      if (failure.group.empty()) return cause + messages::kNoPermission;
      return cause + messages::NoPermissionJoinGroup(failure.group);
    case PortFailureCause::kBusy:
      return cause + messages::kPortBusy;
    case PortFailureCause::kNotSerial:
      return cause + messages::kNotSerial;
    case PortFailureCause::kSystemError:
      break;
  }
  return cause + messages::SystemError(SystemErrorText(failure.osError), failure.osError);
}

}  // namespace vrellix
