// vrellix-cli enter --simulate, run as the user runs it: the whole job against
// the simulated device, no port, no settings file written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "messages/messages.h"
#include "support/sanitized_build.h"
#include "support/settings_file.h"

namespace vrellix {
namespace {

using testing::ChildProcess;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::RunCli;
using testing::SplitLines;
using testing::ScratchDir;
using testing::WriteBytes;

const std::string kExamples = VRELLIX_EXAMPLES;

bool SettingsFileExists(const ScratchDir& dir) { return std::filesystem::exists(dir.File("rzt_input.ini")); }

TEST(EnterSimulateTest, PrintsWhatTheDeviceHoldsForEachFieldOfTheExample) {
  ScratchDir dir;
  const ProcessResult run = RunCli({"enter", kExamples + "/album.csv", "--simulate", "--yes"}, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(SplitLines(run.out), (std::vector<std::string>{
                                     "title ﾊﾟｰﾃｨｰ・ナイト 2026",
                                     "yomi ぱーてぃーないと",
                                     "artist ＲＺＴ Ｂａｎｄ & Friends",
                                     "track 1 name はじまりのうた",
                                     "track 1 yomi はじまりのうた",
                                     "track 2 name ミッドナイト・ラン!",
                                     "track 2 yomi みっどないとらん",
                                     "track 3 name ｽﾃｰｼﾞ No.3 (Live)",
                                     "track 3 yomi すてーじなんばーすりー",
                                     "track 4 name １２３～ＡＢＣ　ｘｙｚ",
                                     "track 4 yomi いちにさん、えーびーしー",
                                 }));
  EXPECT_FALSE(SettingsFileExists(dir));
}

// The worst case: every field full of width switches and far symbol walks.
TEST(EnterSimulateTest, WorstCaseAlbumTakesLittleCpu) {
  ScratchDir dir;
  const ProcessResult run = RunCli({"enter", kExamples + "/worst-case.csv", "--simulate"}, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> lines = SplitLines(run.out);
  ASSERT_EQ(lines.size(), 103u);  // three headers and 50 tracks of two fields
  EXPECT_EQ(lines[0], "title .．.．.．.．.．.．.．.．.．.．..");
  EXPECT_EQ(lines[102], "track 50 yomi ぉぉぉぉぉぉぉぉぉぉぉぉぉぉぉぉ");

  const double used = run.cpuMs;
  ::testing::Test::RecordProperty("cpu_ms", static_cast<int>(used));
#if !defined(VRELLIX_SANITIZED)
  EXPECT_LT(used, 1000.0);
#endif
}

// The settings file gives the command delay when present, and is left as it was.
TEST(EnterSimulateTest, ReadsTheSettingsFileWithoutWritingIt) {
  ScratchDir dir;
  const std::string settings = "; kept as written\r\n" + testing::IniSection(testing::kSerialSection);
  WriteBytes(dir.File("rzt_input.ini"), settings);
  WriteBytes(dir.File("a.csv"), "A\r\nnone\r\nnone\r\n");
  // Fields empty before the job: the album's empty ones hold nothing old.
  const ProcessResult run = RunCli({"enter", "a.csv", "--simulate", "--old", ""}, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "title A\n");
  EXPECT_EQ(ReadBytes(dir.File("rzt_input.ini")), settings);
  EXPECT_NE(run.err.find("at 100 ms command delay"), std::string::npos) << run.err;

  const ProcessResult delayed = RunCli({"enter", "a.csv", "--simulate", "--old", "", "--delay", "7"}, dir);
  EXPECT_EQ(delayed.exitCode, 0) << delayed.err;
  EXPECT_NE(delayed.err.find("at 7 ms command delay"), std::string::npos) << delayed.err;
}

// The settings file is found in a folder whose name is not in the system's
// code page.
TEST(EnterSimulateTest, ReadsTheSettingsFileInAFolderWithAJapaneseName) {
  ScratchDir dir;
  const std::string folder = dir.File("設定 フォルダ");
  std::filesystem::create_directory(std::filesystem::u8path(folder));
  WriteBytes(folder + "/rzt_input.ini", testing::SettingsText(37));
  WriteBytes(folder + "/a.csv", "A\r\nnone\r\nnone\r\n");
  const ProcessResult run =
      testing::RunCliIn(std::filesystem::u8path(folder), {"enter", "a.csv", "--simulate", "--old", ""});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("at 37 ms command delay"), std::string::npos) << run.err;
}

struct OptionCase {
  const char* name;
  std::vector<std::string> args;  // after "enter a.csv"
  int exitCode;
};
void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }

class EnterSimulateOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(EnterSimulateOptions, AreCheckedBeforeAnythingRuns) {
  const OptionCase& c = GetParam();
  ScratchDir dir;
  // A reading, so an old text is erased by the reading field's 16 erase keys too.
  WriteBytes(dir.File("a.csv"), "A\r\n\x82\xA0\r\nB\r\n");
  std::vector<std::string> args{"enter", "a.csv"};
  args.insert(args.end(), c.args.begin(), c.args.end());
  const ProcessResult run = RunCli(args, dir);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  if (c.exitCode == 0) {
    EXPECT_EQ(run.out, "title A\nyomi あ\nartist B\n");
  } else {
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_FALSE(SettingsFileExists(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, EnterSimulateOptions,
    ::testing::Values(OptionCase{"YesIsAccepted", {"--simulate", "--yes"}, 0},
                      OptionCase{"OldTextOfSixteenCharacters", {"--old", "ああああああああああああああああ", "--simulate"}, 0},
                      OptionCase{"OldTextLongerThanAReadingField", {"--simulate", "--old", "ABCDEFGHIJKLMNOPQ"}, 2},
                      OptionCase{"OldTextNotInTheCodePage", {"--simulate", "--old", "\xF0\x9F\x98\x80"}, 2},
                      OptionCase{"OldTextWithoutSimulate", {"--old", "X", "--yes"}, 2},
                      OptionCase{"FaultWithoutSimulate", {"--yes", "--late-at", "1", "400"}, 2},
                      OptionCase{"PortWithSimulate", {"--simulate", "--port", "/dev/null"}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// A reply 1.9 s late, so the key is sent again, then the next key's packet
// lost: the late ACK must not be taken for that key's (the title would be ｃＢＣ).
TEST(EnterSimulateTest, LateReplyThenALostPacketEndsInTheFailureMessage) {
  ScratchDir dir;
  WriteBytes(dir.File("abc.csv"), "ABC\r\nnone\r\nnone\r\n");
  const ProcessResult run =
      RunCli({"enter", "abc.csv", "--simulate", "--delay", "0", "--late-at", "60", "1900", "--silent-at", "62"}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(messages::kJobFailed), std::string::npos) << run.out << run.err;
}

TEST(EnterSimulateTest, AlbumThatFailsItsChecksIsRefused) {
  ScratchDir dir;
  WriteBytes(dir.File("kanji.csv"), "\x8A\xBF\r\n");  // 漢: no routine enters it
  const ProcessResult run = RunCli({"enter", "kanji.csv", "--simulate"}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("不正な文字が含まれています。修正して下さい(Title)"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vrellix
