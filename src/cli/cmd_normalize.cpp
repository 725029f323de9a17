// vrellix-cli normalize IN (-o OUT | --in-place): loads an album file and saves it again in
// the program's own form (code page 932, CR LF, "none" for empty fields).
#include <cstdio>
#include <string>

#include "album/album_csv.h"
#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "messages/messages.h"

namespace vrellix::cli {

namespace {

ExitCode Run(const ParsedArgs& args) {
  const std::string& in = args.arguments[0];
  // The input is rewritten only when asked for by name.
  const bool inPlace = args.Has("--in-place");
  if (inPlace == args.Has("--output")) {
    return UsageError(NormalizeCommand(), inPlace ? "-o and --in-place cannot be used together"
                                                  : "give -o OUT, or --in-place to rewrite IN");
  }
  const std::string out = inPlace ? in : *args.Text("--output");

  EditedAlbum edited;
  const AlbumFileResult loaded = LoadAlbumCsv(in, edited);
  if (!loaded.Ok()) {
    PrintAlbumFileFailure(loaded, in);
    return ExitCode::kFailed;
  }
  const AlbumFileResult saved = SaveAlbumCsv(out, edited);
  if (!saved.Ok()) {
    PrintAlbumFileFailure(saved, out);
    return ExitCode::kFailed;
  }
  // The format has no place for them: say so rather than lose them quietly.
  for (const TextLeftOut& left : TextsLeftOut(edited)) {
    Print(stderr, "vrellix-cli normalize: track %d's reading \"%s\" is not saved: no track from %d on has a name\n",
          left.track, left.yomi.c_str(), left.track);
  }
  Print(stdout, "%s\n", messages::kFileSaved);
  return ExitCode::kDone;
}

}  // namespace

const Command& NormalizeCommand() {
  static const Command command{
      "normalize",
      "saves an album file again in the program's own form",
      {"normalize IN -o OUT", "normalize IN --in-place"},
      "Loads IN (code page 932, or UTF-8 with or without a byte-order mark) and\n"
      "saves it as the window program does: code page 932, CR LF line ends, \"none\"\n"
      "for empty fields, to OUT, or over IN itself with --in-place (one of the two\n"
      "is required). Nothing is written when the load fails. The reading of an\n"
      "unnamed track after the last named one has no place in the file: each\n"
      "such reading is named on standard error.\n",
      {{{Text("IN", "a file name"), "the album file to read"}},
       {Option("--output", {Text("OUT", "a file name")}, "where to save").Short("-o"),
        Flag("--in-place", "saves over IN")}},
      {"vrellix-cli normalize utf8-album.csv -o album.csv", "vrellix-cli normalize album.csv --in-place"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
