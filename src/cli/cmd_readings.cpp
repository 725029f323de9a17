// vrellix-cli readings FILE -o OUT [--names hiragana|katakana] [--overwrite]:
// fills the album's empty readings (and converts names with kanji) from the
// system's readings, prints every change and saves the result.
#include <cstdio>
#include <memory>
#include <string>

#include "album/album_csv.h"
#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "messages/messages.h"
#include "reading/album_readings.h"

namespace vrellix::cli {

namespace {

bool IsKanaStyle(const std::string& text) { return text == "hiragana" || text == "katakana"; }

// An empty text shows as "", so that a line still says what was there.
std::string Shown(const std::string& text) { return text.empty() ? "\"\"" : text; }

void PrintChange(const FieldChange& change) {
  Print(stdout, "%s: %s → %s\n", FieldName(change.field).c_str(), Shown(change.before).c_str(),
        Shown(change.after).c_str());
  if (change.unfit.empty()) return;
  std::string parts;
  for (const TextSpan& span : change.unfit) {
    parts += (parts.empty() ? "\"" : ", \"") + change.after.substr(span.begin, span.end - span.begin) + "\"";
  }
  Print(stdout, "  the field does not take %s: correct it before entering\n", parts.c_str());
}

ExitCode Run(const ParsedArgs& args) {
  const std::string& in = args.arguments[0];
  const std::optional<std::string> out = args.Text("--output");
  if (!out) return UsageError(ReadingsCommand(), "-o OUT is required");
  AlbumReadingOptions options;
  options.overwriteReadings = args.Has("--overwrite");
  if (const std::optional<std::string> names = args.Text("--names")) {
    options.names = *names == "katakana" ? KanaStyle::kKatakana : KanaStyle::kHiragana;
  }

  EditedAlbum album;
  const AlbumFileResult loaded = LoadAlbumCsv(in, album);
  if (!loaded.Ok()) {
    PrintAlbumFileFailure(loaded, in);
    return ExitCode::kFailed;
  }
  const std::unique_ptr<ReadingProvider> provider = MakeSystemReadingProvider();
  const AlbumReadings readings = SuggestAlbumReadings(*provider, album, options);
  if (!readings.unavailable.empty()) {
    Print(stderr, "%s\nnothing written\n", readings.unavailable.c_str());
    return ExitCode::kFailed;
  }

  for (const FieldChange& change : readings.changes) PrintChange(change);
  for (const UnreadField& unread : readings.unread) {
    Print(stderr, "%s: %s\n", FieldName(unread.field).c_str(),
          unread.why == ReadingSuggestion::Outcome::kTooLong
              ? "the reading is longer than 16 characters; left as it was"
              : "no reading to offer; left as it was");
  }
  const AlbumFileResult saved = SaveAlbumCsv(*out, ApplyFieldChanges(album, readings.changes));
  if (!saved.Ok()) {
    PrintAlbumFileFailure(saved, *out);
    return ExitCode::kFailed;
  }
  Print(stdout, "%s\n", messages::kFileSaved);
  return ExitCode::kDone;
}

}  // namespace

const Command& ReadingsCommand() {
  static const Command command{
      "readings",
      "fills an album's readings and writes kanji names in kana",
      {"readings FILE -o OUT [--names hiragana|katakana] [--overwrite]"},
      "Loads FILE, fills every empty reading of the title and of each named track\n"
      "with the reading of its name, and saves the album to OUT in the program's own\n"
      "form. With --names, names (title, artist, tracks) that hold kanji are written\n"
      "with the kanji in kana. Prints each change as 'field: old → new', and on\n"
      "stderr the readings it could not offer. Readings of kanji come from MeCab\n"
      "with the IPA dictionary and proper names are often misread: look the\n"
      "changes over. Nothing is written when the load fails or a name holds kanji\n"
      "on a system without readings.\n",
      {{AlbumFileArgument()},
       {Option("--output", {Text("OUT", "a file name")}, "where to save the album (may be FILE)").Short("-o"),
        Option("--names", {CheckedText("hiragana|katakana", "hiragana or katakana", IsKanaStyle)},
               "also write the kanji of names in hiragana or katakana"),
        Flag("--overwrite", "replace every reading, not only the empty ones")}},
      {"vrellix-cli readings album.csv -o album-read.csv --names katakana"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
