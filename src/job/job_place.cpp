#include "job/job_place.h"

#include "messages/messages.h"

namespace vrellix {

std::string PlaceLabel(const JobPlace& place) {
  switch (place.kind) {
    case JobPlace::Kind::kTitle: return messages::kPlaceTitle;
    case JobPlace::Kind::kYomi: return messages::kPlaceYomi;
    case JobPlace::Kind::kArtist: return messages::kPlaceArtist;
    case JobPlace::Kind::kTrack: break;
  }
  return messages::PlaceTrack(place.track);
}

AlbumToEnter ContinueFrom(const Album& album, const std::array<bool, kTrackCount>& checks, const JobPlace& place) {
  AlbumToEnter next{album, checks};
  if (place.IsStart()) return next;
  // Without header texts the job goes straight to the track list.
  next.album.Title.clear();
  next.album.Yomi.clear();
  next.album.Artist.clear();
  for (int row = 0; row < place.track - 1 && row < kTrackCount; ++row) {
    const std::size_t r = static_cast<std::size_t>(row);
    if (next.checks[r] && !album.Tracks[r].Name.empty()) ++next.tracksBefore;
    next.checks[r] = false;
  }
  return next;
}

}  // namespace vrellix
