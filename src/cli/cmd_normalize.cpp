// vrellix-cli normalize IN [-o OUT]: loads an album file and saves it again in
// the program's own form (code page 932, CR LF, "none" for empty fields).
#include <cstdio>
#include <string>

#include "album/album_csv.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "validate/input_checks.h"

namespace vrellix::cli {

namespace {

int Run(const ParsedArgs& args) {
  const std::string& in = args.arguments[0];
  const std::string out = args.Text("--output").value_or(in);

  EditedAlbum edited;
  const CsvResult loaded = LoadAlbumCsv(in, edited, CountUnenterable);
  if (!loaded.ok) {
    Print(stderr, "%s\n", loaded.message.c_str());
    return kExitFailed;
  }
  const CsvResult saved = SaveAlbumCsv(out, edited);
  Print(saved.ok ? stdout : stderr, "%s\n", saved.message.c_str());
  return saved.ok ? kExitDone : kExitFailed;
}

}  // namespace

const Command& NormalizeCommand() {
  static const Command command{
      "normalize",
      "saves an album file again in the program's own form",
      {"normalize IN [-o OUT]"},
      "Loads IN (code page 932, or UTF-8 with or without a byte-order mark) and\n"
      "saves it as the window program does: code page 932, CR LF line ends, \"none\"\n"
      "for empty fields. Without -o the file is replaced; nothing is written when\n"
      "the load fails.\n",
      {{{Text("IN", "a file name"), "the album file to read"}},
       {Option("--output", {Text("OUT", "a file name")}, "where to save instead of IN").Short("-o")}},
      {"vrellix-cli normalize utf8-album.csv -o album.csv"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
