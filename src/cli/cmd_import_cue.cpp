// vrellix-cli import-cue FILE.cue -o OUT.csv: reads a CUE sheet's disc title,
// performer and track titles as an album and saves it as an album file.
#include <cstdio>
#include <optional>
#include <string>

#include "album/album_csv.h"
#include "album/cue_sheet.h"
#include "cli/commands.h"
#include "cli/album_input.h"
#include "cli/console.h"
#include "messages/messages.h"
#include "reading/album_readings.h"
#include "text/trim.h"
#include "validate/input_checks.h"

namespace vrellix::cli {

namespace {

// The sheet's texts are saved whole; one longer than its field is named here,
// since the album file cannot be loaded until it is shortened.
bool ReportTooLong(const EditedAlbum& album, AlbumField field) {
  const FieldCheck check = CheckFieldText(TrimWhite(FieldText(album, field)), CheckMode::kGeneral);
  if (check.count <= check.limit) return false;
  Print(stderr, "%s: %d bytes, more than the %d the field takes: shorten it in the album file\n",
        FieldName(field).c_str(), check.count, check.limit);
  return true;
}

ExitCode Run(const ParsedArgs& args) {
  const std::string& in = args.arguments[0];
  const std::optional<std::string> out = args.Text("--output");
  if (!out) return UsageError(ImportCueCommand(), "-o OUT is required");

  EditedAlbum album;
  const AlbumFileResult sheet = LoadCueSheet(in, album);
  if (!sheet.Ok()) {
    PrintAlbumFileFailure(sheet, in);
    return ExitCode::kFailed;
  }
  const AlbumFileResult saved = SaveAlbumCsv(*out, album);
  if (!saved.Ok()) {
    PrintAlbumFileFailure(saved, *out);
    return ExitCode::kFailed;
  }

  int tracks = 0;
  for (const EditedRow& row : album.rows) tracks += row.checked ? 1 : 0;
  Print(stdout, "%s: %s\n%s: %s\n%d track%s\n%s\n", FieldName({AlbumField::Kind::kTitle, 0}).c_str(),
        album.title.c_str(), FieldName({AlbumField::Kind::kArtist, 0}).c_str(), album.artist.c_str(), tracks,
        tracks == 1 ? "" : "s", messages::kFileSaved);
  bool tooLong = ReportTooLong(album, {AlbumField::Kind::kTitle, 0});
  tooLong = ReportTooLong(album, {AlbumField::Kind::kArtist, 0}) || tooLong;
  for (int track = 1; track <= kTrackCount; ++track) {
    tooLong = ReportTooLong(album, {AlbumField::Kind::kTrackName, track}) || tooLong;
  }
  return tooLong ? ExitCode::kFailed : ExitCode::kDone;
}

}  // namespace

const Command& ImportCueCommand() {
  static const Command command{
      "import-cue",
      "makes an album file from a CUE sheet",
      {"import-cue FILE.cue -o OUT.csv"},
      "Reads the CUE sheet FILE.cue (code page 932 or UTF-8, with or without a\n"
      "byte-order mark) and saves it to OUT.csv as an album: the disc's TITLE and\n"
      "PERFORMER become the title and the artist, each TRACK's TITLE a track name,\n"
      "up to 50 tracks; readings stay empty. A sheet with more than 50 tracks is\n"
      "refused. Texts are never cut: one longer than its field is saved as it is,\n"
      "named on stderr, and the exit status is 1 until it is shortened.\n",
      {{{Text("FILE.cue", "a file name"), "the CUE sheet to read"}},
       {Option("--output", {Text("OUT.csv", "a file name")}, "where to save the album").Short("-o")}},
      {"vrellix-cli import-cue disc.cue -o album.csv"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
