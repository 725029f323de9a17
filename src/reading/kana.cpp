#include "reading/kana.h"

#include <algorithm>

namespace vrellix::reading {
namespace {

// Half-width katakana U+FF66..U+FF9D in full width, in code order.
constexpr std::u32string_view kHalfWidthKatakana =
    U"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
static_assert(kHalfWidthKatakana.size() == 0xFF9D - 0xFF66 + 1);

constexpr std::u32string_view kVoicable = U"カキクケコサシスセソタチツテトハヒフヘホ";
constexpr std::u32string_view kSemiVoicable = U"ハヒフヘホ";

// clang-format off
constexpr std::u32string_view kLetterNames[26] = {
  U"えー",  U"びー",  U"しー",   U"でぃー", U"いー",     U"えふ",   U"じー", U"えいち", U"あい",   U"じぇー",
  U"けー",  U"える",  U"えむ",   U"えぬ",   U"おー",     U"ぴー",   U"きゅー", U"あーる", U"えす", U"てぃー",
  U"ゆー",  U"ぶい",  U"だぶりゅー", U"えっくす", U"わい", U"ぜっと",
};
constexpr std::u32string_view kDigitNames[10] = {
  U"ぜろ", U"いち", U"に", U"さん", U"よん", U"ご", U"ろく", U"なな", U"はち", U"きゅう",
};
// clang-format on

bool IsVoicedSoundMark(char32_t c) { return c == 0x3099 || c == 0x309B || c == 0xFF9E; }
bool IsSemiVoicedSoundMark(char32_t c) { return c == 0x309A || c == 0x309C || c == 0xFF9F; }
bool IsKatakana(char32_t c) { return (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC; }

// Katakana in one form: full width, marks composed; kept 、 。. Nothing on
// anything else.
std::optional<std::u32string> FullWidthKatakana(std::u32string_view kana) {
  std::u32string out;
  for (char32_t c : kana) {
    if (IsVoicedSoundMark(c) || IsSemiVoicedSoundMark(c)) {
      const bool voiced = IsVoicedSoundMark(c);
      if (out.empty()) return std::nullopt;
      char32_t& base = out.back();
      if (voiced && base == U'ウ') {
        base = U'ヴ';
      } else if ((voiced ? kVoicable : kSemiVoicable).find(base) != std::u32string_view::npos) {
        base += voiced ? 1 : 2;
      } else {
        return std::nullopt;
      }
      continue;
    }
    if (c == 0xFF61) {
      c = U'。';
    } else if (c == 0xFF64) {
      c = U'、';
    } else if (c >= 0xFF66 && c <= 0xFF9D) {
      c = kHalfWidthKatakana[c - 0xFF66];
    } else if (c >= 0x3041 && c <= 0x3096) {
      c += 0x60;
    } else if (!IsKatakana(c) && c != U'、' && c != U'。') {
      return std::nullopt;
    }
    out += c;
  }
  return out;
}

}  // namespace

bool IsKanjiLike(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0x20000 && c <= 0x3134F) || (c >= 0x3005 && c <= 0x3007) || c == 0x30F5 || c == 0x30F6;
}

bool IsKanaLike(char32_t c) {
  return c == 0x3001 || c == 0x3002 || (c >= 0x3041 && c <= 0x3096) || (c >= 0x3099 && c <= 0x309C) ||
         IsKatakana(c) || c == 0xFF61 || c == 0xFF64 || (c >= 0xFF66 && c <= 0xFF9F);
}

std::optional<std::u32string> EnterableKana(std::u32string_view kana, KanaStyle style) {
  const std::optional<std::u32string> katakana = FullWidthKatakana(kana);
  if (!katakana) return std::nullopt;
  std::u32string out;
  for (size_t i = 0; i < katakana->size(); ++i) {
    char32_t c = (*katakana)[i];
    const char32_t next = i + 1 < katakana->size() ? (*katakana)[i + 1] : 0;
    switch (c) {
      // The device has no ヴ: ヴァ ヴィ ヴェ ヴォ as バ ビ ベ ボ, ヴュ as ビュ, else ブ.
      case U'ヴ':
        if (next == U'ァ' || next == U'ィ' || next == U'ェ' || next == U'ォ') {
          c = next == U'ァ' ? U'バ' : next == U'ィ' ? U'ビ' : next == U'ェ' ? U'ベ' : U'ボ';
          ++i;
        } else {
          c = next == U'ュ' ? U'ビ' : U'ブ';
        }
        break;
      case U'ヷ': c = U'バ'; break;
      case U'ヸ': c = U'ビ'; break;
      case U'ヹ': c = U'ベ'; break;
      case U'ヺ': c = U'ボ'; break;
      case U'ヵ': c = U'カ'; break;
      case U'ヶ': c = U'ケ'; break;
      case U'ヮ': c = U'ワ'; break;
      case U'ヰ': c = U'イ'; break;
      case U'ヱ': c = U'エ'; break;
      default: break;
    }
    if (style == KanaStyle::kHiragana && c >= 0x30A1 && c <= 0x30F6) c -= 0x60;
    out += c;
  }
  return out;
}

bool IsLatinLetter(char32_t c) {
  return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
         (c >= 0xFF41 && c <= 0xFF5A);
}

std::u32string_view SpokenName(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFF01 - 0x21;  // full width to ASCII
  if (c >= U'0' && c <= U'9') return kDigitNames[c - U'0'];
  if (c >= U'a' && c <= U'z') c -= U'a' - U'A';
  if (c >= U'A' && c <= U'Z') return kLetterNames[c - U'A'];
  return {};
}

bool HasKanji(std::u32string_view text) { return std::any_of(text.begin(), text.end(), IsKanjiLike); }

bool HasLatinWord(std::u32string_view text) {
  size_t run = 0;
  for (char32_t c : text) {
    run = IsLatinLetter(c) ? run + 1 : 0;
    if (run > 3) return true;
  }
  return false;
}

namespace {

// Where the run of kana that starts at begin ends.
size_t KanaRunEnd(std::u32string_view text, size_t begin) {
  return static_cast<size_t>(std::find_if_not(text.begin() + static_cast<std::ptrdiff_t>(begin), text.end(), IsKanaLike) -
                             text.begin());
}

}  // namespace

std::optional<std::u32string> ReadingOfKanaAndSigns(std::u32string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    if (!IsKanaLike(text[i])) {
      if (text[i] >= 0x3040 && text[i] <= 0x30FF && text[i] != U'・') return std::nullopt;  // ・ is punctuation
      out += SpokenName(text[i++]);
      continue;
    }
    const size_t end = KanaRunEnd(text, i);
    const std::optional<std::u32string> kana = EnterableKana(text.substr(i, end - i), KanaStyle::kHiragana);
    if (!kana) return std::nullopt;
    out += *kana;
    i = end;
  }
  return out;
}

std::u32string InOneScript(std::u32string_view text, KanaStyle style) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    if (!IsKanaLike(text[i])) {
      out += text[i++];
      continue;
    }
    const size_t end = KanaRunEnd(text, i);
    const std::u32string_view run = text.substr(i, end - i);
    out += EnterableKana(run, style).value_or(std::u32string(run));
    i = end;
  }
  return out;
}

}  // namespace vrellix::reading
