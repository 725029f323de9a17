// Reading a small file whole, without ever waiting on something that is not a file.
#pragma once

#include <cstddef>
#include <string>

#include "fileio/file_result.h"

namespace vrellix {

// Reads the regular file at path (UTF-8; a link to one counts) into bytes,
// which change only when it succeeds. Anything but a regular file is refused
// (kNotRegularFile) without being opened for reading, and the open cannot
// block, so a FIFO without a writer never holds the caller. kNotFound when
// nothing has that name, kTooLarge (limit maxBytes) for more bytes than
// maxBytes; every failure's step is kOpen.
FileResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace vrellix
