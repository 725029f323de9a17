#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "keys/key_link.h"
#include "settings/link_settings.h"

namespace vrellix {
namespace {

using testing::ProcessResult;
using testing::RunCli;
using testing::SplitLines;
using testing::ScratchDir;
using testing::WriteBytes;

// Title, reading (UTF-8, converted on load), no artist, one track with a name.
const char kAlbumCsv[] = "1\r\nあ\r\nnone\r\n2,none\r\n";

struct PlanTotals {
  int keys = 0;
  long long pauseMs = 0;
  int rangeMax = -1;
  int results = 0;
  std::vector<int> keyCodes;
  std::string summary;
  std::vector<std::string> unparsed;
};

PlanTotals ParsePlan(const std::string& out) {
  static const std::regex kRange("range 0 (\\d+)");
  static const std::regex kStatus("status .+");
  static const std::regex kKey("key (\\d+) KEY_[0-9A-Z_]+");
  static const std::regex kPause("pause (\\d+)");
  static const std::regex kProgress("progress \\d+");
  static const std::regex kResult("result success");
  PlanTotals totals;
  std::smatch match;
  for (const std::string& line : SplitLines(out)) {
    if (std::regex_match(line, match, kRange)) {
      totals.rangeMax = std::stoi(match[1]);
    } else if (std::regex_match(line, match, kKey)) {
      ++totals.keys;
      totals.keyCodes.push_back(std::stoi(match[1]));
    } else if (std::regex_match(line, match, kPause)) {
      totals.pauseMs += std::stoll(match[1]);
    } else if (std::regex_match(line, kResult)) {
      ++totals.results;
    } else if (std::regex_match(line, kStatus) || std::regex_match(line, kProgress)) {
    } else if (!line.empty() && line[0] == '#') {
      totals.summary = line;
    } else {
      totals.unparsed.push_back(line);
    }
  }
  return totals;
}

// The summary agrees with the lines above it, at the given command delay.
void ExpectSummaryAgrees(const PlanTotals& totals, int delay) {
  static const std::regex kSummary("# (\\d+) keys, (\\d+) ms of pauses, about (\\d+):(\\d\\d) at (\\d+) ms command delay");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(totals.summary, match, kSummary)) << totals.summary;
  EXPECT_EQ(std::stoi(match[1]), totals.keys);
  EXPECT_EQ(std::stoll(match[2]), totals.pauseMs);
  EXPECT_EQ(std::stoi(match[5]), delay);
  // Each key's write, reply wait and delay, the pauses, and the quiet time after the last key.
  const long long estimateMs = totals.keys * (17LL + 142 + delay) + totals.pauseMs + kLineSettleMs;
  const long long seconds = (estimateMs + 500) / 1000;
  EXPECT_EQ(std::stoll(match[3]), seconds / 60);
  EXPECT_EQ(std::stoll(match[4]), seconds % 60);
}

TEST(PlanCommandTest, PrintsEveryStepAndAnAgreeingEstimate) {
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), kAlbumCsv);
  for (int delay : {0, 100, 2500}) {
    SCOPED_TRACE("delay " + std::to_string(delay));
    const ProcessResult run = RunCli({"plan", "album.csv", "--delay", std::to_string(delay)}, dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PlanTotals totals = ParsePlan(run.out);
    EXPECT_TRUE(totals.unparsed.empty()) << totals.unparsed.front();
    EXPECT_EQ(totals.rangeMax, 4);
    EXPECT_EQ(totals.results, 1);
    ExpectSummaryAgrees(totals, delay);
    const std::vector<std::string> lines = SplitLines(run.out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "range 0 4");
    EXPECT_EQ(lines[1], "status タイトル名入力中");
    EXPECT_EQ(lines[lines.size() - 2], "result success");
    EXPECT_EQ(lines[lines.size() - 3], "key 21 KEY_BACK");
  }
}

TEST(PlanCommandTest, ExampleAlbumPlanAgreesWithItsSummary) {
  ScratchDir dir;
  const ProcessResult run = RunCli({"plan", VRELLIX_EXAMPLES "/album.csv", "--delay", "100"}, dir);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const PlanTotals totals = ParsePlan(run.out);
  EXPECT_TRUE(totals.unparsed.empty());
  EXPECT_EQ(totals.results, 1);
  EXPECT_GT(totals.keys, 0);
  ExpectSummaryAgrees(totals, 100);
}

TEST(PlanCommandTest, DelayComesFromTheSettingsFileWhenPresentAndNothingIsWritten) {
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), kAlbumCsv);

  ProcessResult run = RunCli({"plan", "album.csv"}, dir);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectSummaryAgrees(ParsePlan(run.out), 100);
  EXPECT_EQ(::access(dir.File("rzt_input.ini").c_str(), F_OK), -1) << "plan must not create the settings file";

  // [赤外線通信設定] ｺﾏﾝﾄﾞDELAY=250, in code page 932.
  const std::string ini = std::string("[\x90\xD4\x8A\x4F\x90\xFC\x92\xCA\x90\x4D\x90\xDD\x92\xE8]\r\n") +
                          "\xBA\xCF\xDD\xC4\xDE" "DELAY=250\r\n";
  WriteBytes(dir.File("rzt_input.ini"), ini);
  run = RunCli({"plan", "album.csv"}, dir);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectSummaryAgrees(ParsePlan(run.out), 250);
  EXPECT_EQ(testing::ReadBytes(dir.File("rzt_input.ini")), ini);

  run = RunCli({"plan", "album.csv", "--delay", "7"}, dir);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectSummaryAgrees(ParsePlan(run.out), 7);
}

// A delay in the file over the limit, even past INT_MAX, is held to the
// limit, and the estimate is that of the limit.
TEST(PlanCommandTest, LargestDelayInTheSettingsFileGivesTheRightEstimate) {
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), kAlbumCsv);
  for (const char* value : {"10000", "10001", "2147483647", "99999999999"}) {
    SCOPED_TRACE(value);
    WriteBytes(dir.File("rzt_input.ini"), std::string("[\x90\xD4\x8A\x4F\x90\xFC\x92\xCA\x90\x4D\x90\xDD\x92\xE8]\r\n") +
                                              "\xBA\xCF\xDD\xC4\xDE" "DELAY=" + value + "\r\n");
    const ProcessResult run = RunCli({"plan", "album.csv"}, dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PlanTotals totals = ParsePlan(run.out);
    EXPECT_GT(totals.keys, 0);
    ExpectSummaryAgrees(totals, kMaxCommandDelayMs);
  }
}

TEST(PlanCommandTest, RefusesBadFilesAndArguments) {
  ScratchDir dir;
  WriteBytes(dir.File("kanji.csv"), "漢字\r\n");
  WriteBytes(dir.File("empty.csv"), "none\r\nnone\r\nnone\r\n");
  WriteBytes(dir.File("album.csv"), kAlbumCsv);
  struct Case {
    std::vector<std::string> args;
    int exitCode;
  };
  const Case cases[] = {
      {{"plan", "kanji.csv"}, 1},
      {{"plan", "empty.csv"}, 1},
      {{"plan", "missing.csv"}, 1},
      {{"plan"}, 2},
      {{"plan", "album.csv", "--delay"}, 2},
      {{"plan", "album.csv", "--delay", "-5"}, 2},
      {{"plan", "album.csv", "--delay", "12ms"}, 2},
      {{"plan", "album.csv", "other.csv"}, 2},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    SCOPED_TRACE(joined);
    const ProcessResult run = RunCli(c.args, dir);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
  }
}

}  // namespace
}  // namespace vrellix
