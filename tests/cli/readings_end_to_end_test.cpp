// vrellix-cli readings with the real dictionary, on every platform: on Windows
// the program finds it in the folder "dic" beside it, as installed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "album/album_csv.h"
#include "cli/cli_process.h"
#include "reading/reading_provider.h"
#include "reading/system_readings.h"
#include "support/cp932.h"
#include "support/edited_albums.h"

namespace vrellix {
namespace {

using testing::Cp932;
using testing::ProcessResult;
using testing::RunCli;
using testing::ScratchDir;
using testing::SplitLines;
using testing::WriteBytes;

// The readings of an album with kanji names make a file that check accepts
// and that the simulated device then holds exactly.
TEST(ReadingsCliEndToEnd, KanjiAlbumIsEnteredExactlyAfterReadings) {
  if (const std::string why = testing::WhyNoReadings(*MakeSystemReadingProvider()); !why.empty()) GTEST_SKIP() << why;
  ScratchDir dir;
  WriteBytes(dir.File("in.csv"), Cp932("東京事変\r\nnone\r\n椎名林檎\r\n群青日和,none\r\n透明人間,none\r\n"));
  const ProcessResult read = RunCli({"readings", "in.csv", "-o", "out.csv", "--names", "katakana"}, dir);
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(SplitLines(read.out).front(), "タイトル: 東京事変 → トウキョウジヘン");

  const ProcessResult check = RunCli({"check", "out.csv"}, dir);
  EXPECT_EQ(check.exitCode, 0) << check.err;

  EditedAlbum album;
  ASSERT_TRUE(LoadAlbumCsv(dir.File("out.csv"), album).ok);
  std::vector<std::string> expected{"title " + album.title, "yomi " + album.yomi, "artist " + album.artist};
  for (int track = 1; track <= 2; ++track) {
    const EditedRow& row = album.rows[static_cast<size_t>(track - 1)];
    EXPECT_FALSE(row.yomi.empty());
    expected.push_back("track " + std::to_string(track) + " name " + row.name);
    expected.push_back("track " + std::to_string(track) + " yomi " + row.yomi);
  }
  const ProcessResult entered = RunCli({"enter", "out.csv", "--simulate", "--yes"}, dir);
  EXPECT_EQ(entered.exitCode, 0) << entered.err;
  EXPECT_EQ(SplitLines(entered.out), expected);
}

}  // namespace
}  // namespace vrellix
