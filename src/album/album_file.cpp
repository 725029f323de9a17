#include "album/album_file.h"

#include "album/album.h"
#include "messages/messages.h"

namespace vrellix {

namespace {

// CSV field 1..103 named as the Start messages name it.
std::string CsvFieldLabel(int number) {
  switch (number) {
    case 1: return messages::kTitleLabel;
    case 2: return messages::kYomiLabel;
    case 3: return messages::kArtistLabel;
    default: break;
  }
  const int track = (number - 4) / 2 + 1;
  const bool reading = (number - 4) % 2 == 1;
  return messages::TrackLabel(track) + (reading ? messages::kYomiLabel : "");
}

}  // namespace

std::string AlbumFileMessage(const AlbumFileResult& result) {
  switch (result.fault) {
    case AlbumFault::kNone: break;
    case AlbumFault::kTooManyFields: return messages::kTooManyFields;
    case AlbumFault::kFieldTooLong: return messages::FieldTooLong(result.at);
    case AlbumFault::kFieldNotText: return messages::FieldNotText(result.at);
    case AlbumFault::kCommaRefused: return messages::kCommaRefused + CsvFieldLabel(result.at);
    case AlbumFault::kCharacterRefused: return messages::kCharacterRefused + CsvFieldLabel(result.at);
    case AlbumFault::kTooManyTracks: return messages::CueTooManyTracks(result.at);
    case AlbumFault::kNoTracks: return messages::kCueNoTracks;
    case AlbumFault::kLineNotText: return messages::CueLineNotText(result.at);
  }
  if (result.file.Ok()) return std::string();
  return result.file.step == FileStep::kWrite ? messages::kFileWriteFailed : messages::kFileOpenFailed;
}

}  // namespace vrellix
