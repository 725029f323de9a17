// The album in its two forms: as the user edits it, and as the entry job reads it.
#pragma once

#include <array>
#include <string>

namespace vrellix {

constexpr int kTrackCount = 50;
constexpr int kFieldLimitBytes = 32;

// Entry form: Shift-JIS (code page 932) bytes, filled only by the Start checks
// after every field passed, read by the entry job.
struct AlbumTrack {
  std::string Name;
  std::string Yomi;
};

struct Album {
  std::string Title;
  std::string Yomi;
  std::string Artist;
  std::array<AlbumTrack, kTrackCount> Tracks;
};

// Edited form, as the window (or the command line) holds it. Texts are UTF-8
// because the user may type what code page 932 cannot hold; that is refused at
// Start, not while typing. Row r is track r + 1.
struct EditedRow {
  std::string name;
  std::string yomi;
  bool checked = false;
};

struct EditedAlbum {
  std::string title;
  std::string yomi;
  std::string artist;
  std::array<EditedRow, kTrackCount> rows;
};

// One text of the edited album.
struct AlbumField {
  enum class Kind { kTitle, kYomi, kArtist, kTrackName, kTrackYomi };
  Kind kind = Kind::kTitle;
  int track = 0;  // 1..50 for the track kinds, 0 otherwise

  bool operator==(const AlbumField& other) const { return kind == other.kind && track == other.track; }
  bool operator!=(const AlbumField& other) const { return !(*this == other); }
};

// How messages and lists name the field (UTF-8): "タイトル", "よみ", "アーティスト",
// "トラック3の曲名", "トラック3のよみ".
std::string FieldName(AlbumField field);

}  // namespace vrellix
