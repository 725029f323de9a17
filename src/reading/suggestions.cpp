#include "reading/suggestions.h"

#include <algorithm>
#include <optional>

#include "album/album.h"
#include "entry/char_class.h"
#include "reading/alignment.h"
#include "text/text_codec.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

using reading::EnterableKana;
using reading::HasKanji;
using reading::IsKanjiLike;

// MeCab's n-best paths often differ only in parts of speech: this many paths
// are looked at for each distinct reading wanted.
constexpr std::size_t kPathsPerCandidate = 12;
constexpr std::size_t kMaxPaths = 120;

std::size_t PathsFor(std::size_t count) { return std::clamp(count * kPathsPerCandidate, std::size_t{1}, kMaxPaths); }

struct PathReading {
  ReadingSuggestion::Outcome outcome = ReadingSuggestion::Outcome::kNoReading;
  std::string reading;  // kOffered
};

// Text between kanji words, read from its own characters.
std::optional<std::u32string> SignsRead(std::u32string_view text, ReadingSuggestion::Outcome& why) {
  if (reading::HasLatinWord(text)) {
    why = ReadingSuggestion::Outcome::kLatinWord;
    return std::nullopt;
  }
  return reading::ReadingOfKanaAndSigns(text);
}

// The reading of one analysis, or why it gives none. A word with kanji takes
// its reading whole; the text between such words is read from its own
// characters, in one piece, so a voicing mark that the provider cut off still
// finds its kana.
PathReading ReadingOf(const ReadingPath& path) {
  PathReading result;
  std::u32string hiragana;
  std::u32string between;
  for (const ReadingSegment& segment : path) {
    const std::u32string surface = Utf8ToCodePoints(segment.surface);
    if (!HasKanji(surface)) {
      between += surface;
      continue;
    }
    const std::optional<std::u32string> before = SignsRead(between, result.outcome);
    const std::optional<std::u32string> word = EnterableKana(Utf8ToCodePoints(segment.reading), KanaStyle::kHiragana);
    if (!before || !word || word->empty()) return result;
    hiragana += *before + *word;
    between.clear();
  }
  const std::optional<std::u32string> last = SignsRead(between, result.outcome);
  if (!last) return result;
  hiragana += *last;
  if (hiragana.empty()) {
    result.outcome = ReadingSuggestion::Outcome::kNothingToRead;
    return result;
  }
  // The Start checks decide, on the bytes that would be entered.
  std::string reading = CodePointsToUtf8(hiragana);
  const std::optional<std::string> cp932 = Utf8ToCp932(reading);
  if (!cp932 || !CheckInputString(*cp932, CheckMode::kReading)) return result;
  if (cp932->size() > static_cast<size_t>(kFieldLimitBytes)) {
    result.outcome = ReadingSuggestion::Outcome::kTooLong;
    return result;
  }
  result.outcome = ReadingSuggestion::Outcome::kOffered;
  result.reading = std::move(reading);
  return result;
}

// One segment's surface cut into runs of kanji and single other characters,
// each of which stands in the reading as it is.
std::vector<reading::NamePart> CharacterParts(std::u32string_view surface) {
  std::vector<reading::NamePart> parts;
  for (size_t i = 0; i < surface.size(); ++i) {
    const bool kanji = IsKanjiLike(surface[i]);
    if (kanji && !parts.empty() && parts.back().kanji && parts.back().end == i) {
      parts.back().end = i + 1;
    } else {
      parts.push_back(reading::NamePart{i, i + 1, kanji, kanji ? std::u32string() : std::u32string(1, surface[i])});
    }
  }
  return parts;
}

// The segment with each kanji run replaced by its share of the reading; a run
// stays when the reading does not align with the surface or its share is not kana.
std::u32string WithKanjiRead(std::u32string_view surface, std::u32string_view reading, KanaStyle style) {
  const std::vector<reading::NamePart> parts = CharacterParts(surface);
  const std::optional<std::vector<size_t>> cuts = reading::AlignReading(parts, reading);
  if (!cuts) return std::u32string(surface);
  std::u32string out;
  for (size_t p = 0; p < parts.size(); ++p) {
    const std::u32string_view written = surface.substr(parts[p].begin, parts[p].end - parts[p].begin);
    std::optional<std::u32string> kana;
    if (parts[p].kanji) kana = EnterableKana(reading.substr((*cuts)[p], (*cuts)[p + 1] - (*cuts)[p]), style);
    out += kana ? *kana : std::u32string(written);
  }
  return out;
}

// Marks that the text codec composes with the character before them.
bool IsCombining(char32_t c) { return (c >= 0x0300 && c <= 0x036F) || c == 0x3099 || c == 0x309A; }

}  // namespace

ReadingSuggestion SuggestReadings(ReadingProvider& provider, std::string_view name, std::size_t count) {
  ReadingSuggestion result;
  if (!IsValidUtf8(name)) return result;
  std::vector<ReadingPath> paths{{ReadingSegment{std::string(name), std::string()}}};
  if (HasKanji(Utf8ToCodePoints(name))) {
    if (!provider.Available()) {
      result.outcome = ReadingSuggestion::Outcome::kUnavailable;
      result.reason = provider.UnavailableReason();
      return result;
    }
    paths = provider.ReadPaths(name, PathsFor(count));
  }
  std::optional<ReadingSuggestion::Outcome> firstFailure;
  for (const ReadingPath& path : paths) {
    PathReading reading = ReadingOf(path);
    if (reading.outcome != ReadingSuggestion::Outcome::kOffered) {
      if (!firstFailure) firstFailure = reading.outcome;
    } else if (std::find(result.readings.begin(), result.readings.end(), reading.reading) == result.readings.end()) {
      result.readings.push_back(std::move(reading.reading));
      if (result.readings.size() >= count) break;
    }
  }
  result.outcome = result.readings.empty() ? firstFailure.value_or(ReadingSuggestion::Outcome::kNoReading)
                                           : ReadingSuggestion::Outcome::kOffered;
  return result;
}

NameSuggestion SuggestNames(ReadingProvider& provider, std::string_view name, KanaStyle style, std::size_t count) {
  NameSuggestion result;
  if (!IsValidUtf8(name)) return result;
  const bool kanji = HasKanji(Utf8ToCodePoints(name));
  std::vector<ReadingPath> paths{{ReadingSegment{std::string(name), std::string()}}};
  if (kanji) {
    if (!provider.Available()) {
      result.outcome = NameSuggestion::Outcome::kUnavailable;
      result.reason = provider.UnavailableReason();
      return result;
    }
    paths = provider.ReadPaths(name, PathsFor(count));
  }
  for (const ReadingPath& path : paths) {
    std::u32string text;
    for (const ReadingSegment& segment : path) {
      const std::u32string surface = Utf8ToCodePoints(segment.surface);
      text += HasKanji(surface) ? WithKanjiRead(surface, Utf8ToCodePoints(segment.reading), style) : surface;
    }
    std::string written = CodePointsToUtf8(reading::InOneScript(text, style));
    const auto same = [&](const KanaName& other) { return other.text == written; };
    if (written == name || std::any_of(result.names.begin(), result.names.end(), same)) continue;
    std::vector<TextSpan> unfit = UnfitForName(written);
    result.names.push_back(KanaName{std::move(written), std::move(unfit)});
    if (result.names.size() >= count) break;
  }
  if (!result.names.empty()) {
    result.outcome = NameSuggestion::Outcome::kSuggested;
  } else {
    result.outcome = kanji ? NameSuggestion::Outcome::kNoReading : NameSuggestion::Outcome::kUnchanged;
  }
  return result;
}

std::vector<TextSpan> UnfitForName(std::string_view utf8) {
  std::vector<TextSpan> unfit;
  size_t bytes = 0;  // code page 932 bytes up to the character's end
  for (size_t begin = 0; begin < utf8.size();) {
    const auto sequenceEnd = [&utf8](size_t at) {
      return std::min(at + Utf8SequenceLength(static_cast<unsigned char>(utf8[at])), utf8.size());
    };
    size_t end = sequenceEnd(begin);
    while (end < utf8.size()) {
      const size_t next = sequenceEnd(end);
      const std::u32string mark = Utf8ToCodePoints(utf8.substr(end, next - end));
      if (mark.empty() || !IsCombining(mark.front())) break;
      end = next;
    }
    const std::optional<std::string> cp932 = Utf8ToCp932(utf8.substr(begin, end - begin));
    bytes += cp932 ? cp932->size() : 2;  // as the length check counts one it cannot convert
    if (!cp932 || !CanEnterCharacter(*cp932) || bytes > static_cast<size_t>(kFieldLimitBytes)) {
      if (!unfit.empty() && unfit.back().end == begin) {
        unfit.back().end = end;
      } else {
        unfit.push_back(TextSpan{begin, end});
      }
    }
    begin = end;
  }
  return unfit;
}

bool FitsReadingField(std::string_view utf8) {
  const FieldCheck check = CheckFieldText(std::string(utf8), CheckMode::kReading);
  return check.count > 0 && check.count <= check.limit && check.faults.empty();
}

}  // namespace vrellix
