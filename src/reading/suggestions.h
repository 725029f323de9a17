// Suggestions for the texts the device cannot take as written: readings for
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
    kOffered,        // readings pass the Start checks for a reading
    kUnavailable,    // the name has kanji and this system gives no readings (reason says why)
    kNoReading,      // a kanji without a reading, or a kana mark the device has no form for
    kLatinWord,      // a Latin word of four or more letters, which is not spelled out
    kNothingToRead,  // nothing that is read aloud (signs and spaces only)
    kTooLong,        // more than the 16 characters of a reading field
  };
  Outcome outcome = Outcome::kNoReading;
  // kOffered: distinct, best first; hiragana, ー 、 。, 1 to 16 characters (UTF-8).
  std::vector<std::string> readings;
  std::string reason;  // kUnavailable: the provider's reason
};

// Up to count readings for the UTF-8 name in the form the reading field takes,
// from the provider's best analyses, best first: each kanji word as the
// analysis reads it, kana as hiragana (ー kept), letters and digits spelled by
// their names (B'z: びーぜっと; ２０: にぜろ), but only in Latin words of at
// most three letters; spaces and other symbols dropped. When none is offered,
// the outcome says why the best analysis gave none. Needs the provider only
// when the name holds kanji.
ReadingSuggestion SuggestReadings(ReadingProvider& provider, std::string_view name, std::size_t count = 1);

struct TextSpan {
  size_t begin = 0;  // UTF-8 byte offsets into the text; end excluded
  size_t end = 0;
};

struct KanaName {
  std::string text;
  // The parts of text that the name field does not take, as UnfitForName
  // gives them; empty when text passes the Start checks.
  std::vector<TextSpan> unfit;
};

struct NameSuggestion {
  enum class Outcome {
    kSuggested,
    kUnchanged,    // no kanji, and the kana already in the style (or not valid UTF-8)
    kNoReading,    // kanji, but no analysis reads any of them
    kUnavailable,  // kanji, and this system gives no readings (reason says why)
  };
  Outcome outcome = Outcome::kUnchanged;
  std::vector<KanaName> names;  // kSuggested: distinct, best first, none the name itself
  std::string reason;           // kUnavailable: the provider's reason
};

// Up to count forms of the UTF-8 name in kana of one script, from the
// provider's best analyses: each run of kanji replaced by its reading, every
// kana in the style (夜に駆ける: ヨルニカケル or よるにかける), everything else
// (Latin letters, digits, symbols, a kanji the provider cannot read) as it is,
// enterable or not.
NameSuggestion SuggestNames(ReadingProvider& provider, std::string_view name, KanaStyle style, std::size_t count = 1);

// The parts of the valid UTF-8 text that a title, artist or track name field
// does not take: each character the device cannot enter, and everything from
// the first character that ends beyond the field's 32 bytes. Adjacent parts
// are joined.
std::vector<TextSpan> UnfitForName(std::string_view utf8);

// True when the UTF-8 text is a reading the reading field takes as it is:
// 1 to 16 characters, each one the field takes.
bool FitsReadingField(std::string_view utf8);

}  // namespace vrellix
