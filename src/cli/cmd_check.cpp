// vrellix-cli check FILE: loads an album file the way the window does and runs
// the Start checks on it, without touching the device.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"

namespace vrellix::cli {

namespace {

ExitCode Run(const ParsedArgs& args) {
  const std::optional<CheckedAlbum> checked = LoadCheckedAlbum(args.arguments[0]);
  if (!checked) return ExitCode::kFailed;

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
  Print(stdout, "ok: %s%s%d track%s to enter\n", fields.c_str(), fields.empty() ? "" : " and ", tracks,
              tracks == 1 ? "" : "s");
  return ExitCode::kDone;
}

}  // namespace

const Command& CheckCommand() {
  static const Command command{
      "check",
      "checks an album file as the window's Start does",
      {"check FILE"},
      "Loads FILE as the window program does and runs the checks that come before\n"
      "entering it: every text must be one the device can enter and fit its field.\n"
      "Prints the first fault's message, then every fault of the album, one line\n"
      "each naming the field and the character, and exits 1; or a one-line\n"
      "summary of what would be entered and exits 0.\n",
      {{AlbumFileArgument()}, {}},
      {"vrellix-cli check examples/album.csv"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
