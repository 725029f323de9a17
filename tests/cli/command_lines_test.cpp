// Command lines and what they answer: exit code, and the lines that matter on
// standard output and standard error.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_process.h"

namespace vrellix {
namespace {

using testing::ProcessResult;
using testing::RunCli;
using testing::ScratchDir;
using testing::SplitLines;
using testing::WriteBytes;

const char kOpenFailed[] = "ファイルオープンに失敗しました";
const char kNoSuchFile[] = "No such file or directory";

struct CommandLine {
  std::vector<std::string> args;
  int exitCode;
  std::vector<std::string> out;  // the whole standard output, when given
  std::vector<std::string> err;  // lines that standard error holds, in this order
};

// Lines of the example album that a simulated job from track 2 sets.
const std::vector<std::string> kTracksFromTwo = {
    "track 2 name ミッドナイト・ラン!", "track 2 yomi みっどないとらん",
    "track 3 name ｽﾃｰｼﾞ No.3 (Live)",  "track 3 yomi すてーじなんばーすりー",
    "track 4 name １２３～ＡＢＣ　ｘｙｚ", "track 4 yomi いちにさん、えーびーしー",
};

TEST(CommandLinesTest, AnswerAsDescribed) {
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), "T\r\nnone\r\nnone\r\nA,none\r\n");
  WriteBytes(dir.File("unnamed.csv"), "T\r\nnone\r\nnone\r\nnone,a\r\nA,none\r\nnone,b\r\nnone,none\r\nnone, c\r\n");
  const std::string example = VRELLIX_EXAMPLES "/album.csv";
  std::vector<std::string> wholeExample = {"title ﾊﾟｰﾃｨｰ・ナイト 2026", "yomi ぱーてぃーないと",
                                           "artist ＲＺＴ Ｂａｎｄ & Friends", "track 1 name はじまりのうた",
                                           "track 1 yomi はじまりのうた"};
  wholeExample.insert(wholeExample.end(), kTracksFromTwo.begin(), kTracksFromTwo.end());
  const std::string missing = std::string("missing.csv: ") + kNoSuchFile;

  const CommandLine cases[] = {
      // A file that cannot be opened: the message, then the file and why.
      {{"check", "missing.csv"}, 1, {}, {kOpenFailed, missing}},
      {{"plan", "missing.csv"}, 1, {}, {kOpenFailed, missing}},
      {{"enter", "missing.csv", "--simulate"}, 1, {}, {kOpenFailed, missing}},
      {{"enter", "missing.csv", "--port", "/dev/null", "--yes"}, 1, {}, {kOpenFailed, missing}},
      {{"normalize", "missing.csv", "-o", "out.csv"}, 1, {}, {kOpenFailed, missing}},
      {{"normalize", "album.csv", "-o", "no/such/dir.csv"}, 1, {}, {kOpenFailed, std::string("no/such/dir.csv: ") + kNoSuchFile}},
      {{"check", "."}, 1, {}, {kOpenFailed, ".: Is a directory"}},
      // normalize rewrites its input only when told to.
      {{"normalize", "album.csv"}, 2, {}, {"vrellix-cli normalize: give -o OUT, or --in-place to rewrite IN"}},
      {{"normalize", "album.csv", "-o", "out.csv", "--in-place"}, 2, {}, {"vrellix-cli normalize: -o and --in-place cannot be used together"}},
      {{"normalize", "album.csv", "--in-place"}, 0, {"ＳＡＶＥ終了"}, {}},
      // Readings after the last named track: saved without them, each named.
      {{"normalize", "unnamed.csv", "-o", "named.csv"}, 0, {"ＳＡＶＥ終了"},
       {"vrellix-cli normalize: track 3's reading \"b\" is not saved: no track from 3 on has a name",
        "vrellix-cli normalize: track 5's reading \"c\" is not saved: no track from 5 on has a name"}},
      // The simulator names each field the album leaves empty while it holds
      // old text, and the device then does not hold the album.
      {{"enter", "album.csv", "--simulate"}, 1, {"title T", "track 1 name A"},
       {"yomi is empty in the album, so not entered: the device still holds OLD",
        "artist is empty in the album, so not entered: the device still holds OLD",
        "track 1 yomi is empty in the album, so not entered: the device still holds OLD"}},
      // --from, with the simulator.
      {{"enter", example, "--simulate", "--from", "track:2"}, 0, kTracksFromTwo, {}},
      {{"enter", example, "--simulate", "--from", "start"}, 0, wholeExample, {}},
      {{"enter", example, "--simulate", "--from", "track:4"}, 0, {kTracksFromTwo[4], kTracksFromTwo[5]}, {}},
      {{"enter", example, "--simulate", "--from", "track:5"}, 1, {}, {"vrellix-cli enter: --from track:5: no ticked track from 5 on to enter"}},
      {{"enter", example, "--simulate", "--from", "track:0"}, 2, {},
       {"vrellix-cli enter: --from: 'track:0' is not 'start' or 'track:N' with N from 1 to 50"}},
      {{"enter", example, "--simulate", "--from", "track:51"}, 2, {}, {}},
      {{"enter", example, "--simulate", "--from", "end"}, 2, {}, {}},
      {{"enter", example, "--simulate", "--from"}, 2, {}, {"vrellix-cli enter: --from needs a value (WHERE)"}},
  };
  for (const CommandLine& c : cases) {
    std::string joined;
    for (const std::string& arg : c.args) joined += " " + arg;
    SCOPED_TRACE(joined);
    const ProcessResult run = RunCli(c.args, dir);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    if (c.exitCode != 0 || !c.out.empty()) {
      EXPECT_EQ(SplitLines(run.out), c.out);
    }
    if (c.exitCode != 0) {
      EXPECT_NE(run.err, "");
    }
    // The lines given, in order, among the others.
    const std::vector<std::string> lines = SplitLines(run.err);
    auto at = lines.begin();
    for (const std::string& wanted : c.err) {
      at = std::find(at, lines.end(), wanted);
      EXPECT_NE(at, lines.end()) << "no line \"" << wanted << "\" in:\n" << run.err;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));

  // plan --summary: the last line of the whole plan, alone.
  const ProcessResult plan = RunCli({"plan", "album.csv", "--delay", "0"}, dir);
  const ProcessResult summary = RunCli({"plan", "album.csv", "--delay", "0", "--summary"}, dir);
  EXPECT_EQ(summary.exitCode, 0) << summary.err;
  const std::vector<std::string> planLines = SplitLines(plan.out);
  ASSERT_GT(planLines.size(), 1u);
  EXPECT_EQ(SplitLines(summary.out), std::vector<std::string>{planLines.back()});
}

}  // namespace
}  // namespace vrellix
