// vrellix-cli readings FILE -o OUT [--names hiragana|katakana] [--overwrite]:
// fills the album's empty readings (and writes names in kana of one script)
// from the system's readings and the learned ones, prints every change and
// saves the result.
#include <cstdio>
#include <string>

#include "album/album_csv.h"
#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "messages/messages.h"
#include "cli/reading_setup.h"
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

const char* WhyUnread(ReadingSuggestion::Outcome why) {
  switch (why) {
    case ReadingSuggestion::Outcome::kTooLong: return "the reading is longer than 16 characters";
    case ReadingSuggestion::Outcome::kLatinWord: return "a Latin word of four or more letters is not spelled out";
    case ReadingSuggestion::Outcome::kNothingToRead: return "nothing in the name is read aloud";
    default: return "no reading to offer";
  }
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
  ReadingSetup setup;
  const AlbumReadings readings = SuggestAlbumReadings(setup.Provider(), album, options);
  if (!readings.unavailable.empty()) {
    Print(stderr, "%s\nnothing written\n", readings.unavailable.c_str());
    return ExitCode::kFailed;
  }

  for (const FieldChange& change : readings.changes) PrintChange(change);
  for (const UnreadField& unread : readings.unread) {
    Print(stderr, "%s: %s; left as it was\n", FieldName(unread.field).c_str(), WhyUnread(unread.why));
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
      "with the best reading of its name, and saves the album to OUT in the\n"
      "program's own form. With --names, names (title, artist, tracks) are written\n"
      "in kana of one script, the kanji read and Latin letters, digits and symbols\n"
      "kept (夜に駆ける: ヨルニカケル). Prints each change as 'field: old → new', and\n"
      "on stderr the readings it could not offer and why. Readings the user taught\n"
      "(vrellix-cli learn, the window program) come first; the others come from\n"
      "MeCab with the IPA dictionary, and proper names are often misread: look the\n"
      "changes over (vrellix-cli reading lists other candidates). Nothing is\n"
      "written when the load fails or a name holds kanji on a system without\n"
      "readings.\n",
      {{AlbumFileArgument()},
       {Option("--output", {Text("OUT", "a file name")}, "where to save the album (may be FILE)").Short("-o"),
        Option("--names", {CheckedText("hiragana|katakana", "hiragana or katakana", IsKanaStyle)},
               "also write names in hiragana or in katakana"),
        Flag("--overwrite", "replace every reading, not only the empty ones")}},
      {"vrellix-cli readings album.csv -o album-read.csv --names katakana"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
