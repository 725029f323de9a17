// The settings file "rzt_input.ini": in the current directory, or per user
// for the installed Windows program (fileio/user_folders.h).
#pragma once

#include <string>

#include "fileio/file_replace.h"
#include "fileio/file_result.h"

namespace vrellix {

constexpr int kDefaultPortNo = 1;
constexpr int kDefaultCommandDelay = 100;
// The longest command delay (ms) anywhere: the settings file, --delay and the
// 通信設定 dialog. scripts/make-dialogs.py reads it from here.
constexpr int kMaxCommandDelayMs = 10000;

struct LinkSettings {
  int m_nPortNo = kDefaultPortNo;
  int m_nCommandDelay = kDefaultCommandDelay;
  std::string m_strPortName;  // optional device name or path; wins over the number
};

// SettingsFolder() followed by the file name (UTF-8).
std::string SettingsPath();

// What became of the settings file.
struct SettingsLoad {
  enum class Outcome {
    kDone,
    kNotRead,     // it is there but could not be read: the defaults apply, it was not written
    kNotWritten,  // the write-back failed: the file is as it was
  } outcome = Outcome::kDone;
  FileResult why;  // why it was not read or not written
};

// Reads both values (defaults where missing) into settings and writes them back
// at once, in one replace of the file, so a missing file is created holding the
// defaults. A file that cannot be read is not written. settings hold the values
// read whatever the outcome.
SettingsLoad LoadIniSettings(const std::string& path, LinkSettings& settings);
// The same, writing through files (tests make writes fail with it).
SettingsLoad LoadIniSettings(const std::string& path, LinkSettings& settings, FileOperations& files);

// The warning for a load that did not go as it should (UTF-8), naming the
// file; empty for kDone.
std::string SettingsLoadWarning(const std::string& path, const SettingsLoad& load);

// Writes the device name and the command delay that the user chose in the
// 通信設定 dialog, leaving the rest of the file as it is. The only writer of
// the device name. When it fails, the file is as it was.
FileResult SavePortSettings(const std::string& path, const LinkSettings& settings);

// The warning for a failed write-back (UTF-8), naming the file.
std::string SettingsWriteFailureMessage(const std::string& path);

// Reads without creating or writing anything (for previews); *load, when
// given, tells whether the file could be read.
LinkSettings ReadIniSettings(const std::string& path, SettingsLoad* load = nullptr);

// The device the settings name: m_strPortName when set, else the port number's device.
std::string PortDeviceName(const LinkSettings& settings);

// The warning for a port number that names no port (UTF-8), naming the number
// and the port used instead; empty when the number is used as it stands or a
// device name is set.
std::string PortNumberWarning(const LinkSettings& settings);

struct PortFailure;  // serial/serial_port.h

// The start-up message for a port that could not be opened (UTF-8), naming the
// device that was tried, with a last line that says why (PortFailureReason;
// the ports present are looked up when the device was not found).
std::string PortFailureMessage(const LinkSettings& settings, const PortFailure& failure);

}  // namespace vrellix
