// vrellix-cli check and normalize, run as the user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "support/scratch_dir.h"

namespace vrellix {
namespace {

using testing::ProcessResult;
using testing::ReadBytes;
using testing::RunCli;
using testing::ScratchDir;
using testing::WriteBytes;

using CliRun = ProcessResult;

// File names are given relative to the scratch directory, where the program runs.
class CliAlbumTest : public ::testing::Test {
 protected:
  CliRun Cli(const std::vector<std::string>& args) { return RunCli(args, dir); }

  ScratchDir dir;
};

// Code page 932 with a character of every class: hiragana, both katakana widths,
// both letter and digit widths, both symbol widths, both spaces.
const std::string kEveryClassCp932 =
    "\xCA\xDF\xB0\xC3\xA8\xB0\x81\x45\x83\x69\x83\x43\x83\x67 2026\r\n"  // ﾊﾟｰﾃｨｰ・ナイト 2026
    "\x82\xCF\x81\x5B\x82\xC4\x82\xA1\x81\x5B\r\n"                          // ぱーてぃー
    "\x82\x71\x82\x79\x82\x73 & Friends!\r\n"                               // ＲＺＴ & Friends!
    "\x82\x50\x82\x51\x81\x40\x82\x60,\x82\xA4\x82\xBD\r\n";                // １２　Ａ,うた

// The program's message, then the file and the system's reason in its words
// (which differ between systems).
void ExpectOpenFailureNaming(const std::string& err, const std::string& file) {
  ASSERT_FALSE(err.empty());
  const std::string head = "ファイルオープンに失敗しました\n" + file + ": ";
  EXPECT_EQ(err.compare(0, head.size(), head), 0) << err;
  EXPECT_GT(err.size(), head.size() + 1) << "no reason: " << err;
  EXPECT_EQ(err.back(), '\n');
  EXPECT_EQ(err.find('\n', head.size()), err.size() - 1) << "one line of reason: " << err;
}

TEST_F(CliAlbumTest, CheckAcceptsTheShippedExample) {
  const CliRun run = Cli({"check", VRELLIX_EXAMPLES "/album.csv"});
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
    const CliRun run = Cli({"check", c.file});
    EXPECT_EQ(run.exitCode, 0) << c.file << ": " << run.err;
    EXPECT_EQ(run.out, c.summary) << c.file;
  }
}

// The first fault's message, then every fault with its field and character.
TEST_F(CliAlbumTest, CheckReportsEveryFaultAndFails) {
  const std::string cannot = "ＲＺＴで入力できない文字です";
  const std::string hiragana = "よみにはひらがなだけ入力できます";
  const struct {
    const char* what;
    std::string file;
    std::string message;
  } cases[] = {
      {"kanji in the title", "漢字\r\nよみ\r\n",
       "不正な文字が含まれています。修正して下さい(Title)\nタイトルの1文字目「漢」: " + cannot +
           "\nタイトルの2文字目「字」: " + cannot},
      {"katakana in a track reading", "T\r\nnone\r\nA\r\nア,ア\r\n",
       "不正な文字が含まれています。修正して下さい(Track[1])(よみ)\nトラック1のよみの1文字目「ア」: " + hiragana},
      {"faults in several fields", "T\r\nカ\r\nA亜\r\n曲,よみ\r\n",
       "不正な文字が含まれています。修正して下さい(よみ)\nよみの1文字目「カ」: " + hiragana +
           "\nアーティストの2文字目「亜」: " + cannot + "\nトラック1の曲名の1文字目「曲」: " + cannot},
      {"nothing to enter", "\r\n\r\n", "入力を行う文字がありません"},
      {"field too long", std::string(33, 'x'), "フォーマットエラー検出(文字数オーバー[1項目目])"},
      {"undecodable bytes", "T,\x82", "フォーマットエラー検出(文字コード[2項目目])"},
  };
  for (const auto& c : cases) {
    WriteBytes(dir.File("bad.csv"), c.file);
    const CliRun run = Cli({"check", "bad.csv"});
    EXPECT_EQ(run.exitCode, 1) << c.what;
    EXPECT_EQ(run.out, "") << c.what;
    EXPECT_EQ(run.err, c.message + "\n") << c.what;
  }
}

// The load checks named rows only, so a reading without a name is ignored, as
// in a window whose rows start unchecked.
TEST_F(CliAlbumTest, CheckIgnoresAReadingWithoutName) {
  WriteBytes(dir.File("album.csv"), "T\r\nnone\r\nA\r\nnone,\x82\xE6\r\n");
  const CliRun run = Cli({"check", "album.csv"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "ok: Title, Artist and 0 tracks to enter\n");
}

TEST_F(CliAlbumTest, CheckRefusesMissingFilesAndBadArguments) {
  CliRun run = Cli({"check", "missing.csv"});
  EXPECT_EQ(run.exitCode, 1);
  ExpectOpenFailureNaming(run.err, "missing.csv");
  EXPECT_EQ(Cli({"check"}).exitCode, 2);
  EXPECT_EQ(Cli({"check", "a.csv", "b.csv"}).exitCode, 2);
}

TEST_F(CliAlbumTest, NormalizeWritesTheSavedFormToOut) {
  WriteBytes(dir.File("in.csv"), "\xEF\xBB\xBF" "  タイトル ,NONE,〜\nうた,\n\n");
  const std::string before = ReadBytes(dir.File("in.csv"));
  const CliRun run = Cli({"normalize", "in.csv", "-o", "out.csv"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "ＳＡＶＥ終了\n");
  EXPECT_EQ(ReadBytes(dir.File("out.csv")),
            "\x83\x5E\x83\x43\x83\x67\x83\x8B\r\nnone\r\n\x81\x60\r\n\x82\xA4\x82\xBD,none\r\n");
  EXPECT_EQ(ReadBytes(dir.File("in.csv")), before);
}

TEST_F(CliAlbumTest, NormalizeInPlaceRewritesTheInput) {
  WriteBytes(dir.File("album.csv"), "T,Y,A,N1,Y1,none,none,N3,Y3");
  const CliRun run = Cli({"normalize", "album.csv", "--in-place"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(dir.File("album.csv")), "T\r\nY\r\nA\r\nN1,Y1\r\nnone,none\r\nN3,Y3\r\n");
}

TEST_F(CliAlbumTest, NormalizeWritesNothingWhenTheLoadFails) {
  WriteBytes(dir.File("in.csv"), "T,Y,A,\x85\x40");
  const CliRun run = Cli({"normalize", "in.csv", "-o", "out.csv"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "フォーマットエラー検出(文字コード[4項目目])\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));
  EXPECT_EQ(Cli({"normalize"}).exitCode, 2);
  EXPECT_EQ(Cli({"normalize", "a", "-o"}).exitCode, 2);
}

TEST_F(CliAlbumTest, NormalizeReportsAnUnwritableTarget) {
  WriteBytes(dir.File("in.csv"), "T");
  const CliRun run = Cli({"normalize", "in.csv", "-o", "no/such/dir.csv"});
  EXPECT_EQ(run.exitCode, 1);
  ExpectOpenFailureNaming(run.err, "no/such/dir.csv");
}

// Every command that writes an album file leaves one the user made read-only.
TEST_F(CliAlbumTest, AReadOnlyTargetIsLeftAsItWas) {
  WriteBytes(dir.File("in.csv"), "うた\r\nうた\r\nA\r\nうた,うた\r\n");
  WriteBytes(dir.File("disc.cue"), "TITLE \"T\"\r\nTRACK 01 AUDIO\r\n");
  WriteBytes(dir.File("out.csv"), "old\r\n");
  testing::MakeReadOnly(dir.File("out.csv"));
  const std::vector<std::string> commands[] = {
      {"normalize", "in.csv", "-o"}, {"normalize", "--in-place"}, {"readings", "in.csv", "-o"}, {"import-cue", "disc.cue", "-o"}};
  for (std::vector<std::string> args : commands) {
    args.push_back("out.csv");
    const CliRun run = Cli(args);
    EXPECT_EQ(run.exitCode, 1) << args[0];
    EXPECT_EQ(run.err, "ファイルオープンに失敗しました\nout.csv: 読み取り専用です\n") << args[0];
    EXPECT_EQ(ReadBytes(dir.File("out.csv")), "old\r\n") << args[0];
  }
}

// Names reach the program and the file system whole, spaces and Japanese
// included, whatever the system's code page.
TEST_F(CliAlbumTest, FolderAndFileNamesArriveWhole) {
  const struct {
    const char* folder;
    const char* file;
  } cases[] = {
      {"日本語", "アルバム.csv"},
      {"ﾌｫﾙﾀﾞ with spaces", "ａｌｂｕｍ 1.csv"},
  };
  for (const auto& c : cases) {
    const std::string folder = dir.File(c.folder);
    std::filesystem::create_directory(std::filesystem::u8path(folder));
    const std::string album = std::string(c.folder) + "/" + c.file;
    WriteBytes(dir.File(album), "T\r\nnone\r\nA\r\n");
    const CliRun check = Cli({"check", album});
    EXPECT_EQ(check.exitCode, 0) << album << ": " << check.err;
    EXPECT_EQ(check.out, "ok: Title, Artist and 0 tracks to enter\n") << album;

    const std::string saved = std::string(c.folder) + "/保存 " + c.file;
    const CliRun normalize = Cli({"normalize", album, "-o", saved});
    EXPECT_EQ(normalize.exitCode, 0) << saved << ": " << normalize.err;
    EXPECT_EQ(ReadBytes(dir.File(saved)), "T\r\nnone\r\nA\r\n") << saved;
  }
}

}  // namespace
}  // namespace vrellix
