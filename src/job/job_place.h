// Where an entry job was when it failed or was stopped, and the job that
// continues from there.
//
// The job enters whole fields (it erases a field before typing), so a job that
// continues enters the interrupted field again, whole. A job that ended among
// the three header fields (title, reading, artist) starts over; one that ended
// during track N leaves the header fields out and enters only the ticked tracks
// from N on: the job's own path for an album without header texts, which it
// begins from the playlist list. Before it, the user brings the device back to
// the playlist list with the album's playlist highlighted
// (messages::kReturnToPlaylist says so).
//
// For a front end, after a failure or a stop:
//   std::optional<JobPlace> place = runner.StoppedAt();
//   show messages::StoppedAt(PlaceLabel(*place)) and messages::kReturnToPlaylist;
//   if the user wants to continue:
//     AlbumToEnter next = ContinueFrom(album, checks, *place);
//     runner.SetAlbum(next); start as usual.
#pragma once

#include <array>
#include <string>

#include "album/album.h"

namespace vrellix {

struct JobPlace {
  enum class Kind { kTitle, kYomi, kArtist, kTrack };
  Kind kind = Kind::kTitle;  // the default place is the start of the album
  int track = 0;       // kTrack: the track's number as the user sees it, 1..50

  static JobPlace Track(int number) { return JobPlace{Kind::kTrack, number}; }
  // True for a header field: continuing from here is starting over.
  bool IsStart() const { return kind != Kind::kTrack; }
  bool operator==(const JobPlace& other) const { return kind == other.kind && track == other.track; }
  bool operator!=(const JobPlace& other) const { return !(*this == other); }
};

// The field's name for the user: "タイトル", "よみ", "アーティスト", "トラック2".
std::string PlaceLabel(const JobPlace& place);

// An album and its rows' check marks, as a job takes them.
struct AlbumToEnter {
  Album album;
  std::array<bool, kTrackCount> checks{};
  // Selected tracks of the whole album before the first one this job enters,
  // so that a job that continues counts its tracks as the album does.
  int tracksBefore = 0;
};

// What a job that continues from place enters: from a header field the album
// as it is; from track N the album without its header texts, with the rows
// before N unticked and the selected tracks among them counted. A copy: the
// caller's check marks are left as they are.
AlbumToEnter ContinueFrom(const Album& album, const std::array<bool, kTrackCount>& checks, const JobPlace& place);

}  // namespace vrellix
