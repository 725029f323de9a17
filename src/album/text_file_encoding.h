// Which encoding an album text file (CSV album, CUE sheet) is written in.
#pragma once

#include <cstddef>
#include <string_view>

namespace vrellix {

// What the file is: the program's own album files are code page 932 and must
// always load back; CUE sheets come from other programs, which far more often
// write UTF-8, and may hold texts that code page 932 cannot (the Start checks
// name those).
enum class TextFileKind { kAlbum, kCueSheet };

// True when the file's bytes are to be read as UTF-8, false for code page 932.
// With a byte-order mark UTF-8; otherwise the one of the two that the bytes are
// valid in. When they are valid in both, each reading is scored by the
// characters that are odd in a Japanese album: as code page 932, each two-byte
// character of the second kanji level, the extension rows or the user-defined
// area (lead bytes 87, E0-FC), which is what UTF-8 Japanese reads as; as UTF-8,
// each character from U+0080 to U+07FF (accented Latin, Greek, Cyrillic) but
// the signs that code page 932 holds among its symbols (× ÷ ° ± § ¨ ´ ¶),
// which is what code page 932 half-width kana pairs read as (ﾐｷ is D0 B7, з).
// The lower score wins; on a tie an album is code page 932 and a CUE sheet
// UTF-8. An album whose UTF-8 reading code page 932 cannot hold is code page
// 932: it could not load otherwise. Beyond maxComparedBytes non-ASCII bytes,
// which no loadable file holds, bytes valid in both are read as UTF-8 without
// the comparison.
bool ReadsAsUtf8(std::string_view bytes, size_t maxComparedBytes, TextFileKind kind = TextFileKind::kAlbum);

}  // namespace vrellix
