// A small INI file reader and writer that behaves like the Windows profile
// functions (GetPrivateProfileInt, GetPrivateProfileString,
// WritePrivateProfileString) for what this program needs.
//
// Section and key names are given as code page 932 (Shift-JIS) bytes. They
// are matched without regard to ASCII case, as Windows does; the second byte of
// a two-byte character is never case-folded, so two different kanji never match.
// A line ends at CR LF, LF or a lone CR. A file over 1 MiB, or anything but a
// regular file, is not read (every key reads as missing) and never written.
//
// The file may be code page 932, or UTF-8 or UTF-16 as editors save it (Notepad:
// UTF-8 without or with a byte-order mark, UTF-16 with one); it is written back
// in the encoding it came in, a new file in code page 932. Values are the
// file's own text: code page 932 bytes, or UTF-8 in a Unicode file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fileio/file_replace.h"

namespace vrellix {

enum class IniEncoding { kCodePage932, kUtf8, kUtf8WithBom, kUtf16Le, kUtf16Be };

// A settings file as read.
struct IniFile {
  enum class State { kRead, kMissing, kNotRead } state = State::kMissing;
  FileResult why;  // kNotRead: why
  IniEncoding encoding = IniEncoding::kCodePage932;
  std::string text;  // code page 932, or UTF-8 for the Unicode encodings; no byte-order mark
};

// Reads the file at path. Without a byte-order mark it is UTF-8 when its bytes
// are valid UTF-8 that is not plain ASCII (the program's own section names
// never are), otherwise code page 932.
IniFile ReadIniFile(const std::string& path);

// The value under section/key with surrounding white space (and one pair of
// matching surrounding quotes) removed; nothing when the file, section or key is
// missing.
std::optional<std::string> IniString(const IniFile& file, const std::string& section, const std::string& key);

// The integer under section/key: defaultValue when the file, section or key is
// missing or the value is empty; otherwise the leading decimal digits (after an
// optional sign), 0 when the value does not start with a number, 0 for a
// negative number, and INT_MAX for a number too large to hold.
int IniInt(const IniFile& file, const std::string& section, const std::string& key, int defaultValue);

struct IniValue {
  std::string section;
  std::string key;
  std::string value;
};

// Sets each section/key to its value in file, in order, and replaces the file
// at path with it. Creates the file, the section (at the end of the file) or
// the key (after the section's last line) when missing; every other line keeps
// its bytes and line ending. New lines end with CR LF. The file is written
// once, through a temporary file that replaces it (files lets tests make that
// fail), and only if something changed. Fails when the file was not read (its
// own why), a value for a Unicode file is not UTF-8 (kNotText), or the file
// could not be written; it is then as it was.
FileResult WriteIniValues(const std::string& path, IniFile& file, const std::vector<IniValue>& values,
                    FileOperations& files);

// The same, each reading the file at path first.
int ReadIniInt(const std::string& path, const std::string& section, const std::string& key, int defaultValue);
std::optional<std::string> ReadIniString(const std::string& path, const std::string& section,
                                         const std::string& key);
FileResult WriteIniStrings(const std::string& path, const std::vector<IniValue>& values, FileOperations& files);
FileResult WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

}  // namespace vrellix
