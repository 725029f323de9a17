#include "reading/suggestions.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "reading/table_reading_provider.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

using testing::TableReadingProvider;

TableReadingProvider Dictionary() {
  return TableReadingProvider({
      {"東京", "トウキョウ"}, {"事変", "ジヘン"}, {"少女", "ショウジョ"},     {"娘", "ムスメ"},
      {"千", "セン"},         {"千尋", "チヒロ"}, {"神隠し", "カミガクシ"},   {"取り扱い", "トリアツカイ"},
      {"初音", "ハツネ"},     {"人々", "ヒトビト"}, {"霞ヶ関", "カスミガセキ"}, {"寿限無", "ジュゲム"},
      {"春", "ハル"},         {"来い", "コイ"},   {"見る", "ミタ"},           {"〇", "〇"},
  });
}

// ---------------------------------------------------------------- readings

struct ReadingCase {
  const char* what;
  std::string name;
  ReadingSuggestion::Outcome outcome;
  std::string reading;
};
void PrintTo(const ReadingCase& c, std::ostream* os) { *os << c.what; }

class SuggestReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(SuggestReadingTest, GivesTheFormTheReadingFieldTakes) {
  const ReadingCase& c = GetParam();
  TableReadingProvider provider = Dictionary();
  const ReadingSuggestion suggestion = SuggestReading(provider, c.name);
  EXPECT_EQ(suggestion.outcome, c.outcome);
  EXPECT_EQ(suggestion.reading, c.reading);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SuggestReadingTest, ::testing::Values(
  ReadingCase{"kanji words as read",              "東京事変",              ReadingSuggestion::kOffered,   "とうきょうじへん"},
  ReadingCase{"katakana as hiragana, ー kept",    "サザンオールスターズ",  ReadingSuggestion::kOffered,   "さざんおーるすたーず"},
  ReadingCase{"half-width kana composed",         "ｶﾞﾝﾀﾞﾑ ﾎﾟｯﾌﾟ",         ReadingSuggestion::kOffered,   "がんだむぽっぷ"},
  ReadingCase{"separate voicing mark composed",   "か\u3099ん",            ReadingSuggestion::kOffered,   "がん"},
  ReadingCase{"ヴ and old kana the device lacks", "ヱヴァンゲリヲン ヴ",   ReadingSuggestion::kOffered,   "えばんげりをんぶ"},
  ReadingCase{"、 。 kept; spaces, ！ dropped",   "春よ、来い！ モーニング娘。", ReadingSuggestion::kOffered, "はるよ、こいもーにんぐむすめ。"},
  ReadingCase{"initials spelled",                 "少女A",                 ReadingSuggestion::kOffered,   "しょうじょえー"},
  ReadingCase{"letters apart spelled",            "B'z",                   ReadingSuggestion::kOffered,   "びーぜっと"},
  ReadingCase{"full-width letters and digits",    "ＴＭ２",                ReadingSuggestion::kOffered,   "てぃーえむに"},
  ReadingCase{"digits by name",                   "1999",                  ReadingSuggestion::kOffered,   "いちきゅうきゅうきゅう"},
  ReadingCase{"sixteen characters",               "アイウエオカキクケコサシスセソタ", ReadingSuggestion::kOffered, "あいうえおかきくけこさしすせそた"},
  ReadingCase{"seventeen characters",             "アイウエオカキクケコサシスセソタチ", ReadingSuggestion::kTooLong, ""},
  ReadingCase{"a Latin word is not spelled",      "First Love",            ReadingSuggestion::kNoReading, ""},
  ReadingCase{"four letters are a word",          "少女ABCD",              ReadingSuggestion::kNoReading, ""},
  ReadingCase{"kanji without a reading",          "鬱の東京",              ReadingSuggestion::kNoReading, ""},
  ReadingCase{"a reading that is not kana",       "〇",                    ReadingSuggestion::kNoReading, ""},
  ReadingCase{"kana mark without a form",         "いすゞ",                ReadingSuggestion::kNoReading, ""},
  ReadingCase{"voicing mark on nothing",          "ﾞあ",                   ReadingSuggestion::kNoReading, ""},
  ReadingCase{"nothing left",                     "♪ ! ・",                ReadingSuggestion::kNoReading, ""},
  ReadingCase{"not UTF-8",                        "\xE3\x81",              ReadingSuggestion::kNoReading, ""}
));
// clang-format on

TEST(SuggestReadingUnavailable, KanjiNeedTheProviderKanaDoNot) {
  TableReadingProvider provider = TableReadingProvider::Unavailable("no readings here");
  const ReadingSuggestion kanji = SuggestReading(provider, "東京");
  EXPECT_EQ(kanji.outcome, ReadingSuggestion::kUnavailable);
  EXPECT_EQ(kanji.reason, "no readings here");
  const ReadingSuggestion kana = SuggestReading(provider, "スピッツ");
  EXPECT_EQ(kana.outcome, ReadingSuggestion::kOffered);
  EXPECT_EQ(kana.reading, "すぴっつ");
}

// ---------------------------------------------------------------- names

struct NameCase {
  const char* what;
  std::string name;
  KanaStyle style;
  std::string text;
  std::vector<std::string> unfit;  // the marked parts, in order
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.what; }

std::vector<std::string> Marked(const NameSuggestion& suggestion) {
  std::vector<std::string> parts;
  for (const TextSpan& span : suggestion.unfit) parts.push_back(suggestion.text.substr(span.begin, span.end - span.begin));
  return parts;
}

class SuggestNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SuggestNameTest, ReplacesOnlyTheKanji) {
  const NameCase& c = GetParam();
  TableReadingProvider provider = Dictionary();
  const NameSuggestion suggestion = SuggestName(provider, c.name, c.style);
  ASSERT_EQ(suggestion.outcome, NameSuggestion::kSuggested);
  EXPECT_EQ(suggestion.text, c.text);
  EXPECT_EQ(Marked(suggestion), c.unfit);
}

constexpr KanaStyle kHira = KanaStyle::kHiragana;
constexpr KanaStyle kKata = KanaStyle::kKatakana;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SuggestNameTest, ::testing::Values(
  NameCase{"hiragana",                      "千と千尋の神隠し", kHira, "せんとちひろのかみがくし", {}},
  NameCase{"katakana keeps the hiragana",   "千と千尋の神隠し", kKata, "センとチヒロのカミガクし", {}},
  NameCase{"kana inside a word",            "取り扱い",         kKata, "トりアツカい",             {}},
  NameCase{"ヶ and 々 in kanji words",      "霞ヶ関の人々",     kHira, "かすみがせきのひとびと",   {}},
  NameCase{"half-width kana kept",          "ｶﾞﾝﾀﾞﾑ東京",       kKata, "ｶﾞﾝﾀﾞﾑトウキョウ",         {}},
  NameCase{"unenterable symbol kept",       "初音ミク♪",        kHira, "はつねミク♪",             {"♪"}},
  NameCase{"unknown kanji kept",            "鬱の東京",         kHira, "鬱のとうきょう",           {"鬱"}},
  NameCase{"reading that does not fit its kana", "見る",        kHira, "見る",                     {"見"}},
  NameCase{"exactly 32 bytes",              "寿限無寿限無寿限無寿限無",  kKata, "ジュゲムジュゲムジュゲムジュゲム", {}},
  NameCase{"the 33rd byte on",              "寿限無寿限無寿限無寿限無!", kKata, "ジュゲムジュゲムジュゲムジュゲム!", {"!"}},
  NameCase{"overflow after a marked kanji", "鬱寿限無寿限無寿限無寿限無", kHira, "鬱じゅげむじゅげむじゅげむじゅげむ", {"鬱", "む"}}
));
// clang-format on

TEST(SuggestName, OnlyForNamesWithKanjiAndOnlyWithReadings) {
  TableReadingProvider provider = Dictionary();
  EXPECT_EQ(SuggestName(provider, "サザンオールスターズ", kHira).outcome, NameSuggestion::kNoKanji);
  EXPECT_EQ(SuggestName(provider, "\xE6\x9D", kHira).outcome, NameSuggestion::kNoKanji);
  TableReadingProvider none = TableReadingProvider::Unavailable("no readings here");
  const NameSuggestion unavailable = SuggestName(none, "東京", kHira);
  EXPECT_EQ(unavailable.outcome, NameSuggestion::kUnavailable);
  EXPECT_EQ(unavailable.reason, "no readings here");
}

struct UnfitCase {
  const char* what;
  std::string text;
  std::vector<std::string> unfit;
};
void PrintTo(const UnfitCase& c, std::ostream* os) { *os << c.what; }

class UnfitForNameTest : public ::testing::TestWithParam<UnfitCase> {};

TEST_P(UnfitForNameTest, MarksWhatTheFieldDoesNotTake) {
  const UnfitCase& c = GetParam();
  std::vector<std::string> parts;
  for (const TextSpan& span : UnfitForName(c.text)) parts.push_back(c.text.substr(span.begin, span.end - span.begin));
  EXPECT_EQ(parts, c.unfit);
}

const std::string k15Wide = "ああああああああああああああア";  // 30 bytes

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, UnfitForNameTest, ::testing::Values(
  UnfitCase{"empty",                         "",                                   {}},
  UnfitCase{"32 half-width",                 std::string(32, 'x'),                 {}},
  UnfitCase{"33 half-width",                 std::string(32, 'x') + "y",           {"y"}},
  UnfitCase{"30 + 2 bytes",                  k15Wide + "ab",                       {}},
  UnfitCase{"a two-byte character on 32",    k15Wide + "a" + "あ",                 {"あ"}},
  UnfitCase{"neighbours joined",             "a漢字ヴb",                           {"漢字ヴ"}},
  UnfitCase{"unenterable past 32 bytes",     k15Wide + "a" + "漢",                 {"漢"}},
  UnfitCase{"marks composed as entered",     "か\u3099〜～",                       {}},
  UnfitCase{"no code page 932 form",         "éa😀",                               {"é", "😀"}}
));
// clang-format on

// ---------------------------------------------------------------- property

// Random names from every kind of character the fields meet.
std::string RandomName(std::mt19937& random) {
  static const std::vector<std::string> pieces = {
      "あ", "が", "っ", "ー", "、", "。", "ア", "ヴ", "ヶ", "ゐ", "ｶﾞ", "ﾎﾟ", "ｰ", "か\u3099", "ﾞ",
      "東京", "事変", "少女", "千", "千尋", "神隠し", "寿限無", "人々", "見る", "〇", "鬱", "森",
      "A", "z", "Ｂ", "1", "７", " ", "　", "!", "'", "・", "♪", "「", "～", "é", "ゞ", "\t",
  };
  std::uniform_int_distribution<size_t> length(0, 14);
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::string name;
  for (size_t n = length(random); n > 0; --n) name += pieces[pick(random)];
  return name;
}

bool IsSubsequence(const std::u32string& part, const std::u32string& whole) {
  size_t at = 0;
  for (char32_t c : whole) {
    if (at < part.size() && part[at] == c) ++at;
  }
  return at == part.size();
}

// Every offered suggestion passes the Start checks of its field; a name
// suggestion is marked exactly when it does not, its unmarked rest passes,
// and it keeps every character that is not a kanji, in order.
void CheckSuggestions(ReadingProvider& provider, std::mt19937& random, int rounds) {
  for (int round = 0; round < rounds; ++round) {
    const std::string name = RandomName(random);
    SCOPED_TRACE("name: " + name);

    const ReadingSuggestion reading = SuggestReading(provider, name);
    if (reading.outcome == ReadingSuggestion::kOffered) {
      EditedAlbum album;
      album.yomi = reading.reading;
      album.rows[3] = EditedRow{"x", reading.reading, true};
      EXPECT_EQ(RunStartChecks(album).outcome, StartCheckResult::kReady) << reading.reading;
    }

    const KanaStyle style = round % 2 ? KanaStyle::kHiragana : KanaStyle::kKatakana;
    const NameSuggestion suggestion = SuggestName(provider, name, style);
    if (suggestion.outcome != NameSuggestion::kSuggested) continue;
    EditedAlbum album;
    album.title = suggestion.text;
    EXPECT_EQ(suggestion.unfit.empty(), RunStartChecks(album).outcome == StartCheckResult::kReady)
        << suggestion.text;
    std::string rest;
    size_t at = 0;
    for (const TextSpan& span : suggestion.unfit) {
      ASSERT_LE(at, span.begin);
      ASSERT_LT(span.begin, span.end);
      rest += suggestion.text.substr(at, span.begin - at);
      at = span.end;
    }
    ASSERT_LE(at, suggestion.text.size());
    album.title = rest + suggestion.text.substr(at);
    EXPECT_NE(RunStartChecks(album).outcome, StartCheckResult::kFault) << album.title;

    std::u32string kept;
    for (char32_t c : reading::CodePoints(name)) {
      if (!reading::IsKanjiLike(c)) kept += c;
    }
    EXPECT_TRUE(IsSubsequence(kept, reading::CodePoints(suggestion.text))) << suggestion.text;
  }
}

TEST(SuggestionProperty, EveryOfferedSuggestionPassesTheStartChecks) {
  TableReadingProvider provider = Dictionary();
  std::mt19937 random(20240611);
  CheckSuggestions(provider, random, 4000);
}

TEST(SuggestionProperty, WithTheSystemProvider) {
  std::unique_ptr<ReadingProvider> provider = MakeSystemReadingProvider();
  if (!provider->Available()) GTEST_SKIP() << "no readings on this system: " << provider->UnavailableReason();
  std::mt19937 random(20240612);
  CheckSuggestions(*provider, random, 2000);
  // The segments are the text, white space and all.
  for (int round = 0; round < 500; ++round) {
    const std::string name = RandomName(random) + "  ";
    std::string joined;
    for (const ReadingSegment& segment : provider->Read(name)) joined += segment.surface;
    EXPECT_EQ(joined, name);
  }
}

}  // namespace
}  // namespace vrellix
