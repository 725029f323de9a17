// Reading a small file whole, without ever waiting on something that is not a file.
#pragma once

#include <cstddef>
#include <string>

namespace vrellix {

enum class ReadOutcome {
  kRead,
  kMissing,      // nothing by that name
  kNotReadable,  // a directory, FIFO, socket or device, or a failed open or read
  kTooLarge,     // more bytes than the caller's limit
};

// Reads the regular file at path (UTF-8; a link to one counts) into bytes,
// which change only on kRead. Anything but a regular file is refused without
// being opened for reading, and the open cannot block, so a FIFO without a
// writer never holds the caller. On any other outcome *reason, when given,
// says why: the system's words ("No such file or directory", "Is a
// directory"), "not a regular file", or "larger than N bytes".
ReadOutcome ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                          std::string* reason = nullptr);

}  // namespace vrellix
