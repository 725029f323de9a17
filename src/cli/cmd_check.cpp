// vrellix-cli check FILE: loads an album file the way the window does and runs
// the Start checks on it, without touching the device.
#include <cstdio>
#include <string>
#include <vector>

#include "album/album_csv.h"
#include "cli/commands.h"
#include "validate/input_checks.h"

namespace vrellix::cli {

int RunCheck(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::fprintf(stderr, "usage: vrellix-cli check FILE\n");
    return 2;
  }
  // Rows start unchecked, as in a window just opened; the load checks every named row.
  EditedAlbum edited;
  const CsvResult loaded = LoadAlbumCsv(args[0], edited);
  if (!loaded.ok) {
    std::fprintf(stderr, "%s\n", loaded.message.c_str());
    return 1;
  }

  const StartCheckResult checked = RunStartChecks(edited);
  if (checked.outcome != StartCheckResult::kReady) {
    std::fprintf(stderr, "%s\n", checked.message.c_str());
    return 1;
  }

  const Album& album = checked.album;
  std::string fields;
  const auto add = [&fields](const std::string& text, const char* label) {
    if (text.empty()) return;
    if (!fields.empty()) fields += ", ";
    fields += label;
  };
  add(album.Title, "Title");
  add(album.Yomi, "よみ");
  add(album.Artist, "Artist");
  int tracks = 0;
  for (const AlbumTrack& track : album.Tracks) {
    if (!track.Name.empty()) ++tracks;
  }
  std::printf("ok: %s%s%d track%s to enter\n", fields.c_str(), fields.empty() ? "" : " and ", tracks,
              tracks == 1 ? "" : "s");
  return 0;
}

}  // namespace vrellix::cli
