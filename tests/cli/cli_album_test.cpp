// vrellix-cli check and normalize, run as the user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/scratch_dir.h"

namespace vrellix {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

class CliAlbumTest : public ::testing::Test {
 protected:
  CliRun Cli(const std::string& args) {
    const std::string out = dir.File("stdout.txt");
    const std::string err = dir.File("stderr.txt");
    const std::string command = "'" VRELLIX_CLI_PATH "' " + args + " >'" + out + "' 2>'" + err + "' </dev/null";
    const int status = std::system(command.c_str());
    CliRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
  }
  std::string Quoted(const std::string& name) { return "'" + dir.File(name) + "'"; }

  ScratchDir dir;
};

// Code page 932 with a character of every class: hiragana, both katakana widths,
// both letter and digit widths, both symbol widths, both spaces.
const std::string kEveryClassCp932 =
    "\xCA\xDF\xB0\xC3\xA8\xB0\x81\x45\x83\x69\x83\x43\x83\x67 2026\r\n"  // ﾊﾟｰﾃｨｰ・ナイト 2026
    "\x82\xCF\x81\x5B\x82\xC4\x82\xA1\x81\x5B\r\n"                          // ぱーてぃー
    "\x82\x71\x82\x79\x82\x73 & Friends!\r\n"                               // ＲＺＴ & Friends!
    "\x82\x50\x82\x51\x81\x40\x82\x60,\x82\xA4\x82\xBD\r\n";                // １２　Ａ,うた

TEST_F(CliAlbumTest, CheckAcceptsTheShippedExample) {
  const CliRun run = Cli("check '" VRELLIX_EXAMPLES "/album.csv'");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "ok: Title, よみ, Artist and 4 tracks to enter\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CliAlbumTest, CheckReadsCodePage932AndUtf8WithBom) {
  WriteBytes(dir.File("cp932.csv"), kEveryClassCp932);
  WriteBytes(dir.File("bom.csv"), "\xEF\xBB\xBF" "タイトル\r\nnone\r\nｱｰﾃｨｽﾄ\r\nうた１,うたいち\r\nうた２,none\r\n");
  const struct {
    const char* file;
    const char* summary;
  } cases[] = {
      {"cp932.csv", "ok: Title, よみ, Artist and 1 track to enter\n"},
      {"bom.csv", "ok: Title, Artist and 2 tracks to enter\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli("check " + Quoted(c.file));
    EXPECT_EQ(run.exitCode, 0) << c.file << ": " << run.err;
    EXPECT_EQ(run.out, c.summary) << c.file;
  }
}

TEST_F(CliAlbumTest, CheckReportsTheFirstFaultAndFails) {
  const struct {
    const char* what;
    std::string file;
    std::string message;
  } cases[] = {
      {"kanji in the title", "漢字\r\nよみ\r\n", "不正な文字が含まれています。修正して下さい(Title)"},
      {"katakana in a track reading", "T\r\nnone\r\nA\r\nア,ア\r\n", "不正な文字が含まれています。修正して下さい(Track[1])(よみ)"},
      {"nothing to enter", "\r\n\r\n", "入力を行う文字がありません"},
      {"field too long", std::string(33, 'x'), "フォーマットエラー検出(文字数オーバー[1項目目])"},
      {"undecodable bytes", "T,\x82", "フォーマットエラー検出(文字コード[2項目目])"},
  };
  for (const auto& c : cases) {
    WriteBytes(dir.File("bad.csv"), c.file);
    const CliRun run = Cli("check " + Quoted("bad.csv"));
    EXPECT_EQ(run.exitCode, 1) << c.what;
    EXPECT_EQ(run.out, "") << c.what;
    EXPECT_EQ(run.err, c.message + "\n") << c.what;
  }
}

// The load checks named rows only, so a reading without a name is ignored, as
// in a window whose rows start unchecked.
TEST_F(CliAlbumTest, CheckIgnoresAReadingWithoutName) {
  WriteBytes(dir.File("album.csv"), "T\r\nnone\r\nA\r\nnone,\x82\xE6\r\n");
  const CliRun run = Cli("check " + Quoted("album.csv"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "ok: Title, Artist and 0 tracks to enter\n");
}

TEST_F(CliAlbumTest, CheckRefusesMissingFilesAndBadArguments) {
  CliRun run = Cli("check " + Quoted("missing.csv"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "ファイルオープンに失敗しました\n" + dir.File("missing.csv") + ": No such file or directory\n");
  EXPECT_EQ(Cli("check").exitCode, 2);
  EXPECT_EQ(Cli("check a.csv b.csv").exitCode, 2);
}

TEST_F(CliAlbumTest, NormalizeWritesTheSavedFormToOut) {
  WriteBytes(dir.File("in.csv"), "\xEF\xBB\xBF" "  タイトル ,NONE,〜\nうた,\n\n");
  const std::string before = ReadBytes(dir.File("in.csv"));
  const CliRun run = Cli("normalize " + Quoted("in.csv") + " -o " + Quoted("out.csv"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "ＳＡＶＥ終了\n");
  EXPECT_EQ(ReadBytes(dir.File("out.csv")),
            "\x83\x5E\x83\x43\x83\x67\x83\x8B\r\nnone\r\n\x81\x60\r\n\x82\xA4\x82\xBD,none\r\n");
  EXPECT_EQ(ReadBytes(dir.File("in.csv")), before);
}

TEST_F(CliAlbumTest, NormalizeInPlaceRewritesTheInput) {
  WriteBytes(dir.File("album.csv"), "T,Y,A,N1,Y1,none,none,N3,Y3");
  const CliRun run = Cli("normalize " + Quoted("album.csv") + " --in-place");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(dir.File("album.csv")), "T\r\nY\r\nA\r\nN1,Y1\r\nnone,none\r\nN3,Y3\r\n");
}

TEST_F(CliAlbumTest, NormalizeWritesNothingWhenTheLoadFails) {
  WriteBytes(dir.File("in.csv"), "T,Y,A,\x85\x40");
  const CliRun run = Cli("normalize " + Quoted("in.csv") + " -o " + Quoted("out.csv"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "フォーマットエラー検出(文字コード[4項目目])\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));
  EXPECT_EQ(Cli("normalize").exitCode, 2);
  EXPECT_EQ(Cli("normalize a -o").exitCode, 2);
}

TEST_F(CliAlbumTest, NormalizeReportsAnUnwritableTarget) {
  WriteBytes(dir.File("in.csv"), "T");
  const CliRun run = Cli("normalize " + Quoted("in.csv") + " -o " + Quoted("no/such/dir.csv"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "ファイルオープンに失敗しました\n" + dir.File("no/such/dir.csv") + ": No such file or directory\n");
}

}  // namespace
}  // namespace vrellix
