#include "window/reading_actions.h"

#include <utility>
#include <vector>

#include "messages/messages.h"

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

std::string ChangeLine(const FieldChange& change) {
  return FieldName(change.field) + ": " + change.before + " → " + Marked(change.after, change.unfit);
}

// note: a paragraph before the question (empty: none).
bool Accepted(MessageView& view, const std::vector<FieldChange>& changes, const std::string& note = "") {
  std::string text = (note.empty() ? "" : note + "\n\n") + messages::kChangeQuestion;
  bool unfit = false;
  for (const FieldChange& change : changes) {
    text += "\n" + ChangeLine(change);
    unfit = unfit || !change.unfit.empty();
  }
  if (unfit) text += std::string("\n\n") + messages::kUnfitMarked;
  return view.ShowMessage({text, MessageIcon::kInformation, MessageButtons::kYesNo}) == Answer::kYes;
}

void Tell(MessageView& view, const std::string& text) { view.ShowMessage({text, MessageIcon::kInformation}); }

}  // namespace

ReadingActions::ReadingActions(ReadingProvider* provider) : m_pProvider(provider) {}

ReadingActions::~ReadingActions() = default;

ReadingProvider& ReadingActions::Provider() {
  if (!m_pProvider) {
    m_pSystemProvider = MakeSystemReadingProvider();
    m_pProvider = m_pSystemProvider.get();
  }
  return *m_pProvider;
}

std::optional<std::string> ReadingActions::SuggestReading(MessageView& view, AlbumField field,
                                                          const std::string& name, const std::string& reading) {
  if (name.empty()) {
    Tell(view, messages::kNoNameToRead);
    return std::nullopt;
  }
  const ReadingSuggestion suggestion = vrellix::SuggestReading(Provider(), name);
  switch (suggestion.outcome) {
    case ReadingSuggestion::Outcome::kOffered: break;
    case ReadingSuggestion::Outcome::kUnavailable: Tell(view, suggestion.reason); return std::nullopt;
    case ReadingSuggestion::Outcome::kNoReading: Tell(view, messages::kNoReadingOffered); return std::nullopt;
    case ReadingSuggestion::Outcome::kTooLong: Tell(view, messages::kOfferedReadingTooLong); return std::nullopt;
  }
  if (suggestion.reading == reading) {
    Tell(view, messages::kNothingToChange);
    return std::nullopt;
  }
  if (!Accepted(view, {FieldChange{field, reading, suggestion.reading, {}}})) return std::nullopt;
  return suggestion.reading;
}

std::optional<std::string> ReadingActions::ConvertName(MessageView& view, AlbumField field, const std::string& name,
                                                       KanaStyle style) {
  NameSuggestion suggestion = SuggestName(Provider(), name, style);
  switch (suggestion.outcome) {
    case NameSuggestion::Outcome::kSuggested: break;
    case NameSuggestion::Outcome::kUnavailable: Tell(view, suggestion.reason); return std::nullopt;
    case NameSuggestion::Outcome::kNoKanji: Tell(view, messages::kNoKanjiToConvert); return std::nullopt;
  }
  if (suggestion.text == name) {
    Tell(view, messages::kNoReadingOffered);
    return std::nullopt;
  }
  if (!Accepted(view, {FieldChange{field, name, suggestion.text, suggestion.unfit}})) return std::nullopt;
  return std::move(suggestion.text);
}

std::optional<EditedAlbum> ReadingActions::FillReadings(MessageView& view, const EditedAlbum& album) {
  const AlbumReadings readings = SuggestAlbumReadings(Provider(), album, AlbumReadingOptions{});
  // What needs no readings of kanji is still offered, in the same box as the
  // reason why the rest is not.
  const std::string& reason = readings.unavailable;
  if (readings.changes.empty()) {
    Tell(view, (reason.empty() ? "" : reason + "\n\n") + messages::kNothingToChange);
    return std::nullopt;
  }
  if (!Accepted(view, readings.changes, reason)) return std::nullopt;
  return ApplyFieldChanges(album, readings.changes);
}

}  // namespace vrellix
