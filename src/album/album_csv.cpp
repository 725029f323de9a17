#include "album/album_csv.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "album/text_file_encoding.h"
#include "fileio/whole_file.h"
#include "messages/messages.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {
namespace {

constexpr int kFieldCount = 3 + 2 * kTrackCount;  // 103
constexpr std::string_view kEmptyField = "none";

using messages::FieldNotText;
using messages::FieldTooLong;

// A trimmed name that the file keeps as a name: "none" reads back as empty.
bool IsTrackName(const std::string& name) { return !name.empty() && name != kEmptyField; }

// Field 0..102 named as the Start messages name it.
std::string FieldLabel(int index) {
  switch (index) {
    case 0: return messages::kTitleLabel;
    case 1: return messages::kYomiLabel;
    case 2: return messages::kArtistLabel;
    default: break;
  }
  const int track = (index - 3) / 2 + 1;
  const bool reading = (index - 3) % 2 == 1;
  return messages::TrackLabel(track) + (reading ? messages::kYomiLabel : "");
}

// Far beyond any album (103 short fields), yet a bound, so that a file that
// never ends cannot exhaust memory.
constexpr size_t kMaxFileBytes = 64u * 1024 * 1024;

CsvResult Failure(std::string message) { return CsvResult{false, std::move(message), ""}; }

}  // namespace

CsvResult LoadAlbumCsv(const std::string& path, EditedAlbum& album) {
  std::string contents;
  std::string reason;
  if (ReadWholeFile(path, kMaxFileBytes, contents, &reason) != ReadOutcome::kRead) {
    return CsvResult{false, messages::kFileOpenFailed, reason};
  }
  return ParseAlbumCsv(contents, album);
}

CsvResult ParseAlbumCsv(std::string_view contents, EditedAlbum& album) {
  std::string_view rest = contents;
  // Non-ASCII bytes stand only inside fields: more than 103 fields of 96 bytes
  // cannot load whichever way they are read.
  const bool utf8File = ReadsAsUtf8(rest, static_cast<size_t>(kFieldCount) * 3 * kFieldLimitBytes);
  if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) rest.remove_prefix(kUtf8Bom.size());

  std::array<std::string, kFieldCount> fields;  // UTF-8
  int count = 0;
  while (!rest.empty()) {
    // A line ends at LF, CR LF or a lone CR; the empty piece between CR and LF
    // is a blank line, which holds no field.
    const size_t end = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);

    const std::string trimmed = TrimWhite(line);
    if (trimmed.empty()) continue;
    line = trimmed;

    while (!line.empty()) {
      std::string_view raw;
      bool empty;
      const size_t comma = line.find(',');
      if (comma != std::string_view::npos) {
        raw = line.substr(0, comma);
        line.remove_prefix(comma + 1);
        empty = raw == kEmptyField || raw == "NONE";
      } else {
        // Only "none" stands for empty as a line's last field; "NONE" stays text.
        raw = line;
        line = {};
        empty = raw == kEmptyField;
      }
      const int fieldNumber = count + 1;
      std::string text;
      if (!empty) {
        std::string cp932;
        if (utf8File) {
          // Code page 932 takes at least one byte for every three of UTF-8, so
          // a longer field cannot fit whatever it holds (and a huge line is
          // refused without converting it).
          if (raw.size() > 3 * static_cast<size_t>(kFieldLimitBytes)) return Failure(FieldTooLong(fieldNumber));
          std::optional<std::string> encoded = Utf8ToCp932(raw);
          if (!encoded) return Failure(FieldNotText(fieldNumber));
          cp932 = std::move(*encoded);
        } else {
          cp932 = std::string(raw);
        }
        if (cp932.size() > static_cast<size_t>(kFieldLimitBytes)) return Failure(FieldTooLong(fieldNumber));
        std::optional<std::string> utf8 = Cp932ToUtf8(cp932);
        if (!utf8 || cp932.find('\0') != std::string::npos) return Failure(FieldNotText(fieldNumber));
        text = std::move(*utf8);
      }
      if (count == kFieldCount) return Failure(messages::kTooManyFields);
      fields[static_cast<size_t>(count++)] = std::move(text);
    }
  }

  // The whole file was read: only now does the album change.
  album.title = std::move(fields[0]);
  album.yomi = std::move(fields[1]);
  album.artist = std::move(fields[2]);
  for (int r = 0; r < kTrackCount; ++r) {
    EditedRow& row = album.rows[static_cast<size_t>(r)];
    row.name = std::move(fields[static_cast<size_t>(2 * r + 3)]);
    row.yomi = std::move(fields[static_cast<size_t>(2 * r + 4)]);
    if (!row.name.empty()) row.checked = true;  // an empty name keeps its mark
  }
  return CsvResult{true, std::string(), ""};
}

CsvResult AlbumCsvBytes(const EditedAlbum& album, std::string& bytes) {
  std::array<std::string, kFieldCount> texts;  // file order, trimmed, UTF-8
  texts[0] = TrimWhite(album.title);
  texts[1] = TrimWhite(album.yomi);
  texts[2] = TrimWhite(album.artist);
  int lastNamedTrack = 0;
  for (int r = 0; r < kTrackCount; ++r) {
    const EditedRow& row = album.rows[static_cast<size_t>(r)];
    texts[static_cast<size_t>(2 * r + 3)] = TrimWhite(row.name);
    texts[static_cast<size_t>(2 * r + 4)] = TrimWhite(row.yomi);
    if (IsTrackName(texts[static_cast<size_t>(2 * r + 3)])) lastNamedTrack = r + 1;
  }

  const int written = 3 + 2 * lastNamedTrack;
  std::array<std::string, kFieldCount> encoded;
  for (int i = 0; i < written; ++i) {
    const std::string& text = texts[static_cast<size_t>(i)];
    if (text.empty()) {
      encoded[static_cast<size_t>(i)] = std::string(kEmptyField);
      continue;
    }
    // The format has no quoting: a comma or a line break would move every later field.
    if (text.find(',') != std::string::npos) return Failure(messages::kCommaRefused + FieldLabel(i));
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      return Failure(messages::kCharacterRefused + FieldLabel(i));
    }
    std::optional<std::string> cp932 = Utf8ToCp932(text);
    if (!cp932) return Failure(messages::kCharacterRefused + FieldLabel(i));
    encoded[static_cast<size_t>(i)] = std::move(*cp932);
  }

  bytes.clear();
  for (int i = 0; i < 3; ++i) bytes += encoded[static_cast<size_t>(i)] + "\r\n";
  for (int k = 1; k <= lastNamedTrack; ++k) {
    const std::string& name = encoded[static_cast<size_t>(2 * k + 1)];
    // "NONE" before a comma reads as empty, at a line's end as the text; the
    // reader counts fields, not lines, so such a name ends its own line.
    const char* separator = name == "NONE" ? "\r\n" : ",";
    bytes += name + separator + encoded[static_cast<size_t>(2 * k + 2)] + "\r\n";
  }
  return CsvResult{true, std::string(), ""};
}

CsvResult SaveAlbumCsv(const std::string& path, const EditedAlbum& album, FileOperations& files) {
  std::string bytes;
  const CsvResult encoded = AlbumCsvBytes(album, bytes);
  if (!encoded.ok) return encoded;
  std::string reason;
  switch (ReplaceFileContents(path, bytes, files, &reason)) {
    case ReplaceOutcome::kReplaced: return CsvResult{true, messages::kFileSaved, ""};
    case ReplaceOutcome::kCannotCreate: return CsvResult{false, messages::kFileOpenFailed, reason};
    case ReplaceOutcome::kReadOnly: return CsvResult{false, messages::kFileOpenFailed, messages::kReadOnlyFile};
    case ReplaceOutcome::kWriteFailed: break;
  }
  return CsvResult{false, messages::kFileWriteFailed, reason};
}

CsvResult SaveAlbumCsv(const std::string& path, const EditedAlbum& album) {
  FileOperations files;
  return SaveAlbumCsv(path, album, files);
}

std::vector<TextLeftOut> TextsLeftOut(const EditedAlbum& album) {
  std::vector<TextLeftOut> left;
  for (int r = kTrackCount - 1; r >= 0 && !IsTrackName(TrimWhite(album.rows[static_cast<size_t>(r)].name)); --r) {
    std::string yomi = TrimWhite(album.rows[static_cast<size_t>(r)].yomi);
    if (!yomi.empty()) left.insert(left.begin(), TextLeftOut{r + 1, std::move(yomi)});
  }
  return left;
}

}  // namespace vrellix
