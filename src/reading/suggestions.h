// Suggestions for the texts the device cannot take as written: a reading for
// any name, and a name with its kanji replaced by kana. They are only ever
// offered; the album changes only when the user takes one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "reading/kana.h"
#include "reading/reading_provider.h"

namespace vrellix {

struct ReadingSuggestion {
  enum class Outcome {
    kOffered,      // reading passes the Start checks for a reading
    kUnavailable,  // the name has kanji and this system gives no readings (reason says why)
    kNoReading,    // a part has no reading (an unknown kanji, a Latin word of four or more letters), or none is left
    kTooLong,      // more than the 16 characters of a reading field
  };
  Outcome outcome = Outcome::kNoReading;
  std::string reading;  // kOffered: hiragana, ー 、 。, 1 to 16 characters (UTF-8)
  std::string reason;   // kUnavailable: the provider's reason
};

// A reading for the UTF-8 name in the form the reading field takes: each kanji
// word as the provider reads it, kana as hiragana (ー kept), letters and
// digits spelled by their names (B'z: びーぜっと; ２０: にぜろ), but only in
// Latin words of at most three letters, since spelling a longer word out is
// rarely how it is read; spaces and other symbols dropped. Needs the provider
// only when the name holds kanji.
ReadingSuggestion SuggestReading(ReadingProvider& provider, std::string_view name);

struct TextSpan {
  size_t begin = 0;  // UTF-8 byte offsets into the text; end excluded
  size_t end = 0;
};

struct NameSuggestion {
  enum class Outcome {
    kSuggested,
    kNoKanji,      // nothing to replace (or not valid UTF-8)
    kUnavailable,  // this system gives no readings (reason says why)
  };
  Outcome outcome = Outcome::kNoKanji;
  std::string text;  // kSuggested: the name with each kanji run replaced by its reading, all else as it was
  // kSuggested: the parts of text that the name field does not take, as
  // UnfitForName gives them; empty when text passes the Start checks.
  std::vector<TextSpan> unfit;
  std::string reason;  // kUnavailable: the provider's reason
};

// The UTF-8 name with each run of kanji replaced by its reading in the style
// (a kanji the provider cannot read stays). Every other character stays as it
// is, enterable or not.
NameSuggestion SuggestName(ReadingProvider& provider, std::string_view name, KanaStyle style);

// The parts of the valid UTF-8 text that a title, artist or track name field
// does not take: each character the device cannot enter, and everything from
// the first character that ends beyond the field's 32 bytes. Adjacent parts
// are joined.
std::vector<TextSpan> UnfitForName(std::string_view utf8);

}  // namespace vrellix
