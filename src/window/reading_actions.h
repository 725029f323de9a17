// The reading suggestions as the windows offer them: for one field (よみを推定,
// かなに変換) and for the whole album at once. Each shows what it would change
// and changes nothing unless the user accepts; both window programs and the
// track edit dialog use it, through message boxes only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "album/album.h"
#include "reading/album_readings.h"
#include "reading/kana.h"
#include "reading/reading_provider.h"
#include "window/message.h"

namespace vrellix {

class ReadingActions {
 public:
  // provider: where readings come from, not owned; nullptr: the system's,
  // made on first use (on the window thread).
  explicit ReadingActions(ReadingProvider* provider = nullptr);
  ~ReadingActions();

  // よみを推定: the reading of name (UTF-8) for the field, once the user has
  // seen it replace reading and accepted. Nothing, after saying why, when no
  // reading can be offered.
  std::optional<std::string> SuggestReading(MessageView& view, AlbumField field, const std::string& name,
                                            const std::string& reading);

  // かなに変換: name with its kanji in kana of the style, once accepted; the
  // parts that the field would still not take are marked in the question.
  std::optional<std::string> ConvertName(MessageView& view, AlbumField field, const std::string& name,
                                         KanaStyle style);

  // Fills every empty reading of album: lists the changes and, once the user
  // accepts them, returns the album with them made.
  std::optional<EditedAlbum> FillReadings(MessageView& view, const EditedAlbum& album);

 private:
  ReadingProvider& Provider();

  ReadingProvider* m_pProvider;
  std::unique_ptr<ReadingProvider> m_pSystemProvider;
};

}  // namespace vrellix
