// What became of loading or saving an album file (CSV album, CUE sheet): the
// file's own result, or the fault in its contents, each from a closed set.
#pragma once

#include <string>

#include "fileio/file_result.h"

namespace vrellix {

enum class AlbumFault {
  kNone,
  kTooManyFields,     // CSV: more than 103 fields
  kFieldTooLong,      // CSV: field `at` holds more than 32 bytes
  kFieldNotText,      // CSV: field `at` is not text in the file's encoding
  kCommaRefused,      // CSV save: field `at` holds a half-width comma
  kCharacterRefused,  // CSV save: field `at` holds a line break or a character code page 932 cannot hold
  kTooManyTracks,     // CUE: `at` tracks, more than 50
  kNoTracks,          // CUE: no TRACK at all
  kLineNotText,       // CUE: line `at` is not text in the file's encoding
};

struct AlbumFileResult {
  FileResult file;                       // the file itself could not be read or written
  AlbumFault fault = AlbumFault::kNone;  // its contents were refused
  int at = 0;  // the CSV field (1..103), the CUE line (from 1) or the CUE's track count that the fault names

  bool Ok() const { return file.Ok() && fault == AlbumFault::kNone; }
};

// The message for a result that is not Ok (UTF-8): "ファイルオープンに失敗しました",
// "ファイルの書き込みに失敗しました", or the fault with the field or line it names.
// The file's reason (FileFailureReason) goes on the line after it.
std::string AlbumFileMessage(const AlbumFileResult& result);

}  // namespace vrellix
