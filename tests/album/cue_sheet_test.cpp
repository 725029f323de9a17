#include "album/cue_sheet.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/cp932.h"
#include "support/scratch_dir.h"
#include "text/text_codec.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

using namespace std::string_literals;

using testing::Cp932;

std::string Tracks(int count) {
  std::string sheet = "FILE \"disc.wav\" WAVE\n";
  for (int t = 1; t <= count; ++t) {
    sheet += "  TRACK " + std::to_string(t) + " AUDIO\n    TITLE \"トラック" + std::to_string(t) + "\"\n    INDEX 01 00:00:00\n";
  }
  return sheet;
}

struct CueCase {
  const char* what;
  std::string sheet;
  std::string title;
  std::string artist;
  std::vector<std::string> names;  // rows from the first; a row is ticked when named
};
void PrintTo(const CueCase& c, std::ostream* os) { *os << c.what; }

class CueSheetTest : public ::testing::TestWithParam<CueCase> {};

TEST_P(CueSheetTest, ReadsTheDiscAndItsTracks) {
  const CueCase& c = GetParam();
  EditedAlbum album;
  album.rows[49] = EditedRow{"old", "old", true};  // a new album: nothing of the old one stays
  const AlbumFileResult result = ParseCueSheet(c.sheet, album);
  ASSERT_TRUE(result.Ok()) << AlbumFileMessage(result);
  EXPECT_EQ(album.title, c.title);
  EXPECT_EQ(album.artist, c.artist);
  for (size_t r = 0; r < static_cast<size_t>(kTrackCount); ++r) {
    const std::string expected = r < c.names.size() ? c.names[r] : "";
    EXPECT_EQ(album.rows[r].name + album.rows[r].yomi, expected) << "row " << r;
    EXPECT_EQ(album.rows[r].checked, !expected.empty()) << "row " << r;
  }
}

const std::string kDisc =
    "REM GENRE J-Pop\r\nREM DATE 1999\r\nPERFORMER \"宇多田ヒカル\"\r\nTITLE \"First Love\"\r\n"
    "FILE \"First Love.wav\" WAVE\r\n"
    "  TRACK 01 AUDIO\r\n    TITLE \"Automatic -Album Edit-\"\r\n    PERFORMER \"someone else\"\r\n"
    "    INDEX 01 00:00:00\r\n"
    "  TRACK 02 AUDIO\r\n    TITLE \"Movin' on without you\"\r\n    INDEX 01 04:43:10\r\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sheets, CueSheetTest, ::testing::Values(
  CueCase{"UTF-8, REM lines, a track's PERFORMER", kDisc,
          "First Love", "宇多田ヒカル", {"Automatic -Album Edit-", "Movin' on without you"}},
  CueCase{"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "TITLE \"ﾐｷ\"\nTRACK 1 AUDIO\nTITLE \"曲\"\n",
          "ﾐｷ", "", {"曲"}},
  CueCase{"code page 932", Cp932("PERFORMER \"椎名林檎\"\nTITLE 無罪モラトリアム\nTRACK 01 AUDIO\nTITLE \"正しい街\"\n"),
          "無罪モラトリアム", "椎名林檎", {"正しい街"}},
  CueCase{"code page 932 that is also UTF-8", "TITLE \"\xD0\xB7\"\nTRACK 01 AUDIO\n",
          "ﾐｷ", "", {}},
  CueCase{"UTF-8 kanji without a mark, also code page 932 (譖ｲ)",
          "TITLE \"\xE6\x9B\xB2\"\nTRACK 01 AUDIO\n", "曲", "", {}},
  CueCase{"a tie goes to UTF-8 (÷ or ﾃｷ)", "TITLE \"\xC3\xB7\"\nTRACK 01 AUDIO\n", "÷", "", {}},
  CueCase{"unquoted: the rest of the line", "TITLE   Two  Words \t\nTRACK 01 AUDIO\nTITLE x \"y\"\n",
          "Two  Words", "", {"x \"y\""}},
  CueCase{"quoted: spaces kept, the rest ignored", "TITLE \" a b \" extra\nTRACK 01 AUDIO\nTITLE \"\"\n",
          " a b ", "", {}},
  CueCase{"a missing closing quote", "TITLE \"open ended  \nTRACK 01 AUDIO\n",
          "open ended", "", {}},
  CueCase{"any case, unknown commands", "catalog 1234567890123\ntitle \"t\"\nSONGWRITER \"s\"\nCDTEXTFILE \"x.cdt\"\n"
                                        "track 01 audio\nFLAGS DCP\nISRC JPXX09900001\nPREGAP 00:02:00\nTiTlE \"one\"\n",
          "t", "", {"one"}},
  CueCase{"file order; a track without a TITLE", "TRACK 03 AUDIO\nTITLE \"c\"\nTRACK 01 AUDIO\nTRACK 02 AUDIO\nTITLE b\n",
          "", "", {"c", "", "b"}},
  CueCase{"line ends CR, LF and CR LF", "TITLE \"t\"\rPERFORMER \"p\"\nTRACK 01 AUDIO\r\nTITLE \"a\"\r",
          "t", "p", {"a"}}
));
// clang-format on

TEST(CueSheet, FiftyTracksLoad) {
  EditedAlbum album;
  ASSERT_TRUE(ParseCueSheet(Tracks(50), album).Ok());
  EXPECT_EQ(album.rows[49].name, "トラック50");
}

struct RefusedCase {
  const char* what;
  std::string sheet;
  std::string message;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.what; }

class CueSheetRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(CueSheetRefusedTest, SaysWhy) {
  const RefusedCase& c = GetParam();
  EditedAlbum album;
  album.title = "kept";
  EXPECT_EQ(AlbumFileMessage(ParseCueSheet(c.sheet, album)), c.message);
  EXPECT_EQ(album.title, "kept");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sheets, CueSheetRefusedTest, ::testing::Values(
  RefusedCase{"51 tracks",     Tracks(51),  "トラック数が５０を越えています(51トラック)。CUEシートを読み込めません"},
  RefusedCase{"no track",      "TITLE \"t\"\nFILE \"a.wav\" WAVE\n", "CUEシートにトラックがありません"},
  RefusedCase{"empty",         "",          "CUEシートにトラックがありません"},
  RefusedCase{"not text",      "REM\nTRACK 01 AUDIO\nTITLE \"\x80\"\n", "フォーマットエラー検出(文字コード[3行目])"},
  RefusedCase{"a NUL",         "TITLE \"a\0b\"\nTRACK 1 AUDIO\n"s, "フォーマットエラー検出(文字コード[1行目])"},
  RefusedCase{"bad UTF-8 after a byte-order mark", "\xEF\xBB\xBFTRACK 1 AUDIO\r\n\r\nTITLE \"\xE3\x81\"\r\n",
              "フォーマットエラー検出(文字コード[3行目])"}
));
// clang-format on

// Nothing is cut: the Start checks name what does not fit.
TEST(CueSheet, LongTextsLoadWholeAndTheStartChecksRefuseThem) {
  const std::string longName(40, 'n');
  EditedAlbum album;
  ASSERT_TRUE(ParseCueSheet("TITLE \"t\"\nTRACK 01 AUDIO\nTITLE \"" + longName + "\"\n", album).Ok());
  EXPECT_EQ(album.rows[0].name, longName);
  EXPECT_EQ(RunStartChecks(album).message, "文字数が半角３２文字を越えています。修正して下さい(Track[1])");
}

TEST(CueSheet, LoadsAFileAndRefusesAMissingOne) {
  testing::ScratchDir dir;
  testing::WriteBytes(dir.File("disc.cue"), kDisc);
  EditedAlbum album;
  ASSERT_TRUE(LoadCueSheet(dir.File("disc.cue"), album).Ok());
  EXPECT_EQ(album.rows[1].name, "Movin' on without you");
  EXPECT_EQ(AlbumFileMessage(LoadCueSheet(dir.File("none.cue"), album)), "ファイルオープンに失敗しました");
}

}  // namespace
}  // namespace vrellix
