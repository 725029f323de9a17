// The reading suggestions as the windows offer them: the readings of a name to
// pick from for a reading field (よみを推定), the name in kana of either script
// for a name field (かなに変換), and every empty reading of the album at once
// (よみを一括推定). Nothing changes until the user picks; what the user picks,
// and the readings of an album saved, are learned (reading/learned_readings.h).
// Both window programs and the track edit dialog use it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "album/album.h"
#include "reading/learned_readings.h"
#include "reading/reading_provider.h"
#include "window/menu_model.h"
#include "window/message.h"
#include "window/reading_choice_view.h"

namespace vrellix {

class ReadingActions {
 public:
  // How many readings or names a menu or the dialog offers.
  static constexpr std::size_t kCandidates = 5;

  using Put = std::function<void(const std::string&)>;

  // provider: where readings come from, not owned; nullptr: the system's,
  // made on first use (on the window thread). store: the file of learned
  // readings; nothing: the user's (LearnedReadingsFile); empty: none, what is
  // learned lasts as long as this object.
  explicit ReadingActions(ReadingProvider* provider = nullptr, std::optional<std::string> store = std::nullopt);
  ~ReadingActions();
  ReadingActions(const ReadingActions&) = delete;
  ReadingActions& operator=(const ReadingActions&) = delete;

  // よみを推定 for the reading of name: a submenu of its readings, best first,
  // each of which put puts into the reading field and which is learned, then
  // その他…, which runs typeOwn. Without a reading to offer, an item that
  // says why. view outlives the menu.
  MenuItem ReadingItem(MessageView& view, const std::string& name, Put put, std::function<void()> typeOwn);

  // かなに変換 for the name field: an item for hiragana and one for katakana,
  // each a submenu of the name in kana of that script, the parts the field
  // would not take marked 【】; put puts the one picked into the field, which
  // then says what is still to correct. Without one to offer, the item says why.
  Menu NameItems(MessageView& view, AlbumField field, const std::string& name, Put put);

  // よみを一括推定: every empty reading of the title and the named tracks with
  // its candidates, through choose (the dialog), which may uncheck, pick and
  // type; the names left unread are listed with why. The album with the
  // checked readings filled in, which are learned; nothing when cancelled or
  // when there is nothing to fill (said in a box).
  std::optional<EditedAlbum> FillReadings(MessageView& view, const EditedAlbum& album,
                                          const std::function<bool(ReadingChoices&)>& choose);

  // After album was saved: learns each reading of a title or track whose name
  // holds kanji, and each name converted to kana and corrected since (米津玄師
  // made ヨネツゲンシ and corrected to ヨネヅケンシ teaches よねづけんし).
  void LearnFromAlbum(MessageView& view, const EditedAlbum& album);

  // Another album: the names converted so far are no longer in it.
  void ForgetConversions() { m_converted.clear(); }

 private:
  // A name converted to kana in a field.
  struct Conversion {
    AlbumField field;
    std::string name;     // as it was
    std::string reading;  // of the kana picked
  };

  // The store, read on first use; the provider with its readings first.
  LearnedReadings& Store(MessageView& view);
  ReadingProvider& Provider(MessageView& view);
  void Learn(MessageView& view, const std::vector<LearnedPair>& pairs);
  void Converted(MessageView& view, AlbumField field, const std::string& name, const std::string& kana);

  ReadingProvider* m_pBase;
  std::unique_ptr<ReadingProvider> m_pSystemProvider;
  std::optional<std::string> m_store;
  std::unique_ptr<LearnedReadings> m_pLearned;
  std::unique_ptr<LearningReadingProvider> m_pProvider;
  std::vector<Conversion> m_converted;
};

}  // namespace vrellix
