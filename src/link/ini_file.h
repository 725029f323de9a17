// A small INI file reader and writer that behaves like the Windows profile
// functions (GetPrivateProfileInt, GetPrivateProfileString,
// WritePrivateProfileString) for what this program needs.
//
// Section and key names are byte strings in code page 932 (Shift-JIS). They
// are matched without regard to ASCII case, as Windows does; the second byte of
// a two-byte character is never case-folded, so two different kanji never match.
// A line ends at CR LF, LF or a lone CR. A file over 1 MiB, or anything but a
// regular file, is not read (every key reads as missing) and never written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fileio/file_replace.h"

namespace vrellix {

// The integer under section/key: defaultValue when the file, section or key is
// missing or the value is empty; otherwise the leading decimal digits (after an
// optional sign), 0 when the value does not start with a number, 0 for a
// negative number, and INT_MAX for a number too large to hold.
int ReadIniInt(const std::string& path, const std::string& section, const std::string& key,
               int defaultValue);

// The value under section/key with surrounding white space (and one pair of
// matching surrounding quotes) removed; nothing when the file, section or key is
// missing.
std::optional<std::string> ReadIniString(const std::string& path, const std::string& section,
                                         const std::string& key);

struct IniValue {
  std::string section;
  std::string key;
  std::string value;
};

// Sets each section/key to its value, in order. Creates the file, the section
// (at the end of the file) or the key (after the section's last line) when
// missing; every other line keeps its bytes and line ending. New lines end with
// CR LF. The file is written once, through a temporary file that replaces it
// (files lets tests make that fail), and only if something changed. Returns
// false when the file could not be read or written; the file is then as it was.
bool WriteIniStrings(const std::string& path, const std::vector<IniValue>& values, FileOperations& files);

// WriteIniStrings for one value.
bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

}  // namespace vrellix
