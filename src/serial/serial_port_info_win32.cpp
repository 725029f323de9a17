// What Windows says about its serial ports: which are present (the registry's
// map of serial devices to COM names) and what the Device Manager calls them.
#include <windows.h>
// after windows.h, whose types it uses
#include <setupapi.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "serial/serial_port.h"
#include "text/wide_text.h"

namespace vrellix {

namespace {

// The Device Manager's "Ports (COM & LPT)" class (GUID_DEVCLASS_PORTS).
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

std::wstring PortNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
  const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
  if (key == INVALID_HANDLE_VALUE) return std::wstring();
  wchar_t name[256] = {};
  DWORD bytes = sizeof(name) - sizeof(wchar_t);  // room for a terminator the value may lack
  DWORD type = 0;
  const LONG result = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &bytes);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_SZ ? std::wstring(name) : std::wstring();
}

// COM name → the device's friendly name ("USB Serial Port (COM3)"), for the
// ports present that have one.
std::map<std::wstring, std::wstring> FriendlyNames() {
  std::map<std::wstring, std::wstring> names;
  const HDEVINFO devices = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) return names;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    wchar_t friendly[256] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, &type,
                                           reinterpret_cast<BYTE*>(friendly), sizeof(friendly) - sizeof(wchar_t),
                                           nullptr) ||
        type != REG_SZ || friendly[0] == L'\0') {
      continue;
    }
    const std::wstring portName = PortNameOf(devices, device);
    if (!portName.empty()) names[portName] = friendly;
  }
  SetupDiDestroyDeviceInfoList(devices);
  return names;
}

}  // namespace

std::vector<SerialPortInfo> ListSerialPorts() {
  std::vector<SerialPortInfo> ports;
  const std::map<std::wstring, std::wstring> friendlyNames = FriendlyNames();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return ports;  // no serial driver has registered a port
  }
  // Each value is named after the driver's device ("\Device\Serial0") and holds
  // the COM name.
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = static_cast<DWORD>(std::size(name));
    wchar_t data[256] = {};
    DWORD dataBytes = sizeof(data) - sizeof(wchar_t);  // room for a terminator the value may lack
    DWORD type = 0;
    const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &dataBytes);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    // The driver's device name ("\Device\Serial0") where the Device Manager has no name for the port.
    const auto friendly = friendlyNames.find(data);
    ports.push_back(
        {Utf8FromWide(data), Utf8FromWide(friendly != friendlyNames.end() ? friendly->second : std::wstring(name, nameLength))});
  }
  RegCloseKey(key);
  std::sort(ports.begin(), ports.end(),
            [](const SerialPortInfo& a, const SerialPortInfo& b) { return PortNameLess(a.device, b.device); });
  return ports;
}

}  // namespace vrellix
