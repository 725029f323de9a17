#include "reading/suggestions.h"

#include <algorithm>
#include <optional>

#include "album/album.h"
#include "entry/char_class.h"
#include "text/text_codec.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

using reading::EnterableKana;
using reading::IsKanaLike;
using reading::IsKanjiLike;

// Spelling a Latin word letter by letter is how initials are read (B'z, TM),
// rarely how a word is.
constexpr size_t kMaxSpelledLetters = 3;

bool HasKanji(std::u32string_view text) { return std::any_of(text.begin(), text.end(), IsKanjiLike); }

bool HasLongLatinWord(std::u32string_view text) {
  size_t run = 0;
  for (char32_t c : text) {
    run = reading::IsLatinLetter(c) ? run + 1 : 0;
    if (run > kMaxSpelledLetters) return true;
  }
  return false;
}

// A piece without kanji in hiragana: kana converted, letters and digits
// spelled, everything else dropped. Nothing when a kana run has no enterable form.
std::optional<std::u32string> ReadingOfKanaAndSigns(std::u32string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    if (!IsKanaLike(text[i])) {
      // A kana mark the device has no form for (ゝ ゞ ヽ ヾ) would change the
      // reading if dropped; ・ is punctuation.
      if (text[i] >= 0x3040 && text[i] <= 0x30FF && text[i] != U'・') return std::nullopt;
      out += reading::SpokenName(text[i++]);
      continue;
    }
    const size_t end = std::find_if_not(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(), IsKanaLike) -
                       text.begin();
    const std::optional<std::u32string> kana = EnterableKana(text.substr(i, end - i), KanaStyle::kHiragana);
    if (!kana) return std::nullopt;
    out += *kana;
    i = end;
  }
  return out;
}

ReadingSuggestion NoReading() { return ReadingSuggestion{}; }

// Hiragana as katakana, for matching a surface's kana against a reading.
char32_t Folded(char32_t c) { return c >= 0x3041 && c <= 0x3096 ? c + 0x60 : c; }

// One segment's surface cut into runs of kanji and single other characters.
struct Part {
  size_t begin;
  size_t end;
  bool kanji;
};

std::vector<Part> Parts(std::u32string_view surface) {
  std::vector<Part> parts;
  for (size_t i = 0; i < surface.size(); ++i) {
    const bool kanji = IsKanjiLike(surface[i]);
    if (kanji && !parts.empty() && parts.back().kanji && parts.back().end == i) {
      parts.back().end = i + 1;
    } else {
      parts.push_back(Part{i, i + 1, kanji});
    }
  }
  return parts;
}

// Where each part's reading starts in reading (cuts[p], with cuts[parts.size()]
// the end): the other characters must stand in the reading as they are (kana
// of either kind), each kanji run takes at least one character between them,
// the shortest first. Memoised, so a long text cannot take long.
class Aligner {
 public:
  Aligner(std::u32string_view surface, std::u32string_view reading, const std::vector<Part>& parts)
      : m_surface(surface), m_reading(reading), m_parts(parts), m_failed((parts.size() + 1) * (reading.size() + 1)) {}

  std::optional<std::vector<size_t>> Cuts() {
    std::vector<size_t> cuts(m_parts.size() + 1);
    if (!Align(0, 0, cuts)) return std::nullopt;
    return cuts;
  }

 private:
  bool Align(size_t p, size_t pos, std::vector<size_t>& cuts) {
    cuts[p] = pos;
    if (p == m_parts.size()) return pos == m_reading.size();
    const size_t state = p * (m_reading.size() + 1) + pos;
    if (m_failed[state]) return false;
    const Part& part = m_parts[p];
    if (!part.kanji) {
      if (pos < m_reading.size() && Folded(m_reading[pos]) == Folded(m_surface[part.begin]) &&
          Align(p + 1, pos + 1, cuts)) {
        return true;
      }
    } else {
      for (size_t end = pos + 1; end <= m_reading.size(); ++end) {
        if (Align(p + 1, end, cuts)) return true;
      }
    }
    m_failed[state] = true;
    return false;
  }

  std::u32string_view m_surface;
  std::u32string_view m_reading;
  const std::vector<Part>& m_parts;
  std::vector<bool> m_failed;
};

// A word is a few characters; the bound keeps the aligner's recursion and
// table small whatever a provider makes one segment.
constexpr size_t kMaxAlignedCharacters = 256;

// The segment with each kanji run replaced by its share of the reading; a run
// stays when the reading does not align with the surface or its share is not kana.
std::u32string WithKanjiRead(std::u32string_view surface, std::u32string_view reading, KanaStyle style) {
  if (surface.size() > kMaxAlignedCharacters || reading.size() > 4 * kMaxAlignedCharacters) {
    return std::u32string(surface);
  }
  const std::vector<Part> parts = Parts(surface);
  const std::optional<std::vector<size_t>> cuts = Aligner(surface, reading, parts).Cuts();
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

ReadingSuggestion SuggestReading(ReadingProvider& provider, std::string_view name) {
  if (!IsValidUtf8(name)) return NoReading();
  const std::u32string text = Utf8ToCodePoints(name);
  if (HasLongLatinWord(text)) return NoReading();

  std::vector<ReadingSegment> segments{ReadingSegment{std::string(name), std::string()}};
  if (HasKanji(text)) {
    if (!provider.Available()) {
      return ReadingSuggestion{ReadingSuggestion::Outcome::kUnavailable, {}, provider.UnavailableReason()};
    }
    segments = provider.Read(name);
  }
  // A word with kanji takes its reading whole; the text between such words is
  // read from its own characters, in one piece, so a voicing mark that the
  // provider cut off still finds its kana.
  std::u32string hiragana;
  std::u32string between;
  for (const ReadingSegment& segment : segments) {
    const std::u32string surface = Utf8ToCodePoints(segment.surface);
    if (!HasKanji(surface)) {
      between += surface;
      continue;
    }
    const std::optional<std::u32string> before = ReadingOfKanaAndSigns(between);
    const std::optional<std::u32string> word = EnterableKana(Utf8ToCodePoints(segment.reading), KanaStyle::kHiragana);
    if (!before || !word || word->empty()) return NoReading();
    hiragana += *before + *word;
    between.clear();
  }
  const std::optional<std::u32string> last = ReadingOfKanaAndSigns(between);
  if (!last) return NoReading();
  hiragana += *last;

  // The Start checks decide, on the bytes that would be entered.
  std::string reading = CodePointsToUtf8(hiragana);
  const std::optional<std::string> cp932 = Utf8ToCp932(reading);
  if (hiragana.empty() || !cp932 || !CheckInputString(*cp932, CheckMode::kReading)) return NoReading();
  if (cp932->size() > static_cast<size_t>(kFieldLimitBytes)) {
    return ReadingSuggestion{ReadingSuggestion::Outcome::kTooLong, {}, {}};
  }
  return ReadingSuggestion{ReadingSuggestion::Outcome::kOffered, std::move(reading), {}};
}

NameSuggestion SuggestName(ReadingProvider& provider, std::string_view name, KanaStyle style) {
  NameSuggestion result;
  if (!IsValidUtf8(name) || !HasKanji(Utf8ToCodePoints(name))) return result;
  if (!provider.Available()) {
    result.outcome = NameSuggestion::Outcome::kUnavailable;
    result.reason = provider.UnavailableReason();
    return result;
  }
  std::u32string text;
  for (const ReadingSegment& segment : provider.Read(name)) {
    const std::u32string surface = Utf8ToCodePoints(segment.surface);
    text += HasKanji(surface) ? WithKanjiRead(surface, Utf8ToCodePoints(segment.reading), style) : surface;
  }
  result.outcome = NameSuggestion::Outcome::kSuggested;
  result.text = CodePointsToUtf8(text);
  result.unfit = UnfitForName(result.text);
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

}  // namespace vrellix
