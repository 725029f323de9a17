// The settings file as tests write and expect it: its section and key names in
// the code page 932 bytes the file holds, typed in by hand rather than taken
// from the program.
#pragma once

#include <fstream>
#include <string>

namespace vrellix::testing {

inline const std::string kSerialSection = "\x83\x56\x83\x8A\x83\x41\x83\x8B\x92\xCA\x90\x4D\x90\xDD\x92\xE8";  // シリアル通信設定
inline const std::string kPortNumberKey = "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x94\xD4\x8D\x86";                 // ｼﾘｱﾙﾎﾟｰﾄ番号
inline const std::string kPortNameKey = "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x96\xBC";                           // ｼﾘｱﾙﾎﾟｰﾄ名
inline const std::string kInfraredSection = "\x90\xD4\x8A\x4F\x90\xFC\x92\xCA\x90\x4D\x90\xDD\x92\xE8";       // 赤外線通信設定
inline const std::string kDelayKey = "\xBA\xCF\xDD\xC4\xDE" "DELAY";                                          // ｺﾏﾝﾄﾞDELAY

inline std::string IniSection(const std::string& name) { return "[" + name + "]\r\n"; }
inline std::string IniEntry(const std::string& key, const std::string& value) { return key + "=" + value + "\r\n"; }

// The file as the program writes it, port number 1, with the port name line
// when portName is not empty.
inline std::string SettingsText(int delayMs, const std::string& portName = {}) {
  return IniSection(kSerialSection) + IniEntry(kPortNumberKey, "1") +
         (portName.empty() ? std::string() : IniEntry(kPortNameKey, portName)) + IniSection(kInfraredSection) +
         IniEntry(kDelayKey, std::to_string(delayMs));
}

// Writes that file at path, naming the port by its device.
inline void WriteSettingsFile(const std::string& path, const std::string& device, int commandDelay = 0) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << SettingsText(commandDelay, device);
}

}  // namespace vrellix::testing
