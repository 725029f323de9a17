#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "support/scratch_dir.h"

namespace vrellix {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

class IniFileTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  const std::string path = dir.File("settings.ini");
};

struct IntCase {
  const char* line;  // the key's line in section [S], or nullptr for no key
  int expected;      // read with default 77
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << (c.line ? c.line : "(no key)"); }

class IniInt : public IniFileTest, public ::testing::WithParamInterface<IntCase> {};

TEST_P(IniInt, ReadsLikeTheProfileFunctions) {
  const IntCase& c = GetParam();
  std::string content = "[S]\r\n";
  if (c.line) content += std::string(c.line) + "\r\n";
  WriteBytes(path, content);
  EXPECT_EQ(ReadIniInt(path, "S", "k", 77), c.expected) << (c.line ? c.line : "(no key)");
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniInt,
    ::testing::Values(
        //      line                   read
        IntCase{"k=5",                    5},
        IntCase{"k = 42 ",               42},
        IntCase{"k=12abc",               12},
        IntCase{"k=abc",                  0},
        IntCase{"k=-3",                   0},
        IntCase{"k=+7",                   7},
        IntCase{"k=0x10",                 0},
        IntCase{"k=\"8\"",                8},
        IntCase{"k=",                    77},
        IntCase{"k=99999999999999999999", INT_MAX},
        IntCase{"K=9",                    9},
        IntCase{";k=9",                  77},
        IntCase{"other=9",               77},
        IntCase{nullptr,                 77}));

TEST_F(IniFileTest, MissingFileOrSectionGivesTheDefault) {
  EXPECT_EQ(ReadIniInt(path, "S", "k", 3), 3);
  EXPECT_FALSE(ReadIniString(path, "S", "k"));
  EXPECT_FALSE(std::filesystem::exists(path)) << "reading must not create the file";

  WriteBytes(path, "[T]\r\nk=5\r\n[S]\r\nj=1\r\n");
  EXPECT_EQ(ReadIniInt(path, "U", "k", 3), 3);
  EXPECT_EQ(ReadIniInt(path, "S", "k", 3), 3) << "a key of another section must not count";
  EXPECT_EQ(ReadIniInt(path, "t", "K", 3), 5) << "names ignore ASCII case";
}

TEST_F(IniFileTest, FirstSectionAndKeyWin) {
  WriteBytes(path, "[S]\nk=1\nk=2\n[S]\nk=3\n");
  EXPECT_EQ(ReadIniInt(path, "S", "k", 0), 1);
}

TEST_F(IniFileTest, StringValuesAreTrimmedAndUnquoted) {
  WriteBytes(path, "[S]\r\na =  /dev/ttyUSB0  \r\nb=\"COM12\"\r\nc='x\"\r\nd=\r\n");
  EXPECT_EQ(ReadIniString(path, "S", "a"), "/dev/ttyUSB0");
  EXPECT_EQ(ReadIniString(path, "S", "b"), "COM12");
  EXPECT_EQ(ReadIniString(path, "S", "c"), "'x\"");
  EXPECT_EQ(ReadIniString(path, "S", "d"), "");
}

// The second byte of a two-byte character is not a letter: シ (83 56) and プ
// (83 76) differ only in what would be the case of 'V'.
TEST_F(IniFileTest, TwoByteCharactersAreNotCaseFolded) {
  const std::string shi = "\x83\x56";  // シ
  const std::string pu = "\x83\x76";   // プ
  WriteBytes(path, "[" + shi + "]\r\n" + shi + "=1\r\n");
  EXPECT_EQ(ReadIniInt(path, shi, shi, 9), 1);
  EXPECT_EQ(ReadIniInt(path, pu, shi, 9), 9);
  EXPECT_EQ(ReadIniInt(path, shi, pu, 9), 9);
}

// ゾ is 83 5D: its second byte is ']', which must not end the section name.
TEST_F(IniFileTest, SecondByteThatLooksLikeABracketStaysInTheName) {
  const std::string zone = "\x83\x5D\x81\x5B\x83\x93";  // ゾーン
  WriteBytes(path, "[" + zone + "]\r\nk=4\r\n");
  EXPECT_EQ(ReadIniInt(path, zone, "k", 0), 4);
  ASSERT_TRUE(WriteIniString(path, zone, "j", "5").Ok());
  EXPECT_EQ(ReadBytes(path), "[" + zone + "]\r\nk=4\r\nj=5\r\n");
}

TEST_F(IniFileTest, WriteCreatesAMissingFileWithCrLfLines) {
  ASSERT_TRUE(WriteIniString(path, "S", "k", "1").Ok());
  ASSERT_TRUE(WriteIniString(path, "T", "j", "2").Ok());
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=1\r\n[T]\r\nj=2\r\n");
}

struct WriteCase {
  const char* name;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << (c.name); }

class IniWrite : public IniFileTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyWhatItMust) {
  const WriteCase& c = GetParam();
  WriteBytes(path, c.before);
  ASSERT_TRUE(WriteIniString(path, c.section, c.key, c.value).Ok());
  EXPECT_EQ(ReadBytes(path), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"ReplacesTheValueKeepingLineEndingAndKeySpelling",
                  "; settings\n[S]\nKey = 3  \n; note\n[T]\nk=1\n",
                  "s", "key", "7",
                  "; settings\n[S]\nKey =7\n; note\n[T]\nk=1\n"},
        WriteCase{"SameValueLeavesTheFileAsItWas",
                  "[S]\r\nk =  7 \r\n",
                  "S", "k", "7",
                  "[S]\r\nk =  7 \r\n"},
        WriteCase{"NewKeyGoesAfterTheSectionsLastLineBeforeBlankLines",
                  "[S]\r\na=1\r\n;c\r\n\r\n[T]\r\nb=2\r\n",
                  "S", "k", "9",
                  "[S]\r\na=1\r\n;c\r\nk=9\r\n\r\n[T]\r\nb=2\r\n"},
        WriteCase{"NewKeyInTheLastSectionWithoutFinalLineEnd",
                  "[S]\r\na=1",
                  "S", "k", "9",
                  "[S]\r\na=1\r\nk=9\r\n"},
        WriteCase{"NewSectionGoesAtTheEnd",
                  "[S]\na=1\n",
                  "T", "k", "9",
                  "[S]\na=1\n[T]\r\nk=9\r\n"},
        WriteCase{"NewSectionAfterAFileWithoutFinalLineEnd",
                  "; only a comment",
                  "T", "k", "9",
                  "; only a comment\r\n[T]\r\nk=9\r\n"},
        WriteCase{"LoneCrEndsALineAndKeepsItsEnding",
                  "[S]\rk=1\r[T]\rj=2",
                  "S", "k", "3",
                  "[S]\rk=3\r[T]\rj=2"},
        WriteCase{"NewKeyAfterCrOnlyLines",
                  "[S]\ra=1\r\r[T]\n",
                  "S", "k", "9",
                  "[S]\ra=1\rk=9\r\n\r[T]\n"},
        WriteCase{"LoneCarriageReturnsEndLines",
                  "[S]\ra=1\r[T]\rk=1\r",
                  "S", "k", "9",
                  "[S]\ra=1\rk=9\r\n[T]\rk=1\r"},
        WriteCase{"KeyOfTheSameNameInAnotherSectionIsNotTouched",
                  "[T]\r\nk=1\r\n[S]\r\n",
                  "S", "k", "2",
                  "[T]\r\nk=1\r\n[S]\r\nk=2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, PathThatCannotBeReadIsNeverOverwritten) {
  std::filesystem::create_directory(path);  // a directory where the file should be
  EXPECT_FALSE(WriteIniString(path, "S", "k", "1").Ok());
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_FALSE(WriteIniString(dir.File("no-such-dir/x.ini"), "S", "k", "1").Ok());
}

}  // namespace
}  // namespace vrellix
