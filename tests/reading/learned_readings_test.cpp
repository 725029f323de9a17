// The learned readings on the test dictionary: what a store teaches, how a
// learned name is cut into words, what comes first for other names, and how
// learning rewrites the store.
#include "reading/learned_readings.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "reading/reading_test_names.h"
#include "reading/suggestions.h"
#include "support/scratch_dir.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {
namespace {

using testing::Dictionary;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::TableReadingProvider;
using testing::WriteBytes;

// Broken lines among good ones: no tab, two tabs, no kanji, a reading the
// field would not take, not UTF-8. A later line wins.
const std::string kStore = std::string(kUtf8Bom) +
                           "# mine\r\n米津玄師\tよねづけんし\r\n夜に駆ける\tよるにかける\nLemon\tれもん\n東京\tトウキョウ\n"
                           "少女\tしょう\tじょ\n\xE6\x9D\t\xE3\x81\x82\n千の\tちの\n東京 Live\tとうきょうらいぶ\n"
                           "米津玄師\tよねづけんし\n";

struct LookUpCase {
  const char* what;
  std::string name;
  std::vector<std::string> readings;  // the first three offered
};
void PrintTo(const LookUpCase& c, std::ostream* os) { *os << c.what; }

class LearnedFirstTest : public ::testing::TestWithParam<LookUpCase> {};

TEST_P(LearnedFirstTest, ComesFirstForItsNameAndItsWords) {
  ScratchDir dir;
  WriteBytes(dir.File("readings.tsv"), kStore);
  LearnedReadings learned(dir.File("readings.tsv"));
  ASSERT_TRUE(learned.Load().Ok());
  EXPECT_EQ(learned.Size(), 4u);
  TableReadingProvider dictionary = Dictionary();
  LearningReadingProvider provider(dictionary, learned);
  EXPECT_EQ(SuggestReadings(provider, GetParam().name, 3).readings, GetParam().readings);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Store, LearnedFirstTest, ::testing::Values(
  LookUpCase{"the whole name",           "米津玄師",      {"よねづけんし", "よねつげんし", "よねつけんし"}},
  LookUpCase{"white space around it",    " 米津玄師\t",   {"よねづけんし", "よねつげんし", "よねつけんし"}},
  LookUpCase{"a run of kanji inside",    "米津玄師の少女", {"よねづけんしのしょうじょ", "よねつげんしのしょうじょ", "よねつけんしのしょうじょ"}},
  LookUpCase{"a word cut at its kana",   "夜の少女",      {"よるのしょうじょ", "よのしょうじょ"}},
  LookUpCase{"a word cut at its kana 2", "駆ける",        {"かける"}},
  LookUpCase{"not inside a longer word", "千尋",          {"ちひろ"}},
  LookUpCase{"a word whole",             "千",            {"ち", "せん"}},
  LookUpCase{"a reading the kana do not fit, whole", "東京 Live", {"とうきょうらいぶ"}},
  LookUpCase{"broken lines teach nothing", "Lemon",       {}},
  LookUpCase{"nor does katakana",        "東京事変",      {"とうきょうじへん"}}
));
// clang-format on

struct PathCase {
  std::string name;
  std::string reading;
  std::vector<std::string> segments;  // "surface:reading"
};

TEST(LearnedPath, CutsTheReadingAtTheNamesKanaLettersAndSigns) {
  const std::vector<PathCase> cases{
      {"夜に駆ける", "よるにかける", {"夜:よる", "に:", "駆:か", "ける:"}},
      {"B'z 東京", "びーぜっととうきょう", {"B'z :", "東京:とうきょう"}},
      {"東京・大阪", "とうきょうおおさか", {"東京・大阪:とうきょうおおさか"}},
      {"東京 Live", "とうきょうらいぶ", {"東京 Live:とうきょうらいぶ"}},
  };
  for (const PathCase& c : cases) {
    std::vector<std::string> segments;
    for (const ReadingSegment& segment : LearnedPath(c.name, c.reading)) {
      segments.push_back(segment.surface + ":" + segment.reading);
    }
    EXPECT_EQ(segments, c.segments) << c.name;
  }
}

TEST(LearnedReadings, LearningRewritesOnlyTheNamesLinesAndAddsNewOnes) {
  ScratchDir dir;
  const std::string path = dir.File("新しい/フォルダ/readings.tsv");
  LearnedReadings learned(path);
  size_t count = 0;
  ASSERT_TRUE(learned.Learn({{"少女", "しょうじょ"}}, &count).Ok());  // the folders are made
  EXPECT_EQ(count, 1u);
  WriteBytes(path, kStore.substr(0, kStore.size() - 1));  // another program's edit, no final line break
  const std::vector<LearnedPair> pairs{{"夜に駆ける", "よにかける"}, {"Lemon", "れもん"}, {" 初音\t", "はつね"}};
  ASSERT_TRUE(learned.Learn(pairs, &count).Ok());
  EXPECT_EQ(count, 2u);
  std::string expected = kStore;
  expected.replace(expected.find("よるにかける"), std::string("よるにかける").size(), "よにかける");
  EXPECT_EQ(ReadBytes(path), expected + "初音\tはつね\n");
  ASSERT_NE(learned.Reading("米津玄師"), nullptr);  // what the other program wrote is known now
  EXPECT_EQ(*learned.Reading("夜に駆ける"), "よにかける");

  // A store that cannot be written still teaches this program, and says why.
  LearnedReadings folder(dir.Path().u8string());
  const FileResult failed = folder.Learn({{"少女", "おとめ"}});
  EXPECT_EQ(failed.cause, FileCause::kNotRegularFile);
  ASSERT_NE(folder.Reading("少女"), nullptr);
  EXPECT_EQ(*folder.Reading("少女"), "おとめ");
}

// Whatever the store holds, each learned reading comes first for its name and
// every line of the store that was not a learned name's stays as it was.
TEST(LearnedReadingsProperty, LearnedComesFirstAndOtherLinesStay) {
  std::mt19937 random(25);
  TableReadingProvider dictionary = Dictionary();
  ScratchDir dir;
  for (int round = 0; round < 200; ++round) {
    std::string store;
    for (int line = 0; line < 6; ++line) store += testing::RandomName(random) + "\t" + testing::RandomName(random) + "\n";
    WriteBytes(dir.File("r.tsv"), store);
    LearnedReadings learned(dir.File("r.tsv"));
    ASSERT_TRUE(learned.Load().Ok());
    const std::string name = "東京" + testing::RandomName(random);
    const ReadingSuggestion offered = SuggestReadings(dictionary, name, 3);
    if (offered.readings.empty()) continue;
    const std::string reading = offered.readings.back();
    ASSERT_TRUE(learned.Learn({{name, reading}}).Ok());
    LearningReadingProvider provider(dictionary, learned);
    EXPECT_EQ(SuggestReadings(provider, name, 3).readings.front(), reading) << name;
    const std::string written = ReadBytes(dir.File("r.tsv"));
    std::string kept;
    for (size_t at = 0, end; at < store.size(); at = end + 1) {
      end = store.find('\n', at);
      const std::string line = store.substr(at, end - at);
      const auto pair = Learnable(line.substr(0, line.find('\t')), line.substr(line.find('\t') + 1));
      if (!pair || pair->name != TrimWhite(name)) kept += line + "\n";
    }
    EXPECT_EQ(written.substr(0, kept.size()), kept);
  }
}

}  // namespace
}  // namespace vrellix
