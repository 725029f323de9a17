#include "album/album.h"

#include "messages/messages.h"

namespace vrellix {

std::string FieldName(AlbumField field) {
  switch (field.kind) {
    case AlbumField::kTitle: return messages::kPlaceTitle;
    case AlbumField::kYomi: return messages::kPlaceYomi;
    case AlbumField::kArtist: return messages::kPlaceArtist;
    case AlbumField::kTrackName: return messages::TrackNameField(field.track);
    case AlbumField::kTrackYomi: break;
  }
  return messages::TrackYomiField(field.track);
}

}  // namespace vrellix
