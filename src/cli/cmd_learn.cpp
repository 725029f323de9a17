// vrellix-cli learn FILE...: learns the readings of album files, so that they
// come first for those names in every later album.
#include <cstdio>
#include <string>
#include <vector>

#include "album/album_csv.h"
#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/reading_setup.h"
#include "messages/messages.h"

namespace vrellix::cli {

namespace {

std::string Readings(std::size_t count) { return std::to_string(count) + (count == 1 ? " reading" : " readings"); }

ExitCode Run(const ParsedArgs& args) {
  LearnedReadings learned = OpenLearnedReadings();
  if (learned.Path().empty()) {
    Print(stderr, "no place for learned readings: set VRELLIX_READINGS_FILE\n");
    return ExitCode::kFailed;
  }
  ExitCode code = ExitCode::kDone;
  std::vector<LearnedPair> pairs;
  for (const std::string& path : args.arguments) {
    EditedAlbum album;
    if (const AlbumFileResult loaded = LoadAlbumCsv(path, album); !loaded.Ok()) {
      PrintAlbumFileFailure(loaded, path);
      code = ExitCode::kFailed;
      continue;
    }
    std::size_t count = Learnable(album.title, album.yomi) ? 1 : 0;
    pairs.push_back({album.title, album.yomi});
    for (const EditedRow& row : album.rows) {
      count += Learnable(row.name, row.yomi) ? 1 : 0;
      pairs.push_back({row.name, row.yomi});
    }
    Print(stdout, "%s: %s\n", path.c_str(), Readings(count).c_str());
  }
  std::size_t count = 0;
  if (const FileResult saved = learned.Learn(pairs, &count); !saved.Ok()) {
    Print(stderr, "%s\n", messages::LearnedReadingsNotSaved(learned.Path(), FileFailureReason(saved)).c_str());
    return ExitCode::kFailed;
  }
  Print(stdout, "%s learned (%s)\n", Readings(count).c_str(), learned.Path().c_str());
  return code;
}

}  // namespace

const Command& LearnCommand() {
  static const Command command{
      "learn",
      "learns the readings of album files for later albums",
      {"learn FILE..."},
      "Learns the readings of the album files: the title with its よみ and each\n"
      "track's name with its よみ, where the name holds kanji and the よみ is one\n"
      "the reading field takes. A learned reading comes first for its name, and\n"
      "for the same kanji word inside other names, wherever readings are\n"
      "suggested (reading, readings, the window program). Says how many each file\n"
      "taught; later files win for the same name. The readings are kept in\n"
      "$XDG_DATA_HOME/vrellix/readings.tsv (~/.local/share/vrellix/readings.tsv)\n"
      "or %APPDATA%\\Vrellix\\readings.tsv on Windows, or in the file that\n"
      "VRELLIX_READINGS_FILE names: name<TAB>reading lines, which may be edited.\n",
      {{{Text("FILE", "a file name"), "an album file: CSV in code page 932 or UTF-8", true}}, {}},
      {"vrellix-cli learn album1.csv album2.csv"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
