#include "reading/reading_provider_mecab.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "reading/system_readings.h"
#include "support/scratch_dir.h"

namespace vrellix {
namespace {

using testing::WhyNoReadings;

const MecabArguments kMissing = MecabDictionaryArguments("nonexistent/mecab/dic");

TEST(MecabProvider, SaysWhyWithoutADictionaryAndTakesTheNextOne) {
  const auto missing = MakeMecabReadingProvider({kMissing});
  EXPECT_FALSE(missing->Available());
  EXPECT_EQ(missing->UnavailableReason(), "このシステムでは読みの候補を出せません(MeCabの辞書が見つかりません)");
  ASSERT_EQ(missing->Read("東京").size(), 1u);
  EXPECT_EQ(missing->Read("東京")[0].reading, "");

  const auto next = MakeMecabReadingProvider({kMissing, MecabDictionaryArguments(VRELLIX_TEST_DICTIONARY)});
  if (const std::string why = WhyNoReadings(*next); !why.empty()) GTEST_SKIP() << why;
  EXPECT_EQ(next->Read("東京事変")[1].reading, "ジヘン");
}

// As installed on Windows: C:\Program Files\Vrellix\dic, or a user's folder.
TEST(MecabProvider, ReadsADictionaryInAFolderWithSpacesAndKanji) {
  testing::ScratchDir dir;
  const std::filesystem::path folder = std::filesystem::u8path(dir.File("辞書 の フォルダ"));
  std::filesystem::create_directory(folder);
  std::error_code none;  // no dictionary: nothing copied, and the provider says so
  for (const auto& file : std::filesystem::directory_iterator(std::filesystem::u8path(VRELLIX_TEST_DICTIONARY), none)) {
    std::filesystem::copy_file(file.path(), folder / file.path().filename());
  }
  const auto provider = MakeMecabReadingProvider({MecabDictionaryArguments(folder.u8string())});
  if (const std::string why = WhyNoReadings(*provider); !why.empty()) GTEST_SKIP() << why;
  EXPECT_EQ(provider->Read("東京事変")[1].reading, "ジヘン");
}

TEST(MecabProvider, RefusesADictionaryInAnotherEncoding) {
  const auto provider = MakeMecabReadingProvider({MecabDictionaryArguments(VRELLIX_TEST_DICTIONARY_EUC_JP)});
  if (!provider->Available() && provider->UnavailableReason().find("見つかりません") != std::string::npos) {
    GTEST_SKIP() << "no EUC-JP IPA dictionary in Debian's place";
  }
  EXPECT_FALSE(provider->Available());
  EXPECT_EQ(provider->UnavailableReason(), "このシステムでは読みの候補を出せません(MeCabの辞書がUTF-8ではありません)");
}

}  // namespace
}  // namespace vrellix
