#include "settings/link_settings.h"

#include <algorithm>
#include <filesystem>

#include "fileio/user_folders.h"
#include "messages/messages.h"
#include "serial/serial_port.h"
#include "settings/ini_file.h"

namespace vrellix {

namespace {

const char kSettingsFileName[] = "rzt_input.ini";

// Section and key names are Shift-JIS bytes, as the file has always held them.
// "シリアル通信設定"
const char kSerialSection[] = "\x83\x56\x83\x8A\x83\x41\x83\x8B\x92\xCA\x90\x4D\x90\xDD\x92\xE8";
// "ｼﾘｱﾙﾎﾟｰﾄ番号"
const char kPortNoKey[] = "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x94\xD4\x8D\x86";
// "ｼﾘｱﾙﾎﾟｰﾄ名"
const char kPortNameKey[] = "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x96\xBC";
// "赤外線通信設定"
const char kInfraredSection[] = "\x90\xD4\x8A\x4F\x90\xFC\x92\xCA\x90\x4D\x90\xDD\x92\xE8";
// "ｺﾏﾝﾄﾞDELAY"
const char kCommandDelayKey[] = "\xBA\xCF\xDD\xC4\xDE" "DELAY";

}  // namespace

std::string SettingsPath() {
  // No length limit: the path is whatever the folder's is. Should the folder's
  // name be unobtainable, the bare file name refers to the current directory.
  const std::string directory = SettingsFolder();
  if (directory.empty()) return kSettingsFileName;
  try {
    return (std::filesystem::u8path(directory) / kSettingsFileName).u8string();
  } catch (const std::exception&) {
    return kSettingsFileName;  // a name that is not valid Unicode
  }
}

namespace {

LinkSettings SettingsIn(const IniFile& file) {
  LinkSettings settings;
  settings.m_nPortNo = IniInt(file, kSerialSection, kPortNoKey, kDefaultPortNo);
  // A longer delay is held to the limit, which the write-back then records.
  settings.m_nCommandDelay =
      std::min(IniInt(file, kInfraredSection, kCommandDelayKey, kDefaultCommandDelay), kMaxCommandDelayMs);
  settings.m_strPortName = IniString(file, kSerialSection, kPortNameKey).value_or("");
  return settings;
}

SettingsLoad NotRead(const IniFile& file) { return SettingsLoad{SettingsLoad::Outcome::kNotRead, file.why}; }

}  // namespace

LinkSettings ReadIniSettings(const std::string& path, SettingsLoad* load) {
  const IniFile file = ReadIniFile(path);
  if (load) *load = file.state == IniFile::State::kNotRead ? NotRead(file) : SettingsLoad{};
  return SettingsIn(file);
}

SettingsLoad LoadIniSettings(const std::string& path, LinkSettings& settings, FileOperations& files) {
  IniFile file = ReadIniFile(path);
  settings = SettingsIn(file);
  // A file that could not be read is left as it is, whatever it holds.
  if (file.state == IniFile::State::kNotRead) return NotRead(file);
  // Written back at once, port first, so a missing file is created holding both
  // defaults.
  const FileResult written =
      WriteIniValues(path, file,
                     {IniValue{kSerialSection, kPortNoKey, std::to_string(settings.m_nPortNo)},
                      IniValue{kInfraredSection, kCommandDelayKey, std::to_string(settings.m_nCommandDelay)}},
                     files);
  return written.Ok() ? SettingsLoad{} : SettingsLoad{SettingsLoad::Outcome::kNotWritten, written};
}

SettingsLoad LoadIniSettings(const std::string& path, LinkSettings& settings) {
  FileOperations files;
  return LoadIniSettings(path, settings, files);
}

std::string SettingsLoadWarning(const std::string& path, const SettingsLoad& load) {
  switch (load.outcome) {
    case SettingsLoad::Outcome::kDone: break;
    case SettingsLoad::Outcome::kNotRead: return messages::SettingsNotRead(path, FileFailureReason(load.why));
    case SettingsLoad::Outcome::kNotWritten: return messages::SettingsWriteFailed(path);
  }
  return std::string();
}

FileResult SavePortSettings(const std::string& path, const LinkSettings& settings) {
  FileOperations files;
  return WriteIniStrings(path,
                         {IniValue{kSerialSection, kPortNameKey, settings.m_strPortName},
                          IniValue{kInfraredSection, kCommandDelayKey, std::to_string(settings.m_nCommandDelay)}},
                         files);
}

std::string SettingsWriteFailureMessage(const std::string& path) { return messages::SettingsWriteFailed(path); }

std::string PortDeviceName(const LinkSettings& settings) {
  return settings.m_strPortName.empty() ? PortNameForNumber(settings.m_nPortNo) : settings.m_strPortName;
}

std::string PortNumberWarning(const LinkSettings& settings) {
  if (!settings.m_strPortName.empty() || PortNumberNamesAPort(settings.m_nPortNo)) return std::string();
  return messages::PortNumberNamesNoPort(settings.m_nPortNo, PortNameForNumber(settings.m_nPortNo));
}

std::string PortFailureMessage(const LinkSettings& settings, const PortFailure& failure) {
  std::string message = messages::PortOpenFailed(PortDeviceName(settings));
  const std::vector<SerialPortInfo> present =
      failure.cause == PortFailureCause::kNotFound ? ListSerialPorts() : std::vector<SerialPortInfo>{};
  const std::string reason = PortFailureReason(failure, present);
  if (!reason.empty()) message += "\n" + reason;
  return message;
}

}  // namespace vrellix
