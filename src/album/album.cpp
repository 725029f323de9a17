#include "album/album.h"

#include "messages/messages.h"

namespace vrellix {

std::string FieldName(AlbumField field) {
  switch (field.kind) {
    case AlbumField::Kind::kTitle: return messages::kPlaceTitle;
    case AlbumField::Kind::kYomi: return messages::kPlaceYomi;
    case AlbumField::Kind::kArtist: return messages::kPlaceArtist;
    case AlbumField::Kind::kTrackName: return messages::TrackNameField(field.track);
    case AlbumField::Kind::kTrackYomi: break;
  }
  return messages::TrackYomiField(field.track);
}

}  // namespace vrellix
