// Loading an album file for the commands that work on one: the same load and
// Start checks as the window's, with the fault printed for the user.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "album/album.h"
#include "album/album_file.h"
#include "cli/arg_parser.h"
#include "job/job_place.h"

namespace vrellix::cli {

struct CheckedAlbum {
  Album album;                             // code page 932, unchecked rows emptied
  std::array<bool, kTrackCount> checks{};  // the rows' check marks after the load
  int tracksBefore = 0;                    // ticked tracks before the one it continues from
};

// Loads the CSV file and runs the Start checks. On any fault (unreadable
// file, bad format, a text the device cannot take, nothing to enter) prints
// the message to stderr (for texts the device cannot take: the first fault's,
// then a line for every fault) and returns nothing.
std::optional<CheckedAlbum> LoadCheckedAlbum(const std::string& path);

// What a job that continues from `from` enters of the album in path
// (ContinueFrom after LoadCheckedAlbum). When no ticked track is left from
// there, says so and returns nothing.
std::optional<CheckedAlbum> LoadAlbumToEnter(const std::string& path, const JobPlace& from);

// Prints a failed load's or save's message to stderr and, when the file itself
// could not be read or written, "path: why" on the line after it.
void PrintAlbumFileFailure(const AlbumFileResult& result, const std::string& path);

// FILE, the album file argument of the commands that load one.
ArgumentSpec AlbumFileArgument();

}  // namespace vrellix::cli
