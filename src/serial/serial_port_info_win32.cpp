// What Windows says about its serial ports: which are present (the registry's
// map of serial devices to COM names) and the text of its error codes.
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "serial/serial_port.h"
#include "text/wide_text.h"

namespace vrellix {

std::vector<SerialPortInfo> ListSerialPorts() {
  std::vector<SerialPortInfo> ports;
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
    ports.push_back({Utf8FromWide(data), Utf8FromWide({name, nameLength})});
  }
  RegCloseKey(key);
  std::sort(ports.begin(), ports.end(),
            [](const SerialPortInfo& a, const SerialPortInfo& b) { return PortNameLess(a.device, b.device); });
  return ports;
}

}  // namespace vrellix
