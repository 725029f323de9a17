#include "reading/album_readings.h"

#include <cstddef>


namespace vrellix {
namespace {

EditedRow& Row(EditedAlbum& album, int track) { return album.rows[static_cast<std::size_t>(track - 1)]; }

void SuggestReadingFor(ReadingProvider& provider, const EditedAlbum& album, AlbumField nameField,
                       AlbumField readingField, const AlbumReadingOptions& options, AlbumReadings& out) {
  const std::string& name = FieldText(album, nameField);
  const std::string& reading = FieldText(album, readingField);
  if (name.empty() || (!reading.empty() && !options.overwriteReadings)) return;
  ReadingSuggestion suggestion = SuggestReadings(provider, name, options.candidates);
  if (suggestion.outcome == ReadingSuggestion::Outcome::kUnavailable) {
    out.unavailable = suggestion.reason;
  } else if (suggestion.outcome != ReadingSuggestion::Outcome::kOffered) {
    out.unread.push_back(UnreadField{readingField, suggestion.outcome});
  } else if (suggestion.readings.front() != reading) {
    std::string after = suggestion.readings.front();
    out.changes.push_back(FieldChange{readingField, reading, std::move(after), {}, std::move(suggestion.readings)});
  }
}

void SuggestNameFor(ReadingProvider& provider, const EditedAlbum& album, AlbumField field, KanaStyle style,
                    AlbumReadings& out) {
  const std::string& name = FieldText(album, field);
  NameSuggestion suggestion = SuggestNames(provider, name, style);
  if (suggestion.outcome == NameSuggestion::Outcome::kUnavailable) out.unavailable = suggestion.reason;
  if (suggestion.outcome != NameSuggestion::Outcome::kSuggested) return;
  KanaName& first = suggestion.names.front();
  out.changes.push_back(FieldChange{field, name, std::move(first.text), std::move(first.unfit), {}});
}

}  // namespace

std::string& FieldText(EditedAlbum& album, AlbumField field) {
  switch (field.kind) {
    case AlbumField::Kind::kTitle: return album.title;
    case AlbumField::Kind::kYomi: return album.yomi;
    case AlbumField::Kind::kArtist: return album.artist;
    case AlbumField::Kind::kTrackName: return Row(album, field.track).name;
    case AlbumField::Kind::kTrackYomi: break;
  }
  return Row(album, field.track).yomi;
}

const std::string& FieldText(const EditedAlbum& album, AlbumField field) {
  return FieldText(const_cast<EditedAlbum&>(album), field);
}

AlbumReadings SuggestAlbumReadings(ReadingProvider& provider, const EditedAlbum& album,
                                   const AlbumReadingOptions& options) {
  AlbumReadings out;
  const auto name = [&](AlbumField field) {
    if (options.names) SuggestNameFor(provider, album, field, *options.names, out);
  };
  name({AlbumField::Kind::kTitle, 0});
  SuggestReadingFor(provider, album, {AlbumField::Kind::kTitle, 0}, {AlbumField::Kind::kYomi, 0}, options, out);
  name({AlbumField::Kind::kArtist, 0});
  for (int track = 1; track <= kTrackCount; ++track) {
    name({AlbumField::Kind::kTrackName, track});
    SuggestReadingFor(provider, album, {AlbumField::Kind::kTrackName, track},
                      {AlbumField::Kind::kTrackYomi, track}, options, out);
  }
  return out;
}

EditedAlbum ApplyFieldChanges(EditedAlbum album, const std::vector<FieldChange>& changes) {
  for (const FieldChange& change : changes) FieldText(album, change.field) = change.after;
  return album;
}

}  // namespace vrellix
