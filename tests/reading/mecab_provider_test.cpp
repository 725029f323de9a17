#include "reading/reading_provider_mecab.h"

#include <gtest/gtest.h>

namespace vrellix {
namespace {

const char kMissing[] = "-r /dev/null -d /nonexistent/mecab/dic";

TEST(MecabProvider, SaysWhyWithoutADictionaryAndTakesTheNextOne) {
  const auto missing = MakeMecabReadingProvider({kMissing});
  EXPECT_FALSE(missing->Available());
  EXPECT_EQ(missing->UnavailableReason(), "このシステムでは読みの候補を出せません(MeCabの辞書が見つかりません)");
  ASSERT_EQ(missing->Read("東京").size(), 1u);
  EXPECT_EQ(missing->Read("東京")[0].reading, "");

  const auto next = MakeMecabReadingProvider({kMissing, "-r /dev/null -d /var/lib/mecab/dic/ipadic-utf8"});
  if (!next->Available()) GTEST_SKIP() << "no UTF-8 IPA dictionary in Debian's place";
  EXPECT_EQ(next->Read("東京事変")[1].reading, "ジヘン");
}

TEST(MecabProvider, RefusesADictionaryInAnotherEncoding) {
  const auto provider = MakeMecabReadingProvider({"-r /dev/null -d /var/lib/mecab/dic/ipadic"});
  if (!provider->Available() && provider->UnavailableReason().find("見つかりません") != std::string::npos) {
    GTEST_SKIP() << "no EUC-JP IPA dictionary in Debian's place";
  }
  EXPECT_FALSE(provider->Available());
  EXPECT_EQ(provider->UnavailableReason(), "このシステムでは読みの候補を出せません(MeCabの辞書がUTF-8ではありません)");
}

}  // namespace
}  // namespace vrellix
