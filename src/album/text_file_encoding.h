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

// True when the file's bytes are to be read as UTF-8, false for code page 932:
// with a byte-order mark UTF-8; otherwise the one of the two that the bytes are
// valid in, and when they are valid in both, the reading with fewer characters
// that countUnenterable counts (code page 932 on a tie, and when code page 932
// cannot hold the UTF-8 reading). Beyond maxComparedBytes non-ASCII bytes,
// which no loadable file holds, bytes valid in both are read as UTF-8 without
// the comparison.
bool ReadsAsUtf8(std::string_view bytes, UnenterableCount countUnenterable, size_t maxComparedBytes);

}  // namespace vrellix
