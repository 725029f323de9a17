// The platform's half of the file module: what the C library or the Windows API
// does. Paths are UTF-8. Each failure carries the error code of the call that
// failed, classified as this platform's code means it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fileio/file_result.h"
#include "fileio/system_error.h"

namespace vrellix::file_platform {

// The system's codes for a name that is not valid text and for memory that ran out.
extern const int kNameNotTextError;
extern const int kOutOfMemoryError;

// What path names, following links, found without opening it for reading or
// writing: kNone for a regular file, kNotFound for nothing, else why it is no
// regular file (kNotRegularFile, or why it could not be looked at).
FileResult CheckRegularFile(const std::string& path);

// True when the regular file at path is one the user may not write: on POSIX
// systems when the process has no write permission for it, or, for root, to
// whom the system grants everything, when its owner has none (chmod 444 or
// u-w is how a file is protected); on Windows when it has the read-only
// attribute.
bool IsReadOnly(const std::string& path);

// Opens path without blocking and reads it whole if it is a regular file of at
// most maxBytes.
FileResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Creates path, which must not exist yet, writes bytes and flushes them to the
// disk before closing.
FileResult WriteNewFileToDisk(const std::string& path, std::string_view bytes);

// Gives to the owner and group of from, where the platform has them and the
// process may (a root run must not take a user's file over).
void CopyOwner(const std::string& from, const std::string& to);

// Makes the folder at path and any folders above it that are missing; a
// folder that is already there is no failure.
FileResult MakeFolders(const std::string& path);

// Removes the file at path, if there is one.
void RemoveFile(const std::string& path);

// Renames from over to and, where the platform allows, flushes the rename
// itself to the disk.
FileResult RenameDurably(const std::string& from, const std::string& to);

}  // namespace vrellix::file_platform
