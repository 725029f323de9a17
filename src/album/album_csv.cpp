#include "album/album_csv.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "album/text_file_encoding.h"
#include "fileio/whole_file.h"
#include "text/lines.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {
namespace {

constexpr int kFieldCount = 3 + 2 * kTrackCount;  // 103
constexpr std::string_view kEmptyField = "none";

// A trimmed name that the file keeps as a name: "none" reads back as empty.
bool IsTrackName(const std::string& name) { return !name.empty() && name != kEmptyField; }

// Far beyond any album (103 short fields), yet a bound, so that a file that
// never ends cannot exhaust memory.
constexpr size_t kMaxFileBytes = 64u * 1024 * 1024;

AlbumFileResult Refused(AlbumFault fault, int field = 0) { return AlbumFileResult{{}, fault, field}; }

}  // namespace

AlbumFileResult LoadAlbumCsv(const std::string& path, EditedAlbum& album) {
  std::string contents;
  const FileResult read = ReadWholeFile(path, kMaxFileBytes, contents);
  if (!read.Ok()) return AlbumFileResult{read};
  return ParseAlbumCsv(contents, album);
}

AlbumFileResult ParseAlbumCsv(std::string_view contents, EditedAlbum& album) {
  std::string_view rest = contents;
  // Non-ASCII bytes stand only inside fields: more than 103 fields of 96 bytes
  // cannot load whichever way they are read.
  const bool utf8File = ReadsAsUtf8(rest, static_cast<size_t>(kFieldCount) * 3 * kFieldLimitBytes);
  if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) rest.remove_prefix(kUtf8Bom.size());

  std::array<std::string, kFieldCount> fields;  // UTF-8
  int count = 0;
  while (!rest.empty()) {
    // A blank line holds no field.
    std::string_view line = TrimWhiteView(TakeLine(rest).text);
    if (line.empty()) continue;

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
          if (raw.size() > 3 * static_cast<size_t>(kFieldLimitBytes)) {
            return Refused(AlbumFault::kFieldTooLong, fieldNumber);
          }
          std::optional<std::string> encoded = Utf8ToCp932(raw);
          if (!encoded) return Refused(AlbumFault::kFieldNotText, fieldNumber);
          cp932 = std::move(*encoded);
        } else {
          cp932 = std::string(raw);
        }
        if (cp932.size() > static_cast<size_t>(kFieldLimitBytes)) {
          return Refused(AlbumFault::kFieldTooLong, fieldNumber);
        }
        std::optional<std::string> utf8 = Cp932ToUtf8(cp932);
        if (!utf8 || cp932.find('\0') != std::string::npos) return Refused(AlbumFault::kFieldNotText, fieldNumber);
        text = std::move(*utf8);
      }
      if (count == kFieldCount) return Refused(AlbumFault::kTooManyFields);
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
  return AlbumFileResult{};
}

AlbumFileResult AlbumCsvBytes(const EditedAlbum& album, std::string& bytes) {
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
    if (text.find(',') != std::string::npos) return Refused(AlbumFault::kCommaRefused, i + 1);
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      return Refused(AlbumFault::kCharacterRefused, i + 1);
    }
    std::optional<std::string> cp932 = Utf8ToCp932(text);
    if (!cp932) return Refused(AlbumFault::kCharacterRefused, i + 1);
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
  return AlbumFileResult{};
}

AlbumFileResult SaveAlbumCsv(const std::string& path, const EditedAlbum& album, FileOperations& files) {
  std::string bytes;
  const AlbumFileResult encoded = AlbumCsvBytes(album, bytes);
  if (!encoded.Ok()) return encoded;
  return AlbumFileResult{ReplaceFileContents(path, bytes, files)};
}

AlbumFileResult SaveAlbumCsv(const std::string& path, const EditedAlbum& album) {
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
