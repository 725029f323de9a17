#include "cli/album_input.h"

#include <cstdio>

#include "album/album_csv.h"
#include "cli/console.h"
#include "validate/input_checks.h"

namespace vrellix::cli {

std::optional<CheckedAlbum> LoadCheckedAlbum(const std::string& path) {
  // Rows start unchecked, as in a window just opened; the load checks every named row.
  EditedAlbum edited;
  const CsvResult loaded = LoadAlbumCsv(path, edited, CountUnenterable);
  if (!loaded.ok) {
    Print(stderr, "%s\n", loaded.message.c_str());
    return std::nullopt;
  }
  StartCheckResult checked = RunStartChecks(edited);
  if (checked.outcome != StartCheckResult::kReady) {
    Print(stderr, "%s\n", checked.message.c_str());
    return std::nullopt;
  }
  CheckedAlbum result;
  result.album = std::move(checked.album);
  for (int row = 0; row < kTrackCount; ++row) {
    result.checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  }
  return result;
}

ArgumentSpec AlbumFileArgument() {
  return {Text("FILE", "a file name"), "the album file: CSV in code page 932 or UTF-8"};
}

}  // namespace vrellix::cli
