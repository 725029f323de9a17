#include "cli/album_input.h"

#include <cstdio>

#include "album/album_csv.h"
#include "cli/console.h"
#include "validate/input_checks.h"

namespace vrellix::cli {

std::optional<CheckedAlbum> LoadCheckedAlbum(const std::string& path) {
  // Rows start unchecked, as in a window just opened; the load checks every named row.
  EditedAlbum edited;
  const AlbumFileResult loaded = LoadAlbumCsv(path, edited);
  if (!loaded.Ok()) {
    PrintAlbumFileFailure(loaded, path);
    return std::nullopt;
  }
  StartCheckResult checked = RunStartChecks(edited);
  if (checked.outcome != StartCheckResult::Outcome::kReady) {
    // The first fault's message as the window shows it, then every fault, one
    // line each, so that one run shows all there is to correct.
    Print(stderr, "%s\n", checked.message.c_str());
    for (const StartFault& fault : checked.faults) Print(stderr, "%s\n", fault.line.c_str());
    return std::nullopt;
  }
  CheckedAlbum result;
  result.album = std::move(checked.album);
  for (int row = 0; row < kTrackCount; ++row) {
    result.checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  }
  return result;
}

std::optional<CheckedAlbum> LoadAlbumToEnter(const std::string& path, const JobPlace& from) {
  std::optional<CheckedAlbum> loaded = LoadCheckedAlbum(path);
  if (!loaded || from.IsStart()) return loaded;
  AlbumToEnter next = ContinueFrom(loaded->album, loaded->checks, from);
  for (std::size_t row = 0; row < next.checks.size(); ++row) {
    if (next.checks[row] && !next.album.Tracks[row].Name.empty()) {
      return CheckedAlbum{std::move(next.album), next.checks, next.tracksBefore};
    }
  }
  Print(stderr, "vrellix-cli enter: --from track:%d: no ticked track from %d on to enter\n", from.track,
               from.track);
  return std::nullopt;
}

void PrintAlbumFileFailure(const AlbumFileResult& result, const std::string& path) {
  Print(stderr, "%s\n", AlbumFileMessage(result).c_str());
  const std::string reason = FileFailureReason(result.file);
  if (!reason.empty()) Print(stderr, "%s: %s\n", path.c_str(), reason.c_str());
}

ArgumentSpec AlbumFileArgument() {
  return {Text("FILE", "a file name"), "the album file: CSV in code page 932 or UTF-8"};
}

}  // namespace vrellix::cli
