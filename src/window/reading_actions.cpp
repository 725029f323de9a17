#include "window/reading_actions.h"

#include <algorithm>
#include <utility>

#include "fileio/user_folders.h"
#include "messages/messages.h"
#include "reading/album_readings.h"
#include "reading/kana.h"
#include "reading/suggestions.h"
#include "text/text_codec.h"

namespace vrellix {
namespace {

// 【】 around each part of the text that the field does not take.
std::string Marked(const std::string& text, const std::vector<TextSpan>& unfit) {
  std::string marked;
  size_t at = 0;
  for (const TextSpan& span : unfit) {
    marked += text.substr(at, span.begin - at) + "【" + text.substr(span.begin, span.end - span.begin) + "】";
    at = span.end;
  }
  return marked + text.substr(at);
}

void Tell(MessageView& view, const std::string& text, MessageIcon icon = MessageIcon::kInformation) {
  view.ShowMessage({text, icon});
}

// An item that only says why it offers nothing.
MenuItem Telling(MessageView& view, const char* label, std::string why) {
  return {label, [&view, why = std::move(why)] { Tell(view, why); }};
}

std::string WhyNoReading(const ReadingSuggestion& suggestion) {
  switch (suggestion.outcome) {
    case ReadingSuggestion::Outcome::kUnavailable: return suggestion.reason;
    case ReadingSuggestion::Outcome::kLatinWord: return messages::kLatinWordNotRead;
    case ReadingSuggestion::Outcome::kNothingToRead: return messages::kNothingToRead;
    case ReadingSuggestion::Outcome::kTooLong: return messages::kOfferedReadingTooLong;
    case ReadingSuggestion::Outcome::kNoReading:
    case ReadingSuggestion::Outcome::kOffered: break;
  }
  return messages::kNoReadingOffered;
}

// The name field a reading field belongs to.
AlbumField NameFieldOf(AlbumField reading) {
  return reading.kind == AlbumField::Kind::kYomi ? AlbumField{AlbumField::Kind::kTitle, 0}
                                           : AlbumField{AlbumField::Kind::kTrackName, reading.track};
}

// The reading of a name without kanji, as the reading field takes it; empty when there is none.
std::string KanaReading(ReadingProvider& provider, const std::string& kana) {
  if (reading::HasKanji(Utf8ToCodePoints(kana))) return {};
  const ReadingSuggestion suggestion = SuggestReadings(provider, kana);
  return suggestion.outcome == ReadingSuggestion::Outcome::kOffered ? suggestion.readings.front() : std::string();
}

// True when b could be a correction of a: at most half of the longer changed.
bool Corrects(const std::u32string& a, const std::u32string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return 2 * row[b.size()] <= std::max(a.size(), b.size());
}

}  // namespace

ReadingActions::ReadingActions(ReadingProvider* provider, std::optional<std::string> store)
    : m_pBase(provider), m_store(std::move(store)) {}

ReadingActions::~ReadingActions() = default;

LearnedReadings& ReadingActions::Store(MessageView& view) {
  if (m_pLearned) return *m_pLearned;
  m_pLearned = std::make_unique<LearnedReadings>(m_store ? *m_store : LearnedReadingsFile());
  // The suggestions go on without what the store holds.
  if (const FileResult loaded = m_pLearned->Load(); !loaded.Ok()) {
    Tell(view, messages::LearnedReadingsNotRead(m_pLearned->Path(), FileFailureReason(loaded)), MessageIcon::kWarning);
  }
  return *m_pLearned;
}

ReadingProvider& ReadingActions::Provider(MessageView& view) {
  if (m_pProvider) return *m_pProvider;
  if (!m_pBase) {
    m_pSystemProvider = MakeSystemReadingProvider();
    m_pBase = m_pSystemProvider.get();
  }
  m_pProvider = std::make_unique<LearningReadingProvider>(*m_pBase, Store(view));
  return *m_pProvider;
}

void ReadingActions::Learn(MessageView& view, const std::vector<LearnedPair>& pairs) {
  const FileResult learned = Store(view).Learn(pairs);
  if (!learned.Ok()) {
    Tell(view, messages::LearnedReadingsNotSaved(m_pLearned->Path(), FileFailureReason(learned)), MessageIcon::kWarning);
  }
}

void ReadingActions::Converted(MessageView& view, AlbumField field, const std::string& name, const std::string& kana) {
  const std::string reading = KanaReading(Provider(view), kana);
  m_converted.erase(std::remove_if(m_converted.begin(), m_converted.end(),
                                   [&](const Conversion& conversion) { return conversion.field == field; }),
                    m_converted.end());
  if (reading.empty()) return;
  m_converted.push_back(Conversion{field, name, reading});
  Learn(view, {{name, reading}});
}

MenuItem ReadingActions::ReadingItem(MessageView& view, const std::string& name, Put put,
                                     std::function<void()> typeOwn) {
  if (name.find_first_not_of(" \t") == std::string::npos) {
    return Telling(view, messages::kSuggestReadingItem, messages::kNoNameToRead);
  }
  const ReadingSuggestion suggestion = SuggestReadings(Provider(view), name, kCandidates);
  if (suggestion.outcome != ReadingSuggestion::Outcome::kOffered) {
    return Telling(view, messages::kSuggestReadingItem, WhyNoReading(suggestion));
  }
  Menu items;
  for (const std::string& reading : suggestion.readings) {
    items.push_back({LiteralLabel(reading), [this, &view, name, reading, put] {
                       put(reading);
                       Learn(view, {{name, reading}});
                     }});
  }
  items.push_back(Separator());
  items.push_back({messages::kOtherReadingItem, std::move(typeOwn)});
  return Submenu(messages::kSuggestReadingItem, std::move(items));
}

Menu ReadingActions::NameItems(MessageView& view, AlbumField field, const std::string& name, Put put) {
  Menu menu;
  for (KanaStyle style : {KanaStyle::kHiragana, KanaStyle::kKatakana}) {
    const char* label = style == KanaStyle::kHiragana ? messages::kToHiraganaItem : messages::kToKatakanaItem;
    const NameSuggestion suggestion = SuggestNames(Provider(view), name, style, kCandidates);
    if (suggestion.outcome != NameSuggestion::Outcome::kSuggested) {
      const std::string why = suggestion.outcome == NameSuggestion::Outcome::kUnavailable ? suggestion.reason
                              : suggestion.outcome == NameSuggestion::Outcome::kNoReading ? messages::kNoReadingOffered
                                                                                 : messages::kNothingToChange;
      menu.push_back(Telling(view, label, why));
      continue;
    }
    Menu items;
    for (const KanaName& kana : suggestion.names) {
      const std::string marked = Marked(kana.text, kana.unfit);
      items.push_back({LiteralLabel(marked), [this, &view, field, name, kana, marked, put] {
                         put(kana.text);
                         Converted(view, field, name, kana.text);
                         if (!kana.unfit.empty()) Tell(view, marked + "\n\n" + messages::kUnfitMarked);
                       }});
    }
    menu.push_back(Submenu(label, std::move(items)));
  }
  return menu;
}

std::optional<EditedAlbum> ReadingActions::FillReadings(MessageView& view, const EditedAlbum& album,
                                                        const std::function<bool(ReadingChoices&)>& choose) {
  AlbumReadingOptions options;
  options.candidates = kCandidates;
  const AlbumReadings readings = SuggestAlbumReadings(Provider(view), album, options);
  ReadingChoices choices;
  for (const FieldChange& change : readings.changes) {
    choices.rows.push_back(
        ReadingChoice{change.field, FieldText(album, NameFieldOf(change.field)), change.candidates, change.after, true});
  }
  std::string unread;
  for (const UnreadField& field : readings.unread) {
    const AlbumField name = NameFieldOf(field.field);
    ReadingSuggestion why;
    why.outcome = field.why;
    choices.skipped.push_back(messages::SkippedName(FieldName(name), FieldText(album, name), WhyNoReading(why)));
    unread += "\n" + choices.skipped.back();
  }
  // What needs no readings of kanji is still offered, under the reason why the
  // rest is not.
  const std::string& reason = readings.unavailable;
  if (choices.rows.empty()) {
    Tell(view, (reason.empty() ? "" : reason + "\n\n") + messages::kNothingToChange + unread);
    return std::nullopt;
  }
  if (!reason.empty()) choices.skipped.insert(choices.skipped.begin(), reason);
  if (!choose(choices)) return std::nullopt;
  EditedAlbum filled = album;
  std::vector<LearnedPair> pairs;
  for (const ReadingChoice& choice : choices.rows) {
    if (!choice.checked) continue;
    FieldText(filled, choice.field) = choice.reading;
    pairs.push_back({choice.name, choice.reading});
  }
  Learn(view, pairs);
  return filled;
}

void ReadingActions::LearnFromAlbum(MessageView& view, const EditedAlbum& album) {
  std::vector<LearnedPair> pairs{{album.title, album.yomi}};
  for (const EditedRow& row : album.rows) pairs.push_back({row.name, row.yomi});
  // Not learnable pairs (no kanji, no reading) are left out by the store.
  for (const Conversion& conversion : m_converted) {
    const std::string reading = KanaReading(Provider(view), FieldText(album, conversion.field));
    if (!reading.empty() && Corrects(Utf8ToCodePoints(conversion.reading), Utf8ToCodePoints(reading))) {
      pairs.push_back({conversion.name, reading});
    }
  }
  Learn(view, pairs);
}

}  // namespace vrellix
