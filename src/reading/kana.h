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

}  // namespace reading
}  // namespace vrellix
