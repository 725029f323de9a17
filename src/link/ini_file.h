// A small INI file reader and writer that behaves like the Windows profile
// functions (GetPrivateProfileInt, GetPrivateProfileString,
// WritePrivateProfileString) for what this program needs.
//
// Section and key names are byte strings in code page 932 (Shift-JIS). They
// are matched without regard to ASCII case, as Windows does; the second byte of
// a two-byte character is never case-folded, so two different kanji never match.
#pragma once

#include <optional>
#include <string>

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

// Sets section/key to value. Creates the file, the section (at the end of the
// file) or the key (after the section's last line) when missing; every other
// line keeps its bytes and line ending. New lines end with CR LF. Returns false
// when the file could not be read or written; a file that exists but cannot be
// read is never overwritten.
bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

}  // namespace vrellix
