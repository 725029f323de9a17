// What MeCab's IPA dictionary reads for real album titles and artists, the
// same on every platform. Proper names are often misread: such rows keep the
// misreading, offered like any other suggestion for the user to see.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "reading/suggestions.h"
#include "reading/system_readings.h"

namespace vrellix {
namespace {

struct RealName {
  const char* name;
  const char* offered;  // what the dictionary gives, as the reading field takes it; "" when nothing is offered
  const char* right;    // how the name is read
};
void PrintTo(const RealName& r, std::ostream* os) { *os << r.name; }

class SystemReadingTest : public ::testing::TestWithParam<RealName> {
 protected:
  void SetUp() override {
    m_provider = MakeSystemReadingProvider();
    if (const std::string why = testing::WhyNoReadings(*m_provider); !why.empty()) GTEST_SKIP() << why;
  }
  std::unique_ptr<ReadingProvider> m_provider;
};

TEST_P(SystemReadingTest, OffersTheDictionaryReading) {
  const RealName& r = GetParam();
  const ReadingSuggestion suggestion = SuggestReading(*m_provider, r.name);
  EXPECT_EQ(suggestion.reading, r.offered);
  EXPECT_EQ(suggestion.outcome, *r.offered ? ReadingSuggestion::kOffered : ReadingSuggestion::kNoReading);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Artists, SystemReadingTest, ::testing::Values(
  RealName{"宇多田ヒカル",  "うただひかる",        "うただひかる"},
  RealName{"椎名林檎",      "しいなりんご",        "しいなりんご"},
  RealName{"中島みゆき",    "なかじまみゆき",      "なかじまみゆき"},
  RealName{"坂本龍一",      "さかもとりゅういち",  "さかもとりゅういち"},
  RealName{"松任谷由実",    "まつとうやゆみ",      "まつとうやゆみ"},
  RealName{"福山雅治",      "ふくやままさはる",    "ふくやままさはる"},
  RealName{"山下達郎",      "やましたたつお",      "やましたたつろう"},
  RealName{"米津玄師",      "よねつげんし",        "よねづけんし"},
  RealName{"浜崎あゆみ",    "はまざきあゆみ",      "はまさきあゆみ"},
  RealName{"星野源",        "ほしのはじめ",        "ほしのげん"},
  RealName{"藤井風",        "ふじいふう",          "ふじいかぜ"},
  RealName{"稲葉浩志",      "いなばひろし",        "いなばこうし"}
));
INSTANTIATE_TEST_SUITE_P(Titles, SystemReadingTest, ::testing::Values(
  RealName{"無罪モラトリアム",       "むざいもらとりあむ",       "むざいもらとりあむ"},
  RealName{"川の流れのように",       "かわのながれのように",     "かわのながれのように"},
  RealName{"戦場のメリークリスマス", "せんじょうのめりーくりすます", "せんじょうのめりーくりすます"},
  RealName{"春よ、来い",             "はるよ、こい",             "はるよ、こい"},
  RealName{"少女A",                  "しょうじょえー",           "しょうじょえー"},
  RealName{"千と千尋の神隠し",       "せんとちひろのかみがくし", "せんとちひろのかみかくし"},
  RealName{"紅",                     "べに",                     "くれない"},
  RealName{"浪漫飛行",               "ろうまんひこう",           "ろまんひこう"},
  RealName{"壊れかけのRadio",        "",                         "こわれかけのれでぃお"}
));
// clang-format on

}  // namespace
}  // namespace vrellix
