// The CSV album file: up to 103 comma-separated fields, "none" for an empty one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "album/album.h"
#include "album/album_file.h"
#include "album/text_file_encoding.h"
#include "fileio/file_replace.h"

namespace vrellix {

// Loads the file into album, replacing the texts and all 50 rows and checking
// every row whose new name is not empty. album is left untouched unless the
// whole file was read without error. The file is code page 932 or UTF-8, as
// ReadsAsUtf8 tells.
AlbumFileResult LoadAlbumCsv(const std::string& path, EditedAlbum& album);
// The same for a file's bytes.
AlbumFileResult ParseAlbumCsv(std::string_view bytes, EditedAlbum& album);

// Saves the album's texts (trimmed, "none" for empty) in code page 932 with CR LF
// line ends, replacing the file only once every byte was written.
// A text that the file cannot hold (a half-width comma, a line break, a
// character outside code page 932) refuses the save and nothing is written.
AlbumFileResult SaveAlbumCsv(const std::string& path, const EditedAlbum& album);
// The same, writing through files (tests make writes fail with it).
AlbumFileResult SaveAlbumCsv(const std::string& path, const EditedAlbum& album, FileOperations& files);
// The bytes that SaveAlbumCsv writes, or its refusal (bytes then mean nothing).
AlbumFileResult AlbumCsvBytes(const EditedAlbum& album, std::string& bytes);

// A text that saving the album leaves out: the reading (trimmed) of an unnamed
// track after the last named one, for which the file has no place.
struct TextLeftOut {
  int track = 0;  // 1..50
  std::string yomi;
};
std::vector<TextLeftOut> TextsLeftOut(const EditedAlbum& album);

}  // namespace vrellix
