#include "reading/suggestions.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "reading/reading_test_names.h"
#include "reading/system_readings.h"
#include "text/text_codec.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

using testing::Dictionary;
using testing::RandomName;
using testing::TableReadingProvider;
using testing::WhyNoReadings;

struct ReadingCase {
  const char* what;
  std::string name;
  ReadingSuggestion::Outcome outcome;
  std::string reading;
};
void PrintTo(const ReadingCase& c, std::ostream* os) { *os << c.what; }

class SuggestReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(SuggestReadingTest, GivesTheFormTheReadingFieldTakes) {
  TableReadingProvider provider = Dictionary();
  const ReadingSuggestion suggestion = SuggestReading(provider, GetParam().name);
  EXPECT_EQ(suggestion.outcome, GetParam().outcome);
  EXPECT_EQ(suggestion.reading, GetParam().reading);
}

constexpr ReadingSuggestion::Outcome kOffered = ReadingSuggestion::Outcome::kOffered;
constexpr ReadingSuggestion::Outcome kNoReading = ReadingSuggestion::Outcome::kNoReading;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SuggestReadingTest, ::testing::Values(
  ReadingCase{"kanji words, katakana, ー",     "東京事変スター",           kOffered, "とうきょうじへんすたー"},
  ReadingCase{"marks composed, no ヴ",         "ｶﾞﾝﾀﾞﾑ か\u3099 ヱヴァ ヴ", kOffered, "がんだむがえばぶ"},
  ReadingCase{"、 。 kept; ！ spaces dropped", "春よ、来い！ 娘。",         kOffered, "はるよ、こいむすめ。"},
  ReadingCase{"initials spelled",              "少女A B'z",                kOffered, "しょうじょえーびーぜっと"},
  ReadingCase{"full width, digits spelled",    "ＴＭ２ 19",                kOffered, "てぃーえむにいちきゅう"},
  ReadingCase{"sixteen characters",            "アイウエオカキクケコサシスセソタ", kOffered, "あいうえおかきくけこさしすせそた"},
  ReadingCase{"seventeen characters",          "アイウエオカキクケコサシスセソタチ", ReadingSuggestion::Outcome::kTooLong, ""},
  ReadingCase{"a word of four letters",        "少女ABCD",                 kNoReading, ""},
  ReadingCase{"kanji without a reading",       "鬱の東京",                 kNoReading, ""},
  ReadingCase{"a reading that is not kana",    "〇",                       kNoReading, ""},
  ReadingCase{"kana mark without a form",      "いすゞ",                   kNoReading, ""},
  ReadingCase{"voicing mark on nothing",       "ﾞあ",                      kNoReading, ""},
  ReadingCase{"nothing left",                  "♪ ! ・",                   kNoReading, ""},
  ReadingCase{"not UTF-8",                     "\xE3\x81",                 kNoReading, ""}
));
// clang-format on

struct NameCase {
  const char* what;
  std::string name;
  KanaStyle style;
  std::string text;
  std::vector<std::string> unfit;  // the marked parts, in order
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.what; }

class SuggestNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SuggestNameTest, ReplacesOnlyTheKanji) {
  const NameCase& c = GetParam();
  TableReadingProvider provider = Dictionary();
  const NameSuggestion suggestion = SuggestName(provider, c.name, c.style);
  ASSERT_EQ(suggestion.outcome, NameSuggestion::Outcome::kSuggested);
  EXPECT_EQ(suggestion.text, c.text);
  std::vector<std::string> marked;
  for (const TextSpan& span : suggestion.unfit) marked.push_back(c.text.substr(span.begin, span.end - span.begin));
  EXPECT_EQ(marked, c.unfit);
}

constexpr KanaStyle kHira = KanaStyle::kHiragana;
constexpr KanaStyle kKata = KanaStyle::kKatakana;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SuggestNameTest, ::testing::Values(
  NameCase{"hiragana",                    "千と千尋の神隠し", kHira, "せんとちひろのかみがくし", {}},
  NameCase{"katakana keeps the hiragana", "千と千尋の神隠し", kKata, "センとチヒロのカミガクし", {}},
  NameCase{"kana inside a word",          "取り扱い",         kKata, "トりアツカい",             {}},
  NameCase{"ヶ 々, half-width kept",      "霞ヶ関の人々ｶﾞﾝ",  kHira, "かすみがせきのひとびとｶﾞﾝ", {}},
  NameCase{"unenterable, unread kept",    "鬱の初音ミク♪",    kHira, "鬱のはつねミク♪",         {"鬱", "♪"}},
  NameCase{"reading against its kana",    "見る",             kHira, "見る",                     {"見"}},
  NameCase{"exactly 32 bytes",            "寿限無寿限無寿限無寿限無",   kKata, "ジュゲムジュゲムジュゲムジュゲム",   {}},
  NameCase{"from the 33rd byte",          "寿限無寿限無寿限無寿限無!",  kKata, "ジュゲムジュゲムジュゲムジュゲム!",  {"!"}},
  NameCase{"straddling byte 32",          "a寿限無寿限無寿限無寿限無",  kHira, "aじゅげむじゅげむじゅげむじゅげむ", {"む"}}
));
// clang-format on

TEST(Suggestions, KanjiNeedTheProviderKanaDoNot) {
  TableReadingProvider none({}, "no readings here");
  const ReadingSuggestion kanji = SuggestReading(none, "東京");
  EXPECT_EQ(kanji.outcome, ReadingSuggestion::Outcome::kUnavailable);
  EXPECT_EQ(kanji.reason, "no readings here");
  EXPECT_EQ(SuggestReading(none, "スピッツ").reading, "すぴっつ");
  EXPECT_EQ(SuggestName(none, "東京", kHira).outcome, NameSuggestion::Outcome::kUnavailable);
  EXPECT_EQ(SuggestName(none, "東京", kHira).reason, "no readings here");
  EXPECT_EQ(SuggestName(none, "スピッツ", kHira).outcome, NameSuggestion::Outcome::kNoKanji);
}

// Every offered reading passes the Start checks; a name suggestion is marked
// exactly when it fails them, passes without its marked parts, and keeps
// every character of the name that is not a kanji, in order.
void CheckSuggestions(ReadingProvider& provider, int seed) {
  std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
  for (int round = 0; round < 3000; ++round) {
    const std::string name = RandomName(random);
    SCOPED_TRACE("name: " + name);
    const ReadingSuggestion reading = SuggestReading(provider, name);
    if (reading.outcome == ReadingSuggestion::Outcome::kOffered) {
      EditedAlbum album;
      album.rows[3] = EditedRow{"x", reading.reading, true};
      album.yomi = reading.reading;
      EXPECT_EQ(RunStartChecks(album).outcome, StartCheckResult::Outcome::kReady) << reading.reading;
    }

    const NameSuggestion suggestion = SuggestName(provider, name, round % 2 ? kHira : kKata);
    if (suggestion.outcome != NameSuggestion::Outcome::kSuggested) continue;
    EditedAlbum album;
    album.title = suggestion.text;
    EXPECT_EQ(suggestion.unfit.empty(), RunStartChecks(album).outcome == StartCheckResult::Outcome::kReady) << album.title;
    album.title.clear();
    size_t at = 0;
    for (const TextSpan& span : suggestion.unfit) {
      ASSERT_TRUE(at <= span.begin && span.begin < span.end && span.end <= suggestion.text.size());
      album.title += suggestion.text.substr(at, span.begin - at);
      at = span.end;
    }
    album.title += suggestion.text.substr(at);
    EXPECT_NE(RunStartChecks(album).outcome, StartCheckResult::Outcome::kFault) << album.title;

    const std::u32string text = Utf8ToCodePoints(suggestion.text);
    size_t found = 0;
    for (char32_t c : Utf8ToCodePoints(name)) {
      if (reading::IsKanjiLike(c)) continue;
      found = text.find(c, found);
      ASSERT_NE(found++, std::u32string::npos) << suggestion.text;
    }
  }
}

TEST(SuggestionProperty, EveryOfferedSuggestionPassesTheStartChecks) {
  TableReadingProvider provider = Dictionary();
  CheckSuggestions(provider, 20240611);
}

TEST(SuggestionProperty, WithTheSystemProvider) {
  std::unique_ptr<ReadingProvider> provider = MakeSystemReadingProvider();
  if (const std::string why = WhyNoReadings(*provider); !why.empty()) GTEST_SKIP() << why;
  CheckSuggestions(*provider, 20240612);
  // Its segments are the text, white space and all.
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    const std::string name = RandomName(random) + "  ";
    std::string joined;
    for (const ReadingSegment& segment : provider->Read(name)) joined += segment.surface;
    EXPECT_EQ(joined, name);
  }
}

}  // namespace
}  // namespace vrellix
