// vrellix-cli check FILE: loads an album file the way the window does and runs
// the Start checks on it, without touching the device.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/album_input.h"
#include "cli/commands.h"

namespace vrellix::cli {

int RunCheck(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::fprintf(stderr, "usage: vrellix-cli check FILE\n");
    return 2;
  }
  const std::optional<CheckedAlbum> checked = LoadCheckedAlbum(args[0]);
  if (!checked) return 1;

  const Album& album = checked->album;
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
