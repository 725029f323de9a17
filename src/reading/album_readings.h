// Readings and kana names for a whole album at once, as a list of changes that
// the user sees before any of them is made. The command line, the window
// logic and both window programs share it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "album/album.h"
#include "reading/suggestions.h"

namespace vrellix {

// The field's text in the album.
std::string& FieldText(EditedAlbum& album, AlbumField field);
const std::string& FieldText(const EditedAlbum& album, AlbumField field);

struct AlbumReadingOptions {
  bool overwriteReadings = false;  // a suggestion for every named reading, not only the empty ones
  std::optional<KanaStyle> names;  // names in kana of one script, this one; left as they are without
  std::size_t candidates = 1;      // readings offered for each reading field (FieldChange::candidates)
};

struct FieldChange {
  AlbumField field;
  std::string before;  // UTF-8
  std::string after;
  // Names only: the parts of after that the field does not take (see
  // UnfitForName); empty when after passes the Start checks.
  std::vector<TextSpan> unfit;
  // Readings only: every reading offered, best first (after is the first).
  std::vector<std::string> candidates;
};

// A reading that was wanted but for which nothing is offered.
struct UnreadField {
  AlbumField field;
  ReadingSuggestion::Outcome why = ReadingSuggestion::Outcome::kNoReading;  // neither kOffered nor kUnavailable
};

struct AlbumReadings {
  std::vector<FieldChange> changes;  // in the order of the fields: title, よみ, artist, then by track
  std::vector<UnreadField> unread;
  // Not empty when a name holds kanji and this system gives no readings: the
  // reason to show. Changes that need no readings are listed all the same.
  std::string unavailable;
};

// What the suggestions would change in album: each empty reading of a title or
// track with a name (every such reading with overwriteReadings) takes the
// reading of its name, as it was before any conversion; each name its kana
// form in one script when options.names is set. A suggestion equal to the text
// already there is no change.
AlbumReadings SuggestAlbumReadings(ReadingProvider& provider, const EditedAlbum& album,
                                   const AlbumReadingOptions& options);

// album with each change's after text in its field.
EditedAlbum ApplyFieldChanges(EditedAlbum album, const std::vector<FieldChange>& changes);

}  // namespace vrellix
