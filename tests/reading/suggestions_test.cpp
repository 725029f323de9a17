#include "reading/suggestions.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <set>
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
  std::vector<std::string> readings;
};
void PrintTo(const ReadingCase& c, std::ostream* os) { *os << c.what; }

class SuggestReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(SuggestReadingTest, GivesTheFormTheReadingFieldTakes) {
  TableReadingProvider provider = Dictionary();
  const ReadingSuggestion suggestion = SuggestReadings(provider, GetParam().name, 5);
  EXPECT_EQ(suggestion.outcome, GetParam().outcome);
  EXPECT_EQ(suggestion.readings, GetParam().readings);
}

constexpr ReadingSuggestion::Outcome kOffered = ReadingSuggestion::Outcome::kOffered;
constexpr ReadingSuggestion::Outcome kNoReading = ReadingSuggestion::Outcome::kNoReading;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SuggestReadingTest, ::testing::Values(
  ReadingCase{"kanji words, katakana, ー",     "東京事変スター",           kOffered, {"とうきょうじへんすたー"}},
  ReadingCase{"marks composed, no ヴ",         "ｶﾞﾝﾀﾞﾑ か\u3099 ヱヴァ ヴ", kOffered, {"がんだむがえばぶ"}},
  ReadingCase{"、 。 kept; ！ spaces dropped", "春よ、来い！ 娘。",         kOffered, {"はるよ、こいむすめ。"}},
  ReadingCase{"initials spelled",              "少女A B'z",                kOffered, {"しょうじょえーびーぜっと"}},
  ReadingCase{"full width, digits spelled",    "ＴＭ２ 19",                kOffered, {"てぃーえむにいちきゅう"}},
  ReadingCase{"candidates best first",         "米津玄師",                 kOffered,
              {"よねつげんし", "よねつけんし", "よねづげんし", "よねづけんし"}},
  ReadingCase{"one reading a distinct text",   "夜に駆ける 夜",            kOffered, {"よるにかけるよる", "よるにかけるよ", "よにかけるよる", "よにかけるよ"}},
  ReadingCase{"sixteen characters",            "アイウエオカキクケコサシスセソタ", kOffered, {"あいうえおかきくけこさしすせそた"}},
  ReadingCase{"seventeen characters",          "アイウエオカキクケコサシスセソタチ", ReadingSuggestion::Outcome::kTooLong, {}},
  ReadingCase{"a word of four letters",        "少女ABCD",                 ReadingSuggestion::Outcome::kLatinWord, {}},
  ReadingCase{"kanji without a reading",       "鬱の東京",                 kNoReading, {}},
  ReadingCase{"a reading that is not kana",    "〇",                       kNoReading, {}},
  ReadingCase{"kana mark without a form",      "いすゞ",                   kNoReading, {}},
  ReadingCase{"voicing mark on nothing",       "ﾞあ",                      kNoReading, {}},
  ReadingCase{"nothing left",                  "♪ ! ・",                   ReadingSuggestion::Outcome::kNothingToRead, {}},
  ReadingCase{"not UTF-8",                     "\xE3\x81",                 kNoReading, {}}
));
// clang-format on

struct NameCase {
  const char* what;
  std::string name;
  KanaStyle style;
  std::string text;                // the first name offered; empty: none
  std::vector<std::string> unfit;  // its marked parts, in order
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.what; }

class SuggestNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SuggestNameTest, WritesTheNameInOneScript) {
  const NameCase& c = GetParam();
  TableReadingProvider provider = Dictionary();
  const NameSuggestion suggestion = SuggestNames(provider, c.name, c.style);
  ASSERT_EQ(suggestion.outcome == NameSuggestion::Outcome::kSuggested, !c.text.empty());
  if (c.text.empty()) return;
  const KanaName& first = suggestion.names.front();
  EXPECT_EQ(first.text, c.text);
  std::vector<std::string> marked;
  for (const TextSpan& span : first.unfit) marked.push_back(c.text.substr(span.begin, span.end - span.begin));
  EXPECT_EQ(marked, c.unfit);
}

constexpr KanaStyle kHira = KanaStyle::kHiragana;
constexpr KanaStyle kKata = KanaStyle::kKatakana;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SuggestNameTest, ::testing::Values(
  NameCase{"hiragana",                    "千と千尋の神隠し", kHira, "せんとちひろのかみがくし", {}},
  NameCase{"katakana throughout",         "千と千尋の神隠し", kKata, "セントチヒロノカミガクシ", {}},
  NameCase{"kana inside a word",          "夜に駆ける",       kKata, "ヨルニカケル",             {}},
  NameCase{"ヶ 々, half width composed",  "霞ヶ関の人々ｶﾞﾝ",  kHira, "かすみがせきのひとびとがん", {}},
  NameCase{"no kanji, one script",        "ロビンソン2 B'z",  kHira, "ろびんそん2 B'z",         {}},
  NameCase{"already in the script",       "ロビンソン",       kKata, "",                         {}},
  NameCase{"unenterable, unread kept",    "鬱の初音ミク♪",    kHira, "鬱のはつねみく♪",         {"鬱", "♪"}},
  NameCase{"reading against its kana",    "見る",             kHira, "",                         {}},
  NameCase{"exactly 32 bytes",            "寿限無寿限無寿限無寿限無",   kKata, "ジュゲムジュゲムジュゲムジュゲム",   {}},
  NameCase{"from the 33rd byte",          "寿限無寿限無寿限無寿限無!",  kKata, "ジュゲムジュゲムジュゲムジュゲム!",  {"!"}},
  NameCase{"straddling byte 32",          "a寿限無寿限無寿限無寿限無",  kHira, "aじゅげむじゅげむじゅげむじゅげむ", {"む"}}
));
// clang-format on

TEST(Suggestions, KanjiNeedTheProviderKanaDoNot) {
  TableReadingProvider none({}, "no readings here");
  const ReadingSuggestion kanji = SuggestReadings(none, "東京");
  EXPECT_EQ(kanji.outcome, ReadingSuggestion::Outcome::kUnavailable);
  EXPECT_EQ(kanji.reason, "no readings here");
  EXPECT_EQ(SuggestReadings(none, "スピッツ").readings, std::vector<std::string>{"すぴっつ"});
  EXPECT_EQ(SuggestNames(none, "東京", kHira).outcome, NameSuggestion::Outcome::kUnavailable);
  EXPECT_EQ(SuggestNames(none, "東京", kHira).reason, "no readings here");
  EXPECT_EQ(SuggestNames(none, "スピッツ", kHira).names.at(0).text, "すぴっつ");
}

// Every reading offered passes the Start checks, and they are distinct and no
// more than asked for; a name suggestion is marked exactly when it fails
// them, passes without its marked parts, and keeps every character of the
// name that is neither kanji nor kana, in order.
void CheckSuggestions(ReadingProvider& provider, int seed) {
  std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
  for (int round = 0; round < 3000; ++round) {
    const std::string name = RandomName(random);
    const std::size_t count = 1 + static_cast<std::size_t>(round % 5);
    SCOPED_TRACE("name: " + name);
    const ReadingSuggestion reading = SuggestReadings(provider, name, count);
    EXPECT_EQ(reading.outcome == ReadingSuggestion::Outcome::kOffered, !reading.readings.empty());
    EXPECT_LE(reading.readings.size(), count);
    std::set<std::string> distinct(reading.readings.begin(), reading.readings.end());
    EXPECT_EQ(distinct.size(), reading.readings.size());
    for (const std::string& offered : reading.readings) {
      EditedAlbum album;
      album.rows[3] = EditedRow{"x", offered, true};
      album.yomi = offered;
      EXPECT_EQ(RunStartChecks(album).outcome, StartCheckResult::Outcome::kReady) << offered;
    }

    const NameSuggestion suggestion = SuggestNames(provider, name, round % 2 ? kHira : kKata, count);
    EXPECT_LE(suggestion.names.size(), count);
    for (const KanaName& kana : suggestion.names) {
      EditedAlbum album;
      album.title = kana.text;
      EXPECT_NE(kana.text, name);
      EXPECT_EQ(kana.unfit.empty(), RunStartChecks(album).outcome == StartCheckResult::Outcome::kReady) << album.title;
      album.title.clear();
      size_t at = 0;
      for (const TextSpan& span : kana.unfit) {
        ASSERT_TRUE(at <= span.begin && span.begin < span.end && span.end <= kana.text.size());
        album.title += kana.text.substr(at, span.begin - at);
        at = span.end;
      }
      album.title += kana.text.substr(at);
      EXPECT_NE(RunStartChecks(album).outcome, StartCheckResult::Outcome::kFault) << album.title;

      const std::u32string text = Utf8ToCodePoints(kana.text);
      size_t found = 0;
      for (char32_t c : Utf8ToCodePoints(name)) {
        if (reading::IsKanjiLike(c) || reading::IsKanaLike(c)) continue;
        found = text.find(c, found);
        ASSERT_NE(found++, std::u32string::npos) << kana.text;
      }
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
  // The segments of each path are the text, white space and all.
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    const std::string name = RandomName(random) + "  ";
    for (const ReadingPath& path : provider->ReadPaths(name, 4)) {
      std::string joined;
      for (const ReadingSegment& segment : path) joined += segment.surface;
      EXPECT_EQ(joined, name);
    }
  }
}

}  // namespace
}  // namespace vrellix
