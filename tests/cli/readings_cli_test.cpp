// vrellix-cli readings and import-cue, run as the user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "album/album_csv.h"
#include "cli/cli_process.h"
#include "reading/reading_provider.h"
#include "support/cp932.h"
#include "support/edited_albums.h"

namespace vrellix {
namespace {

using testing::Cp932;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::Repeat;
using testing::RunCli;
using testing::ScratchDir;
using testing::SplitLines;
using testing::WriteBytes;

// A CUE sheet with the disc's texts and one TRACK per title.
std::string CueSheet(const std::string& title, const std::string& performer, const std::vector<std::string>& tracks) {
  std::string sheet = "REM GENRE Pop\r\nPERFORMER \"" + performer + "\"\r\nTITLE \"" + title + "\"\r\nFILE \"a.wav\" WAVE\r\n";
  for (size_t i = 0; i < tracks.size(); ++i) {
    sheet += "  TRACK " + std::to_string(i + 1) + " AUDIO\r\n    TITLE " + tracks[i] + "\r\n    INDEX 01 00:00:00\r\n";
  }
  return sheet;
}

struct Invocation {
  const char* what;
  std::vector<std::pair<std::string, std::string>> files;  // name, bytes, written before the run
  std::vector<std::string> args;
  int exitCode;
  std::vector<std::string> out;  // stdout's lines
  std::string err;               // stderr, whole
  std::optional<std::string> written;  // out.csv afterwards (UTF-8 here); nullopt: it must not exist
};
void PrintTo(const Invocation& c, std::ostream* os) { *os << c.what; }

class ReadingsCliTest : public ::testing::TestWithParam<Invocation> {};

TEST_P(ReadingsCliTest, Runs) {
  const Invocation& c = GetParam();
  ScratchDir dir;
  for (const auto& [name, bytes] : c.files) WriteBytes(dir.File(name), bytes);
  const ProcessResult run = RunCli(c.args, dir);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  EXPECT_EQ(SplitLines(run.out), c.out);
  if (c.exitCode == 2) {
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  } else {
    EXPECT_EQ(run.err, c.err);
  }
  if (c.written) {
    EXPECT_EQ(ReadBytes(dir.File("out.csv")), Cp932(*c.written));
  } else {
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));
  }
}

const std::string kKanaAlbum = "スピッツ\r\nnone\r\nｽﾋﾟｯﾂ\r\nロビンソン,none\r\n空も飛べるはず,そらもとべるはず\r\nＢ'z,びー\r\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Readings, ReadingsCliTest, ::testing::Values(
  Invocation{"fills the empty readings; kana need no dictionary",
    {{"in.csv", kKanaAlbum}}, {"readings", "in.csv", "-o", "out.csv"}, 0,
    {"よみ: \"\" → すぴっつ", "トラック1のよみ: \"\" → ろびんそん", "ＳＡＶＥ終了"}, "",
    "スピッツ\r\nすぴっつ\r\nｽﾋﾟｯﾂ\r\nロビンソン,ろびんそん\r\n空も飛べるはず,そらもとべるはず\r\nＢ'z,びー\r\n"},
  Invocation{"--overwrite replaces a reading that differs",
    {{"in.csv", "♪\r\nnone\r\nnone\r\nＢ'z,びー\r\nABCDE,none\r\n"}}, {"readings", "in.csv", "-o", "out.csv", "--overwrite"}, 0,
    {"トラック1のよみ: びー → びーぜっと", "ＳＡＶＥ終了"},
    "よみ: nothing in the name is read aloud; left as it was\n"
    "トラック2のよみ: a Latin word of four or more letters is not spelled out; left as it was\n",
    "♪\r\nnone\r\nnone\r\nＢ'z,びーぜっと\r\nABCDE,none\r\n"},
  Invocation{"a missing file is named with the reason",
    {}, {"readings", "missing.csv", "-o", "out.csv"}, 1, {},
    "ファイルオープンに失敗しました\nmissing.csv: No such file or directory\n", std::nullopt},
  Invocation{"a target that cannot be made",
    {{"in.csv", kKanaAlbum}}, {"readings", "in.csv", "-o", "no/such/out.csv"}, 1,
    {"よみ: \"\" → すぴっつ", "トラック1のよみ: \"\" → ろびんそん"},
    "ファイルオープンに失敗しました\nno/such/out.csv: No such file or directory\n", std::nullopt},
  Invocation{"-o is required", {{"in.csv", kKanaAlbum}}, {"readings", "in.csv"}, 2, {}, "-o OUT is required", std::nullopt},
  Invocation{"--names: each name in kana of one script, the rest as it is",
    {{"in.csv", "すぴっつ\r\nnone\r\nＢ'zのうた\r\nﾛﾋﾞﾝｿﾝ,none\r\n"}}, {"readings", "in.csv", "-o", "out.csv", "--names", "katakana"}, 0,
    {"タイトル: すぴっつ → スピッツ", "よみ: \"\" → すぴっつ", "アーティスト: Ｂ'zのうた → Ｂ'zノウタ",
     "トラック1の曲名: ﾛﾋﾞﾝｿﾝ → ロビンソン", "トラック1のよみ: \"\" → ろびんそん", "ＳＡＶＥ終了"}, "",
    "スピッツ\r\nすぴっつ\r\nＢ'zノウタ\r\nロビンソン,ろびんそん\r\n"},
  Invocation{"--names takes a style", {{"in.csv", kKanaAlbum}},
    {"readings", "in.csv", "-o", "out.csv", "--names", "romaji"}, 2, {}, "hiragana or katakana", std::nullopt}
));

const std::string kLearnedAlbum = "米津玄師\r\nよねづけんし\r\nA\r\n夜に駆ける,よるにかける\r\nLemon,none\r\n少女,Ａ\r\n";

INSTANTIATE_TEST_SUITE_P(Learning, ReadingsCliTest, ::testing::Values(
  Invocation{"reading: a line for each name, learned first; kana need no dictionary",
    {{"learned-readings.tsv", "米津玄師\tよねづけんし\n"}}, {"reading", "米津玄師", "Lemon", "すぴっつ", "--count", "1"}, 0,
    {"よねづけんし", "", "すぴっつ"}, "", std::nullopt},
  Invocation{"learn: a file that cannot be read is named; the others are learned",
    {{"a.csv", kLearnedAlbum}}, {"learn", "missing.csv", "a.csv"}, 1,
    {"a.csv: 2 readings", "2 readings learned (learned-readings.tsv)"},
    "ファイルオープンに失敗しました\nmissing.csv: No such file or directory\n", std::nullopt},
  Invocation{"reading: --count is a number", {}, {"reading", "東京", "--count", "0"}, 2, {}, "--count", std::nullopt}
));

// learn keeps the pairs with kanji and a reading the field takes, which
// reading then gives first, in the store the user may edit.
TEST(LearnCli, WhatIsLearnedComesFirstInLaterRuns) {
  ScratchDir dir;
  WriteBytes(dir.File("a.csv"), kLearnedAlbum);
  ASSERT_EQ(RunCli({"learn", "a.csv"}, dir).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir.File("learned-readings.tsv")), "米津玄師\tよねづけんし\n夜に駆ける\tよるにかける\n");
  const ProcessResult run = RunCli({"reading", "米津玄師", "夜に駆ける", "--count", "1"}, dir);
  EXPECT_EQ(SplitLines(run.out), (std::vector<std::string>{"よねづけんし", "よるにかける"}));
}

INSTANTIATE_TEST_SUITE_P(ImportCue, ReadingsCliTest, ::testing::Values(
  Invocation{"UTF-8 with a byte-order mark",
    {{"disc.cue", "\xEF\xBB\xBF" + CueSheet("ロビンソン", "スピッツ", {"\"ロビンソン\"", "  Ｂ'z  "})}},
    {"import-cue", "disc.cue", "-o", "out.csv"}, 0,
    {"タイトル: ロビンソン", "アーティスト: スピッツ", "2 tracks", "ＳＡＶＥ終了"}, "",
    "ロビンソン\r\nnone\r\nスピッツ\r\nロビンソン,none\r\nＢ'z,none\r\n"},
  Invocation{"code page 932; a text over its limit is saved whole and named",
    {{"disc.cue", Cp932(CueSheet(Repeat("あ", 17), "A", {"うた"}))}},
    {"import-cue", "disc.cue", "-o", "out.csv"}, 1,
    {"タイトル: " + Repeat("あ", 17), "アーティスト: A", "1 track", "ＳＡＶＥ終了"},
    "タイトル: 34 bytes, more than the 32 the field takes: shorten it in the album file\n",
    Repeat("あ", 17) + "\r\nnone\r\nA\r\nうた,none\r\n"},
  Invocation{"more than 50 tracks: nothing written",
    {{"disc.cue", CueSheet("T", "A", std::vector<std::string>(51, "x"))}},
    {"import-cue", "disc.cue", "-o", "out.csv"}, 1, {},
    "トラック数が５０を越えています(51トラック)。CUEシートを読み込めません\n", std::nullopt},
  Invocation{"a comma cannot be saved",
    {{"disc.cue", CueSheet("T", "A", {"\"Hello, World\""})}},
    {"import-cue", "disc.cue", "-o", "out.csv"}, 1, {},
    "「,」(半角カンマ)はCSVファイルに保存できません。修正して下さい(Track[1])\n", std::nullopt},
  Invocation{"a directory is no sheet",
    {}, {"import-cue", ".", "-o", "out.csv"}, 1, {}, "ファイルオープンに失敗しました\n.: Is a directory\n", std::nullopt},
  Invocation{"-o is required", {}, {"import-cue", "disc.cue"}, 2, {}, "-o OUT is required", std::nullopt}
));
// clang-format on

// The issue's own check: the readings of an album with kanji names make a file
// that check accepts and that the simulated device then holds exactly.
TEST(ReadingsCliEndToEnd, KanjiAlbumIsEnteredExactlyAfterReadings) {
  if (!MakeSystemReadingProvider()->Available()) {
    GTEST_SKIP() << "no readings on this system: " << MakeSystemReadingProvider()->UnavailableReason();
  }
  ScratchDir dir;
  WriteBytes(dir.File("in.csv"), Cp932("東京事変\r\nnone\r\n椎名林檎\r\n群青日和,none\r\n透明人間,none\r\n"));
  const ProcessResult read = RunCli({"readings", "in.csv", "-o", "out.csv", "--names", "katakana"}, dir);
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(SplitLines(read.out).front(), "タイトル: 東京事変 → トウキョウジヘン");

  const ProcessResult check = RunCli({"check", "out.csv"}, dir);
  EXPECT_EQ(check.exitCode, 0) << check.err;

  EditedAlbum album;
  ASSERT_TRUE(LoadAlbumCsv(dir.File("out.csv"), album).Ok());
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
