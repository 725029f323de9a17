#include "reading/reading_provider_mecab.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vrellix {
namespace {

TEST(MecabProvider, WithoutADictionaryItSaysWhy) {
  const auto provider = MakeMecabReadingProvider({"-r /dev/null -d /nonexistent/mecab/dic"});
  EXPECT_FALSE(provider->Available());
  EXPECT_EQ(provider->UnavailableReason(), "このシステムでは読みの候補を出せません(MeCabの辞書が見つかりません)");
  const std::vector<ReadingSegment> segments = provider->Read("東京");
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].surface, "東京");
  EXPECT_EQ(segments[0].reading, "");
}

TEST(MecabProvider, FallsBackToTheNextDictionary) {
  const auto provider = MakeMecabReadingProvider({"-r /dev/null -d /nonexistent/mecab/dic",
                                                  "-r /dev/null -d /var/lib/mecab/dic/ipadic-utf8"});
  if (!provider->Available()) GTEST_SKIP() << "no UTF-8 IPA dictionary in Debian's place";
  const std::vector<ReadingSegment> segments = provider->Read(" 東京 事変");
  ASSERT_EQ(segments.size(), 4u);
  EXPECT_EQ(segments[0].surface, " ");
  EXPECT_EQ(segments[1].surface, "東京");
  EXPECT_EQ(segments[1].reading, "トウキョウ");
  EXPECT_EQ(segments[2].surface, " ");
  EXPECT_EQ(segments[3].reading, "ジヘン");
}

TEST(MecabProvider, RefusesADictionaryInAnotherEncoding) {
  const auto provider = MakeMecabReadingProvider({"-r /dev/null -d /var/lib/mecab/dic/ipadic"});
  if (provider->UnavailableReason().find("見つかりません") != std::string::npos) {
    GTEST_SKIP() << "no EUC-JP IPA dictionary in Debian's place";
  }
  EXPECT_FALSE(provider->Available());
  EXPECT_EQ(provider->UnavailableReason(), "このシステムでは読みの候補を出せません(MeCabの辞書がUTF-8ではありません)");
}

}  // namespace
}  // namespace vrellix
