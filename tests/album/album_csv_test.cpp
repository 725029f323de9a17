#include "album/album_csv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "sim/album_generator.h"
#include "fileio/system_error.h"
#include "support/edited_albums.h"
#include "support/failing_files.h"
#include "support/platform_names.h"
#include "support/sanitized_build.h"
#include "support/scratch_dir.h"
#include "text/text_codec.h"

namespace vrellix {
namespace {

using testing::AlbumWith;
using testing::FailingFiles;
using testing::ReadBytes;
using testing::Repeat;
using testing::ScratchDir;
using testing::WithRow;
using testing::WriteBytes;

const char kOpenFailed[] = "ファイルオープンに失敗しました";
const char kWriteFailed[] = "ファイルの書き込みに失敗しました";
const char kOverflow[] = "フォーマットエラー検出(項目数オーバーフロー)";
const char kComma[] = "「,」(半角カンマ)はCSVファイルに保存できません。修正して下さい";
const char kUnsaveable[] = "CSVファイルに保存できない文字が含まれています。修正して下さい";

std::string TooLong(int field) { return "フォーマットエラー検出(文字数オーバー[" + std::to_string(field) + "項目目])"; }
std::string NotText(int field) { return "フォーマットエラー検出(文字コード[" + std::to_string(field) + "項目目])"; }

bool SameAlbum(const EditedAlbum& a, const EditedAlbum& b) {
  if (a.title != b.title || a.yomi != b.yomi || a.artist != b.artist) return false;
  for (int r = 0; r < kTrackCount; ++r) {
    const EditedRow& x = a.rows[static_cast<size_t>(r)];
    const EditedRow& y = b.rows[static_cast<size_t>(r)];
    if (x.name != y.name || x.yomi != y.yomi || x.checked != y.checked) return false;
  }
  return true;
}

// An album that any successful load would change.
EditedAlbum Sentinel() {
  EditedAlbum album;
  album.title = "old title";
  album.yomi = "おるど";
  album.artist = "old artist";
  for (int r = 0; r < kTrackCount; ++r) {
    album.rows[static_cast<size_t>(r)] = EditedRow{"old" + std::to_string(r), "", r % 2 == 0};
  }
  return album;
}

// ---------------------------------------------------------------- load

struct LoadCase {
  const char* what;
  std::string file;
  std::vector<std::string> fields;  // expected UTF-8 fields 1.. (the rest empty)
};

// Names the case in test listings (the default would print its bytes).
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.what; }

class CsvLoadTest : public ::testing::TestWithParam<LoadCase> {
 protected:
  ScratchDir dir;
};

TEST_P(CsvLoadTest, ReadsTheFieldsInFileOrder) {
  const LoadCase& c = GetParam();
  const std::string path = dir.File("album.csv");
  WriteBytes(path, c.file);
  EditedAlbum album = Sentinel();
  const AlbumFileResult result = LoadAlbumCsv(path, album);
  ASSERT_TRUE(result.Ok()) << c.what << ": " << AlbumFileMessage(result);

  std::vector<std::string> got = {album.title, album.yomi, album.artist};
  for (const EditedRow& row : album.rows) {
    got.push_back(row.name);
    got.push_back(row.yomi);
  }
  std::vector<std::string> expected = c.fields;
  expected.resize(got.size());
  EXPECT_EQ(got, expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvLoadTest,
    ::testing::Values(
        LoadCase{"saved form", "T\r\nY\r\nA\r\nN1,Y1\r\nN2,Y2\r\n", {"T", "Y", "A", "N1", "Y1", "N2", "Y2"}},
        LoadCase{"all on one line", "T,Y,A,N1,Y1,N2,Y2", {"T", "Y", "A", "N1", "Y1", "N2", "Y2"}},
        LoadCase{"fields spread over lines any way", "T,Y\nA,N1\n\nY1", {"T", "Y", "A", "N1", "Y1"}},
        LoadCase{"LF only", "T\nY\nA\n", {"T", "Y", "A"}},
        LoadCase{"CR only", "T\rY\rA\rN1,Y1\r", {"T", "Y", "A", "N1", "Y1"}},
        LoadCase{"empty file", "", {}},
        LoadCase{"blank lines only", "\r\n  \t\r\n\n\f\n", {}},
        LoadCase{"none and NONE before a comma are empty", "none,NONE,A", {"", "", "A"}},
        LoadCase{"none at line end is empty", "T\r\nnone\r\nA", {"T", "", "A"}},
        LoadCase{"NONE at line end stays text", "T\r\nNONE\r\nA", {"T", "NONE", "A"}},
        LoadCase{"other spellings stay text", "None,nONE,none ", {"None", "nONE", ""}},
        LoadCase{"a trailing comma starts no field", "T,\r\nY,\r\nA", {"T", "Y", "A"}},
        LoadCase{"empty text between commas", ",,A,,Y1", {"", "", "A", "", "Y1"}},
        LoadCase{"lines trimmed, spaces by commas kept", "  T , Y,\tA  \r\n", {"T ", " Y", "\tA"}},
        LoadCase{"tab inside a field kept", "a\tb", {"a\tb"}},
        LoadCase{"32 bytes fit", "\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60"
                                 "\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60\x82\x60",
                 {"ＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡ"}},
        LoadCase{"code page 932 text", "\x82\xA0\x83\x41\xB1\x81\x40\x5C,\x81\x60", {"あアｱ　\\", "～"}},
        LoadCase{"UTF-8 with BOM", "\xEF\xBB\xBF" "あ\r\nい\r\nA", {"あ", "い", "A"}},
        LoadCase{"UTF-8 without BOM", "タイトル,よみ\nｱｰﾃｨｽﾄ", {"タイトル", "よみ", "ｱｰﾃｨｽﾄ"}},
        LoadCase{"UTF-8 variants take the Windows form", "〜−¥", {"～－\\"}},
        LoadCase{"UTF-8 measured in code page 932 bytes", "あいうえおかきくけこさしすせそた", {"あいうえおかきくけこさしすせそた"}},
        LoadCase{"BOM of an ASCII file", "\xEF\xBB\xBF" "T,Y", {"T", "Y"}},
        // Bytes valid both as UTF-8 and as code page 932: the reading with fewer
        // characters odd in a Japanese album wins, code page 932 on a tie.
        LoadCase{"ﾐｷ, which is also UTF-8 з", "\xD0\xB7", {"ﾐｷ"}},
        LoadCase{"UTF-8 kanji alone, also code page 932 (豌ｴ 蟯ｩ 隴ｰ 逶ｸ)", "水\nnone\n岩\n議,none\n相,none\n",
                 {"水", "", "岩", "議", "", "相"}},
        LoadCase{"UTF-8 signs that code page 932 holds, after kana", "ス°×A", {"ス°×A"}},
        LoadCase{"UTF-8 Japanese that is also code page 932 kanji", "タイトル\r\nよみ\r\nこんにちは",
                 {"タイトル", "よみ", "こんにちは"}},
        LoadCase{"code page 932 kanji, not UTF-8", "\x8B\xC8\x96\xBC", {"曲名"}},
        LoadCase{"譖ｲ in code page 932 (a second-level kanji), 曲 in UTF-8", "\xE6\x9B\xB2", {"曲"}},
        LoadCase{"a tie: ﾃｷ in code page 932, ÷ in UTF-8", "\xC3\xB7", {"ﾃｷ"}},
        LoadCase{"荳｢ in code page 932, as 丢 in UTF-8 would not fit it", "\xE4\xB8\xA2", {"荳｢"}},
        LoadCase{"code page 932 when UTF-8 would hold a Cyrillic letter", "\xD0\xB7,\xD0\xB7\xD0\xB7", {"ﾐｷ", "ﾐｷﾐｷ"}},
        LoadCase{"UTF-8 when the other reading holds kanji", "あい", {"あい"}},
        LoadCase{"code page 932 when the UTF-8 reading does not fit it", "\xD1\xB7\xE3\x80\x9Co", {"ﾑｷ縲徙"}},
        LoadCase{"103 fields", "T,Y,A" + Repeat(",n,y", 50), [] {
                   std::vector<std::string> f = {"T", "Y", "A"};
                   for (int i = 0; i < 50; ++i) f.insert(f.end(), {"n", "y"});
                   return f;
                 }()},
        LoadCase{"10,000 blank lines", Repeat("\r\n", 10000) + "T", {"T"}}));

struct LoadErrorCase {
  const char* what;
  std::string file;
  std::string message;
};

void PrintTo(const LoadErrorCase& c, std::ostream* os) { *os << c.what; }

class CsvLoadErrorTest : public ::testing::TestWithParam<LoadErrorCase> {
 protected:
  ScratchDir dir;
};

TEST_P(CsvLoadErrorTest, RefusesAndLeavesTheAlbumUntouched) {
  const LoadErrorCase& c = GetParam();
  const std::string path = dir.File("album.csv");
  WriteBytes(path, c.file);
  EditedAlbum album = Sentinel();
  const AlbumFileResult result = LoadAlbumCsv(path, album);
  EXPECT_FALSE(result.Ok()) << c.what;
  EXPECT_EQ(AlbumFileMessage(result), c.message) << c.what;
  EXPECT_TRUE(SameAlbum(album, Sentinel())) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvLoadErrorTest,
    ::testing::Values(
        LoadErrorCase{"33 bytes in field 5", "T\r\nY\r\nA\r\nN1," + std::string(33, 'y'), TooLong(5)},
        LoadErrorCase{"33 bytes in field 1", std::string(33, 't'), TooLong(1)},
        LoadErrorCase{"17 full-width in UTF-8", "T," + Repeat("あ", 17), TooLong(2)},
        LoadErrorCase{"104 fields", "T,Y,A" + Repeat(",n,y", 50) + ",x", kOverflow},
        LoadErrorCase{"104th field is none", "T,Y,A" + Repeat(",n,y", 50) + "\r\nnone", kOverflow},
        LoadErrorCase{"lone lead byte at line end", "T\r\nY\x82\r\nA", NotText(2)},
        LoadErrorCase{"unassigned code", "T,Y,\x85\x40", NotText(3)},
        LoadErrorCase{"binary bytes", std::string("\x00\x01\x02\xFF\xFE\x85\x40", 7), NotText(1)},
        LoadErrorCase{"NUL inside a field", std::string("T\r\nY\0Z\r\n", 8), NotText(2)},
        LoadErrorCase{"UTF-8 emoji", "T\r\nY\r\nA😀", NotText(3)},
        LoadErrorCase{"BOM then bytes that are not UTF-8", "\xEF\xBB\xBF" "T,\x82\xA0", NotText(2)}));

TEST(CsvLoad, SetsTheCheckOfNamedRowsAndKeepsTheOthers) {
  ScratchDir dir;
  const std::string path = dir.File("album.csv");
  WriteBytes(path, "T\r\nY\r\nA\r\nN1,Y1\r\nnone,Y2\r\nnone,none\r\nN4,none\r\n");
  EditedAlbum album;
  album.rows[1].checked = true;  // receives an empty name: stays checked
  album.rows[2].checked = false;
  album.rows[3].checked = false;  // receives a name: becomes checked
  album.rows[49].checked = true;  // beyond the file: emptied, stays checked
  album.rows[49].name = "gone";
  ASSERT_TRUE(LoadAlbumCsv(path, album).Ok());
  EXPECT_TRUE(album.rows[0].checked);
  EXPECT_TRUE(album.rows[1].checked);
  EXPECT_FALSE(album.rows[2].checked);
  EXPECT_TRUE(album.rows[3].checked);
  EXPECT_TRUE(album.rows[49].checked);
  EXPECT_EQ(album.rows[49].name, "");
  EXPECT_EQ(album.rows[1].yomi, "Y2");
}

TEST(CsvLoad, AFileThatCannotBeReadIsAnOpenFailure) {
  ScratchDir dir;
  EditedAlbum album = Sentinel();
  for (const std::string& path : {dir.File("vanished.csv"), dir.File(""), dir.File("no/such/dir.csv"), std::string()}) {
    const AlbumFileResult result = LoadAlbumCsv(path, album);
    EXPECT_FALSE(result.Ok()) << path;
    EXPECT_EQ(AlbumFileMessage(result), kOpenFailed) << path;
  }
  EXPECT_TRUE(SameAlbum(album, Sentinel()));
}

// A device that never ends is not a file.
TEST(CsvLoad, AnEndlessDeviceIsRefused) {
  if (!std::filesystem::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero here";
  EditedAlbum album = Sentinel();
  EXPECT_EQ(AlbumFileMessage(LoadAlbumCsv("/dev/zero", album)), kOpenFailed);
  EXPECT_TRUE(SameAlbum(album, Sentinel()));
}

// Lines are read whole, so a huge one must still be refused quickly.
TEST(CsvLoad, HugeLinesAreRefusedQuickly) {
  constexpr size_t kTenMegabytes = 10 * 1024 * 1024;
  const struct {
    const char* what;
    std::string file;
    std::string message;
  } cases[] = {
      {"blank lines then a 10 MB field", Repeat("   \r\n", 200000) + std::string(kTenMegabytes, 'x'), TooLong(1)},
      {"a 10 MB UTF-8 field", "T," + Repeat("あ", kTenMegabytes / 3), TooLong(2)},
      {"a 10 MB line of commas", std::string(kTenMegabytes, ','), kOverflow},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    const std::string path = dir.File("big.csv");
    WriteBytes(path, c.file);
    EditedAlbum album = Sentinel();
    const auto start = std::chrono::steady_clock::now();
    const AlbumFileResult result = LoadAlbumCsv(path, album);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(AlbumFileMessage(result), c.message) << c.what;
    EXPECT_TRUE(SameAlbum(album, Sentinel())) << c.what;
    EXPECT_LT(took, std::chrono::seconds(3) * testing::kCpuSlowdown) << c.what;
  }
}

// ---------------------------------------------------------------- save

struct SaveCase {
  const char* what;
  EditedAlbum album;
  std::string file;
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.what; }

class CsvSaveTest : public ::testing::TestWithParam<SaveCase> {
 protected:
  ScratchDir dir;
};

TEST_P(CsvSaveTest, WritesTheFileForm) {
  const SaveCase& c = GetParam();
  const std::string path = dir.File("out.csv");
  const AlbumFileResult result = SaveAlbumCsv(path, c.album);
  ASSERT_TRUE(result.Ok()) << c.what << ": " << AlbumFileMessage(result);
  EXPECT_EQ(ReadBytes(path), c.file) << c.what;
  EXPECT_EQ(dir.EntryCount(), 1u) << "temporary file left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Albums, CsvSaveTest,
    ::testing::Values(
        SaveCase{"no tracks: three lines", AlbumWith("T", "", " A "), "T\r\nnone\r\nA\r\n"},
        SaveCase{"everything empty", EditedAlbum(), "none\r\nnone\r\nnone\r\n"},
        SaveCase{"texts trimmed, code page 932 bytes", [] {
                   EditedAlbum a = AlbumWith(" \tタイトル\r\n", "よみ", "　Ａ　");
                   a.rows[0] = {"  N1 ", "\tよ ", false};
                   a.rows[2] = {"N3", "", false};
                   a.rows[3] = {"", "after the last name", true};
                   return a;
                 }(),
                 "\x83\x5E\x83\x43\x83\x67\x83\x8B\r\n\x82\xE6\x82\xDD\r\n\x81\x40\x82\x60\x81\x40\r\n"
                 "N1,\x82\xE6\r\nnone,none\r\nN3,none\r\n"},
        SaveCase{"only track 50 named", [] {
                   EditedAlbum a = AlbumWith("T", "Y", "A");
                   a.rows[49].name = "Last";
                   return a;
                 }(),
                 "T\r\nY\r\nA\r\n" + Repeat("none,none\r\n", 49) + "Last,none\r\n"},
        SaveCase{"a track named none counts as unnamed", [] {
                   EditedAlbum a = AlbumWith("none", "Y", "A");
                   a.rows[0].name = "N1";
                   a.rows[1].name = "none";
                   a.rows[1].yomi = "Y2";
                   return a;
                 }(),
                 "none\r\nY\r\nA\r\nN1,none\r\n"},
        SaveCase{"a comma after the last named track is not written", [] {
                   EditedAlbum a = AlbumWith("T", "Y", "A");
                   a.rows[5].yomi = "a,b";
                   return a;
                 }(),
                 "T\r\nY\r\nA\r\n"},
        SaveCase{"input-method variants", AlbumWith("〜−", "", "¥"), "\x81\x60\x81\x7C\r\nnone\r\n\x5C\r\n"}));

struct RefusedCase {
  const char* what;
  EditedAlbum album;
  std::string message;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.what; }

class CsvSaveRefusedTest : public ::testing::TestWithParam<RefusedCase> {
 protected:
  ScratchDir dir;
};

TEST_P(CsvSaveRefusedTest, WritesNothing) {
  const RefusedCase& c = GetParam();
  const std::string path = dir.File("out.csv");
  WriteBytes(path, "old contents\r\n");
  const AlbumFileResult result = SaveAlbumCsv(path, c.album);
  EXPECT_FALSE(result.Ok()) << c.what;
  EXPECT_EQ(AlbumFileMessage(result), c.message) << c.what;
  EXPECT_EQ(ReadBytes(path), "old contents\r\n");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

EditedAlbum WithTrack(int number, std::string name, std::string yomi) {
  return WithRow(AlbumWith("T", "Y", "A"), number, std::move(name), std::move(yomi));
}

INSTANTIATE_TEST_SUITE_P(
    Albums, CsvSaveRefusedTest,
    ::testing::Values(
        RefusedCase{"comma in the title", AlbumWith("a,b", "", ""), std::string(kComma) + "(Title)"},
        RefusedCase{"comma in the reading", AlbumWith("", ",", ""), std::string(kComma) + "(よみ)"},
        RefusedCase{"comma in the artist", AlbumWith("", "", "x,"), std::string(kComma) + "(Artist)"},
        RefusedCase{"comma in a track name", WithTrack(3, "a,b", ""), std::string(kComma) + "(Track[3])"},
        RefusedCase{"comma in a track reading", WithTrack(3, "N", "a,b"), std::string(kComma) + "(Track[3])(よみ)"},
        RefusedCase{"first fault in file order", [] {
                      EditedAlbum a = WithTrack(1, "a,b", "");
                      a.artist = "😀";
                      return a;
                    }(),
                    std::string(kUnsaveable) + "(Artist)"},
        RefusedCase{"emoji in the title", AlbumWith("x😀", "", ""), std::string(kUnsaveable) + "(Title)"},
        RefusedCase{"line break inside a text", WithTrack(50, "a\nb", ""), std::string(kUnsaveable) + "(Track[50])"},
        RefusedCase{"carriage return inside a text", AlbumWith("a\rb", "", ""), std::string(kUnsaveable) + "(Title)"},
        RefusedCase{"NUL inside a text", AlbumWith(std::string("a\0b", 3), "", ""),
                    std::string(kUnsaveable) + "(Title)"},
        RefusedCase{"invalid UTF-8", WithTrack(2, "N", "\xFF"), std::string(kUnsaveable) + "(Track[2])(よみ)"}));

TEST(CsvRoundTrip, EveryCharacterClassComesBackAndNamedRowsAreChecked) {
  ScratchDir dir;
  const std::string path = dir.File("album.csv");
  EditedAlbum original = AlbumWith("ﾊﾟｰﾃｨｰ・ナイト 2026", "ぱーてぃーないと", "ＲＺＴ Ｂａｎｄ & Friends!");
  original.rows[0] = {"はじまりのうた", "はじまりのうた", false};
  original.rows[1] = {"１２３～ＡＢＣ　ｘｙｚ", "", false};
  original.rows[2] = {"NONE", "NONE", false};  // before a comma "NONE" would read as empty
  original.rows[3] = {"Track \\4 ~ (Live) [x]", "よん", false};
  ASSERT_TRUE(SaveAlbumCsv(path, original).Ok());

  EditedAlbum loaded;
  ASSERT_TRUE(LoadAlbumCsv(path, loaded).Ok());
  EditedAlbum expected = original;
  for (int row : {0, 1, 2, 3}) expected.rows[static_cast<std::size_t>(row)].checked = true;
  EXPECT_TRUE(SameAlbum(loaded, expected));

  // Saving what was loaded gives the same bytes again.
  const std::string first = ReadBytes(path);
  ASSERT_TRUE(SaveAlbumCsv(path, loaded).Ok());
  EXPECT_EQ(ReadBytes(path), first);
}

// ---------------------------------------------------------------- encodings

// Random albums saved by the program (code page 932) and as UTF-8 without a
// byte-order mark load as written. Bytes can be both: the program's own file
// loses only if it holds a second-level kanji (陂㎜ is 蘇o), a UTF-8 file when
// its other reading is as plausible (÷ is ﾃｷ). Before this rule 2,973 of these
// UTF-8 files loaded as written.
TEST(CsvEncoding, RandomAlbumsLoadAsWrittenInBothEncodings) {
  const testing::CharPools pools;
  std::mt19937 random(20);
  std::uint32_t ownLoadedBack = 0, utf8AsWritten = 0, albums = 3000;
  for (std::uint32_t i = 0; i < albums; ++i) {
    const EditedAlbum album = testing::FileAlbum(pools, random);
    std::string cp932;
    EditedAlbum own, utf8;
    ownLoadedBack += AlbumCsvBytes(album, cp932).Ok() && ParseAlbumCsv(cp932, own).Ok() && SameAlbum(own, album);
    utf8AsWritten += ParseAlbumCsv(*Cp932ToUtf8(cp932), utf8).Ok() && SameAlbum(utf8, album);
  }
  std::cout << ownLoadedBack << " saved by the program loaded back, " << utf8AsWritten << " in UTF-8 as written\n";
  EXPECT_EQ(ownLoadedBack, albums);
  EXPECT_GE(utf8AsWritten, 2995u);
}

// ---------------------------------------------------------------- failing writes

TEST(CsvSaveFailure, AFailedWriteOrRenameLeavesTheOldFileByteIdentical) {
  for (FailingFiles::Step step : {FailingFiles::kWriteHalf, FailingFiles::kRename}) {
    ScratchDir dir;
    const std::string path = dir.File("album.csv");
    const std::string old = "old\r\n\x82\xA0\r\nbytes\r\nN,Y\r\n";
    WriteBytes(path, old);
    FailingFiles files(step);
    const AlbumFileResult result = SaveAlbumCsv(path, AlbumWith("new", "", ""), files);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(AlbumFileMessage(result), kWriteFailed);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.EntryCount(), 1u) << "temporary file left behind";
    EXPECT_EQ(files.renamed, step == FailingFiles::kRename) << "renamed after a failed write";
  }
}

TEST(CsvSaveFailure, AFolderThatDoesNotExistIsAnOpenFailure) {
  ScratchDir dir;
  const AlbumFileResult result = SaveAlbumCsv(dir.File("missing/album.csv"), AlbumWith("T", "", ""));
  EXPECT_FALSE(result.Ok());
  EXPECT_EQ(AlbumFileMessage(result), kOpenFailed);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "missing"));
}

TEST(CsvSaveFailure, AnEmptyPathIsAnOpenFailure) {
  EXPECT_EQ(AlbumFileMessage(SaveAlbumCsv("", AlbumWith("T", "", ""))), kOpenFailed);
}

TEST(CsvSaveFailure, ADirectoryInPlaceOfTheFileIsAnOpenFailure) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.Path() / "taken.csv");
  const AlbumFileResult result = SaveAlbumCsv(dir.File("taken.csv"), AlbumWith("T", "", ""));
  EXPECT_EQ(AlbumFileMessage(result), kOpenFailed);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "taken.csv"));
  EXPECT_EQ(dir.EntryCount(), 1u);
}

// A name as long as the system takes is saved in place (the temporary file's
// name does not grow with it); a longer one is refused with the system's reason.
TEST(CsvSaveFailure, AnyNameTheSystemTakesIsSavedInPlace) {
  ScratchDir dir;
  const std::string fits = dir.File(std::string(236, 'a') + ".csv"), over = dir.File(std::string(296, 'b') + ".csv");
  ASSERT_TRUE(WriteBytes(fits, "old"));
  EXPECT_TRUE(SaveAlbumCsv(fits, AlbumWith("T", "", "")).Ok());
  EXPECT_EQ(ReadBytes(fits), "T\r\nnone\r\nnone\r\n");
  const AlbumFileResult refused = SaveAlbumCsv(over, AlbumWith("T", "", ""));
  EXPECT_EQ(AlbumFileMessage(refused) + "\n" + FileFailureReason(refused.file),
            kOpenFailed + ("\n" + SystemErrorText(testing::kNameTooLongError)));
  EXPECT_EQ(dir.EntryCount(), 1u);
}

}  // namespace
}  // namespace vrellix
