#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "cli/cli_process.h"
#include "messages/messages.h"
#include "support/real_ports.h"
#include "support/scripted_transmitter.h"

namespace vrellix {
namespace {

using testing::ChildProcess;
using testing::ProcessResult;
using testing::RunCli;
using testing::SplitLines;
using testing::ScratchDir;
using testing::ScriptedTransmitter;
using testing::WriteBytes;

// The smallest album worth a job: a one-character title (full-width digit:
// no width switch), nothing else. About twenty seconds of real pauses.
const char kTinyAlbumCsv[] = "１\r\nnone\r\nnone\r\n";
const char kSuccessText[] = "入力処理は正常に終了しました";
const char kFailureText[] = "エラーが発生したので入力処理を中止します(たぶんシリアル通信エラー)";

std::vector<int> PlannedKeys(const ScratchDir& dir, const std::string& file) {
  const ProcessResult plan = RunCli({"plan", file, "--delay", "0"}, dir);
  EXPECT_EQ(plan.exitCode, 0) << plan.err;
  static const std::regex kKey("key (\\d+) .*");
  std::vector<int> keys;
  std::smatch match;
  for (const std::string& line : SplitLines(plan.out)) {
    if (std::regex_match(line, match, kKey)) keys.push_back(std::stoi(match[1]));
  }
  return keys;
}

TEST(EnterCommandTest, SendsExactlyThePlannedKeys) {
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), kTinyAlbumCsv);
  const std::vector<int> planned = PlannedKeys(dir, "album.csv");
  ASSERT_FALSE(planned.empty());

  ScriptedTransmitter transmitter;
  const ProcessResult run =
      RunCli({"enter", "album.csv", "--port", transmitter.SlavePath(), "--delay", "0", "--yes"}, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(kSuccessText), std::string::npos) << run.out;
  EXPECT_EQ(transmitter.Keys(), planned);
}

TEST(EnterCommandTest, CtrlCStopsAfterTheKeyUnderWay) {
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), kTinyAlbumCsv);
  ScriptedTransmitter transmitter;
  ChildProcess child(VRELLIX_CLI_PATH,
                     {"enter", "album.csv", "--port", transmitter.SlavePath(), "--delay", "0", "--yes"}, dir.Path());
  ASSERT_TRUE(child.Started());
  // Into the erase keys of the title.
  const std::size_t before = transmitter.WaitForPackets(10, std::chrono::seconds(20));
  ASSERT_GE(before, 10u);
  child.Signal(SIGINT);
  const ProcessResult run = child.Wait();
  EXPECT_EQ(run.exitCode, 130) << run.err;
  EXPECT_EQ(run.out.find(kSuccessText), std::string::npos);
  EXPECT_LE(transmitter.Keys().size(), before + 1);
  const std::vector<std::string> lines = SplitLines(run.err);
  ASSERT_GE(lines.size(), 4u) << run.err;
  EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
            (std::vector<std::string>{"vrellix-cli: interrupted", "「タイトル」の入力中に中止しました",
                                      messages::kReturnToPlaylist,
                                      "to start again: vrellix-cli enter album.csv --port " + transmitter.SlavePath() +
                                          " --delay 0 --yes"}));
}

// A failure says where the job was, what to do on the device, and the command
// that continues; the progress, going to a pipe, is plain lines.
TEST(EnterCommandTest, RefusedKeysEndTheJobWithWhereItWasAndHowToContinue) {
  const struct {
    const char* file;
    const char* csv;
    int firstKey;
    const char* place;
    const char* continueWith;  // after "<file> --port <port> --delay 0 --yes"
  } cases[] = {
      {"album.csv", kTinyAlbumCsv, KEY_SELECT, "「タイトル」の入力中に中止しました", "to start again: vrellix-cli enter album.csv"},
      // No header texts and only track 2: the job heads for track 2 at once.
      {"my album.csv", "none\r\nnone\r\nnone\r\nnone,none\r\n\x82\x61,none\r\n", KEY_BACK,
       "「トラック2」の入力中に中止しました", "to continue from there: vrellix-cli enter 'my album.csv'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ScratchDir dir;
    WriteBytes(dir.File(c.file), c.csv);
    ScriptedTransmitter transmitter({{NAK}, {NAK}});
    const std::string port = transmitter.SlavePath();
    const ProcessResult run = RunCli({"enter", c.file, "--port", port, "--delay", "0", "--yes"}, dir);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(transmitter.Keys(), (std::vector<int>{c.firstKey, c.firstKey}));
    const std::vector<std::string> lines = SplitLines(run.err);
    ASSERT_GE(lines.size(), 4u) << run.err;
    const std::vector<std::string> last(lines.end() - 4, lines.end());
    const std::string suffix = std::string(c.place).find("トラック") != std::string::npos ? " --from track:2" : "";
    EXPECT_EQ(last, (std::vector<std::string>{kFailureText, c.place, messages::kReturnToPlaylist,
                                              std::string(c.continueWith) + " --port " + port +
                                                  " --delay 0 --yes" + suffix}));
    EXPECT_EQ(run.err.find_first_of("\r\x1b"), std::string::npos) << run.err;
  }
}

TEST(EnterCommandTest, NoAnswerToTheQuestionMeansNo) {
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), kTinyAlbumCsv);
  ScriptedTransmitter transmitter;
  const ProcessResult run = RunCli({"enter", "album.csv", "--port", transmitter.SlavePath()}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("ＲＺＴへ文字入力を開始します\n入力を行うプレイリストが反転表示状態である事を確認して下さい\nよろしいですか？"),
            std::string::npos);
  EXPECT_TRUE(transmitter.Keys().empty());
}

// The port is opened before the question: a wrong one is told, with why,
// before the user is asked anything.
TEST(EnterCommandTest, PortThatCannotBeOpenedIsNamedBeforeTheQuestion) {
  if (testing::ListingWouldOpenARealPort()) GTEST_SKIP() << "a ttyS port without a sysfs record";
  ScratchDir dir;
  WriteBytes(dir.File("album.csv"), kTinyAlbumCsv);
  const std::string missing = dir.File("no-such-tty");
  const ProcessResult run = RunCli({"enter", "album.csv", "--port", missing}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  const std::vector<std::string> lines = SplitLines(run.err);
  ASSERT_EQ(lines.size(), 3u) << run.err;
  EXPECT_EQ(lines[0], "通信ポートの初期化に失敗しました。環境を確認して再起動して下さい(" + missing + ")");
  EXPECT_EQ(lines[1], "通信ポートを変更する場合はINIファイルを編集して下さい");
  EXPECT_EQ(lines[2].rfind("原因: この名前の通信ポートはありません。", 0), 0u) << lines[2];
}

TEST(EnterCommandTest, BadFileIsRefusedBeforeAnythingElse) {
  ScratchDir dir;
  WriteBytes(dir.File("kanji.csv"), "漢字\r\n");
  const ProcessResult run = RunCli({"enter", "kanji.csv", "--port", dir.File("no-such-tty"), "--yes"}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.find("no-such-tty"), std::string::npos);
}

}  // namespace
}  // namespace vrellix
