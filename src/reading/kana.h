// Kana forms the device can enter, and the character helpers the reading
// suggestions share with the providers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vrellix {

// How kana replaces kanji in a name: hiragana or full-width katakana.
enum class KanaStyle { kHiragana, kKatakana };

namespace reading {

// Kanji and the marks that stand in kanji words: ideographs, 々 〆 〇, ヶ ヵ.
bool IsKanjiLike(char32_t c);

// Kana of any form: hiragana, katakana, half-width katakana, ー, the voicing
// marks, 、 and 。 (full and half width).
bool IsKanaLike(char32_t c);

// Kana text in the style, in the forms the device can enter: half-width
// katakana and separate voicing marks composed, ヴ as ブ (ヴァ as バ ...), ヵ ヶ
// ヮ ヰ ヱ as カ ケ ワ イ エ; ー 、 。 kept. Nothing when the text holds anything
// else, or a mark that composes with nothing.
std::optional<std::u32string> EnterableKana(std::u32string_view kana, KanaStyle style);

// A letter's or digit's name in hiragana (A えー, 7 なな), half or full width;
// empty for any other character.
std::u32string_view SpokenName(char32_t c);

// A half-width or full-width Latin letter.
bool IsLatinLetter(char32_t c);

bool HasKanji(std::u32string_view text);

// True when the text holds a run of more than three Latin letters: spelling
// a word letter by letter is how initials are read (B'z, TM), rarely how a
// word is.
bool HasLatinWord(std::u32string_view text);

// Text without kanji in hiragana as a reading field takes it: kana in their
// enterable forms, letters and digits spelled by their names, everything else
// dropped. Nothing when a kana run has no enterable form, or the text holds a
// kana mark the device has no form for (ゝ ゞ ヽ ヾ), which would change the
// reading if dropped.
std::optional<std::u32string> ReadingOfKanaAndSigns(std::u32string_view text);

// The text with every run of kana in its enterable form in the style (one
// script throughout); everything else, kanji included, as it is.
std::u32string InOneScript(std::u32string_view text, KanaStyle style);

}  // namespace reading
}  // namespace vrellix
