// Which encoding an album text file (CSV album, CUE sheet) is written in.
#pragma once

#include <cstddef>
#include <string_view>

namespace vrellix {

// How many characters of a code page 932 text the device cannot enter (the
// entry checks know; the files do not).
using UnenterableCount = size_t (*)(std::string_view cp932);

// The UTF-8 byte-order mark, which a file may begin with.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Which reading wins when both leave the device as many characters it cannot
// enter: the program's own album files are code page 932; files made by other
// programs (CUE sheets) are far more often UTF-8.
enum class EncodingTie { kCodePage932, kUtf8 };

// True when the file's bytes are to be read as UTF-8, false for code page 932:
// with a byte-order mark UTF-8; otherwise the one of the two that the bytes are
// valid in, and when they are valid in both, the reading with fewer characters
// that countUnenterable counts (a character code page 932 cannot hold counting
// as one), tie deciding when they are even. For the program's own files a UTF-8
// reading that code page 932 cannot hold is never taken: such a file could not
// load at all, and every file the program saves must load back. Beyond
// maxComparedBytes non-ASCII bytes, which no loadable file holds, bytes valid
// in both are read as UTF-8 without the comparison.
bool ReadsAsUtf8(std::string_view bytes, UnenterableCount countUnenterable, size_t maxComparedBytes,
                 EncodingTie tie = EncodingTie::kCodePage932);

}  // namespace vrellix
