// CUE sheets (a disc's table of contents with its CD-TEXT) read as a new album.
#pragma once

#include <string>
#include <string_view>

#include "album/album.h"
#include "album/album_file.h"
#include "album/text_file_encoding.h"

namespace vrellix {

// Reads a CUE sheet's bytes as an album: the TITLE and PERFORMER that stand
// before the first TRACK become the title and the artist, and each TRACK in
// file order (whatever its number) the next row, ticked, named by its TITLE;
// a TRACK without a TITLE keeps its row, empty and not ticked. Readings stay
// empty. A track's own PERFORMER, REM lines and every other command are
// ignored; commands are matched in any case.
// A value is the text between double quotes (spaces included; a missing
// closing quote takes the rest of the line) or, unquoted, the rest of the line
// without the white space at its ends. Lines end at CR LF, LF or a lone CR.
// Texts are not cut to the device's limits: the Start checks refuse what does
// not fit. Encoding as ReadsAsUtf8 tells for a CUE sheet. Refused: more than
// 50 tracks (kTooManyTracks at the count), no TRACK at all (kNoTracks), a text
// that is not valid in the file's encoding (kLineNotText at its line). album
// becomes the sheet's album only when it is read.
AlbumFileResult ParseCueSheet(std::string_view bytes, EditedAlbum& album);

// The same for the file at path (UTF-8).
AlbumFileResult LoadCueSheet(const std::string& path, EditedAlbum& album);

}  // namespace vrellix
