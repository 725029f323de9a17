#include "album/cue_sheet.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "fileio/whole_file.h"
#include "messages/messages.h"
#include "text/text_codec.h"

namespace vrellix {
namespace {

// A sheet is a few kilobytes; anything near this is not one.
constexpr size_t kMaxFileBytes = 1024 * 1024;

constexpr std::string_view kBlank = " \t";

std::string_view TrimBlank(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

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
  rest = TrimBlank(rest);
  if (rest.empty() || rest[0] != '"') return rest;
  rest.remove_prefix(1);
  const size_t close = rest.find('"');
  return close == std::string_view::npos ? TrimBlank(rest) : rest.substr(0, close);
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

CueSheetResult Refuse(std::string message) {
  CueSheetResult result;
  result.message = std::move(message);
  return result;
}

}  // namespace

CueSheetResult ParseCueSheet(std::string_view bytes) {
  const bool utf8File = ReadsAsUtf8(bytes, kMaxFileBytes, TextFileKind::kCueSheet);
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());

  RawText title;
  RawText artist;
  std::vector<RawText> tracks;  // each TRACK's TITLE in file order (empty when it has none)
  for (int lineNumber = 1; !bytes.empty(); ++lineNumber) {
    const size_t end = bytes.find_first_of("\r\n");
    const std::string_view line = TrimBlank(bytes.substr(0, end));
    size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end != std::string_view::npos && bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    bytes.remove_prefix(next);

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

  if (tracks.size() > static_cast<size_t>(kTrackCount)) return Refuse(messages::CueTooManyTracks(static_cast<int>(tracks.size())));
  if (tracks.empty()) return Refuse(messages::kCueNoTracks);

  CueSheetResult result;
  EditedAlbum& album = result.album;
  const auto decodeInto = [&](const RawText& raw, std::string& text) {
    std::optional<std::string> decoded = Decode(raw, utf8File);
    if (decoded) text = std::move(*decoded);
    return decoded.has_value();
  };
  if (!decodeInto(title, album.title)) return Refuse(messages::CueLineNotText(title.line));
  if (!decodeInto(artist, album.artist)) return Refuse(messages::CueLineNotText(artist.line));
  for (size_t t = 0; t < tracks.size(); ++t) {
    EditedRow& row = album.rows[t];
    if (!decodeInto(tracks[t], row.name)) return Refuse(messages::CueLineNotText(tracks[t].line));
    row.checked = !row.name.empty();
  }
  result.ok = true;
  return result;
}

CueSheetResult LoadCueSheet(const std::string& path) {
  std::string bytes;
  std::string reason;
  if (ReadWholeFile(path, kMaxFileBytes, bytes, &reason) != ReadOutcome::kRead) {
    CueSheetResult refused = Refuse(messages::kFileOpenFailed);
    refused.reason = std::move(reason);
    return refused;
  }
  return ParseCueSheet(bytes);
}

}  // namespace vrellix
