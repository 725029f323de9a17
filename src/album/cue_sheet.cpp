#include "album/cue_sheet.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "fileio/whole_file.h"
#include "text/lines.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {
namespace {

// A sheet is a few kilobytes; anything near this is not one.
constexpr size_t kMaxFileBytes = 1024 * 1024;

constexpr std::string_view kBlank = " \t";

bool SameCommand(std::string_view word, std::string_view command) {
  if (word.size() != command.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != command[i]) return false;
  }
  return true;
}

// The value after the command word (see the header for quoting).
std::string_view Value(std::string_view rest) {
  rest = TrimWhiteView(rest);
  if (rest.empty() || rest[0] != '"') return rest;
  rest.remove_prefix(1);
  const size_t close = rest.find('"');
  return close == std::string_view::npos ? TrimWhiteView(rest) : rest.substr(0, close);
}

struct RawText {
  std::string_view bytes;  // in the file's encoding
  int line = 0;            // 1-based, for the message
};

// The texts in the edited album's UTF-8; nothing when one is not valid text.
std::optional<std::string> Decode(const RawText& raw, bool utf8File) {
  if (raw.bytes.find('\0') != std::string_view::npos) return std::nullopt;
  if (utf8File) {
    if (!IsValidUtf8(raw.bytes)) return std::nullopt;
    return std::string(raw.bytes);
  }
  return Cp932ToUtf8(raw.bytes);
}

AlbumFileResult Refused(AlbumFault fault, int at = 0) { return AlbumFileResult{{}, fault, at}; }

}  // namespace

AlbumFileResult ParseCueSheet(std::string_view bytes, EditedAlbum& album) {
  const bool utf8File = ReadsAsUtf8(bytes, kMaxFileBytes, TextFileKind::kCueSheet);
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());

  RawText title;
  RawText artist;
  std::vector<RawText> tracks;  // each TRACK's TITLE in file order (empty when it has none)
  for (int lineNumber = 1; !bytes.empty(); ++lineNumber) {
    const std::string_view line = TrimWhiteView(TakeLine(bytes).text);
    const size_t wordEnd = std::min(line.find_first_of(kBlank), line.size());
    const std::string_view command = line.substr(0, wordEnd);
    const RawText value{Value(line.substr(wordEnd)), lineNumber};
    if (SameCommand(command, "TRACK")) {
      tracks.push_back(RawText{});
    } else if (SameCommand(command, "TITLE")) {
      (tracks.empty() ? title : tracks.back()) = value;
    } else if (SameCommand(command, "PERFORMER") && tracks.empty()) {
      artist = value;
    }
  }

  if (tracks.size() > static_cast<size_t>(kTrackCount)) {
    return Refused(AlbumFault::kTooManyTracks, static_cast<int>(tracks.size()));
  }
  if (tracks.empty()) return Refused(AlbumFault::kNoTracks);

  EditedAlbum read;
  const auto decodeInto = [&](const RawText& raw, std::string& text) {
    std::optional<std::string> decoded = Decode(raw, utf8File);
    if (decoded) text = std::move(*decoded);
    return decoded.has_value();
  };
  if (!decodeInto(title, read.title)) return Refused(AlbumFault::kLineNotText, title.line);
  if (!decodeInto(artist, read.artist)) return Refused(AlbumFault::kLineNotText, artist.line);
  for (size_t t = 0; t < tracks.size(); ++t) {
    EditedRow& row = read.rows[t];
    if (!decodeInto(tracks[t], row.name)) return Refused(AlbumFault::kLineNotText, tracks[t].line);
    row.checked = !row.name.empty();
  }
  album = std::move(read);
  return AlbumFileResult{};
}

AlbumFileResult LoadCueSheet(const std::string& path, EditedAlbum& album) {
  std::string bytes;
  const FileResult read = ReadWholeFile(path, kMaxFileBytes, bytes);
  if (!read.Ok()) return AlbumFileResult{read};
  return ParseCueSheet(bytes, album);
}

}  // namespace vrellix
