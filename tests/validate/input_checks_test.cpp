#include "validate/input_checks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "support/edited_albums.h"
#include "text/text_codec.h"

namespace vrellix {
namespace {

using testing::AlbumWith;
using testing::Repeat;
using testing::WithRow;

const std::string kHalfWidthTooLong = "文字数が半角３２文字を越えています。修正して下さい";
const std::string kReadingTooLong = "文字数が１６文字を越えています。修正して下さい";
const std::string kBadCharacter = "不正な文字が含まれています。修正して下さい";

TEST(CheckInputString, AcceptsOnlyWhatTheModeCanEnter) {
  const struct {
    const char* what;
    std::string cp932;
    bool general;
    bool reading;
  } cases[] = {
      {"empty", "", true, true},
      {"hiragana and its marks", "\x82\xA0\x81\x41\x81\x42\x81\x5B", true, true},
      {"full-width katakana", "\x83\x41", true, false},
      {"half-width katakana", "\xB1\xDE", true, false},
      {"letters, digits, symbols, spaces", "A\x82\x60" "1\x82\x4F!\x81\x49 \x81\x40", true, false},
      {"hiragana then a space", "\x82\xA0 ", true, false},
      {"kanji", "\x8A\xBF", false, false},
      {"lead byte 90 and above", "\x93\xFA", false, false},
      {"lone lead byte at the end", "A\x82", false, false},
      {"ends in a lead byte after hiragana", "\x82\xA0\x82", false, false},
      {"ゐ ゑ ゎ", "\x82\xEE", false, false},
      {"ヴ is in the katakana range but cannot be entered", "\x83\x94", false, false},
      {"ヵ", "\x83\x95", false, false},
      {"ヶ", "\x83\x96", false, false},
      {"ヮ", "\x83\x8E", false, false},
      {"ヰ", "\x83\x90", false, false},
      {"ヱ", "\x83\x91", false, false},
      {"unassigned 837F", "\x83\x7F", false, false},
      {"unassigned 827A between the Latin ranges", "\x82\x7A", false, false},
      {"left double quote", "\x81\x67", false, false},
      {"half-width full stop", "\xA1", false, false},
      {"control byte", "a\tb", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckInputString(c.cp932, CheckMode::kGeneral), c.general) << c.what;
    EXPECT_EQ(CheckInputString(c.cp932, CheckMode::kReading), c.reading) << c.what;
  }
}

struct StartCase {
  const char* what;
  EditedAlbum album;
  StartCheckResult::Outcome outcome;
  std::string message;
};

// Names the case in test listings (the default would print its bytes).
void PrintTo(const StartCase& c, std::ostream* os) { *os << c.what; }

class RunStartChecksTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(RunStartChecksTest, ReportsTheFirstFaultInOrder) {
  const StartCase& c = GetParam();
  const StartCheckResult result = RunStartChecks(c.album);
  EXPECT_EQ(result.outcome, c.outcome) << c.what;
  EXPECT_EQ(result.message, c.message) << c.what;
}

const std::string k16FullWidth = Repeat("Ａ", 16);
const std::string k16Hiragana = Repeat("あ", 16);

INSTANTIATE_TEST_SUITE_P(
    Albums, RunStartChecksTest,
    ::testing::Values(
        StartCase{"title of 32 bytes", AlbumWith(k16FullWidth, "", ""), StartCheckResult::Outcome::kReady, ""},
        StartCase{"title of 33 bytes", AlbumWith(k16FullWidth + "A", "", ""), StartCheckResult::Outcome::kFault,
                  kHalfWidthTooLong + "(Title)"},
        StartCase{"title not trimmed", AlbumWith(k16FullWidth + " ", "", ""), StartCheckResult::Outcome::kFault,
                  kHalfWidthTooLong + "(Title)"},
        StartCase{"kanji in the title", AlbumWith("漢", "", ""), StartCheckResult::Outcome::kFault, kBadCharacter + "(Title)"},
        StartCase{"length before characters", AlbumWith(Repeat("漢", 17), "", ""), StartCheckResult::Outcome::kFault,
                  kHalfWidthTooLong + "(Title)"},
        StartCase{"16 emoji fit the length, then fail the characters", AlbumWith(Repeat("😀", 16), "", ""),
                  StartCheckResult::Outcome::kFault, kBadCharacter + "(Title)"},
        StartCase{"17 emoji count as 34 bytes", AlbumWith(Repeat("😀", 17), "", ""), StartCheckResult::Outcome::kFault,
                  kHalfWidthTooLong + "(Title)"},
        StartCase{"ヴ cannot be entered", AlbumWith("ヴ", "", ""), StartCheckResult::Outcome::kFault, kBadCharacter + "(Title)"},
        StartCase{"decomposed kana count as composed", AlbumWith("", Repeat("か\xE3\x82\x99", 16), ""),
                  StartCheckResult::Outcome::kReady, ""},
        StartCase{"16 hiragana reading", AlbumWith("", k16Hiragana, ""), StartCheckResult::Outcome::kReady, ""},
        StartCase{"17 hiragana reading", AlbumWith("", k16Hiragana + "あ", ""), StartCheckResult::Outcome::kFault,
                  kReadingTooLong + "(よみ)"},
        StartCase{"katakana in the reading", AlbumWith("", "ア", ""), StartCheckResult::Outcome::kFault, kBadCharacter + "(よみ)"},
        StartCase{"space in the reading", AlbumWith("", "あ ", ""), StartCheckResult::Outcome::kFault, kBadCharacter + "(よみ)"},
        StartCase{"digit in the reading", AlbumWith("", "1", ""), StartCheckResult::Outcome::kFault, kBadCharacter + "(よみ)"},
        StartCase{"artist of 33 bytes", AlbumWith("", "", std::string(33, 'a')), StartCheckResult::Outcome::kFault,
                  kHalfWidthTooLong + "(Artist)"},
        StartCase{"kanji in the artist", AlbumWith("", "", "a亜"), StartCheckResult::Outcome::kFault, kBadCharacter + "(Artist)"},
        StartCase{"title before reading before artist", AlbumWith("漢", "ア", "漢"), StartCheckResult::Outcome::kFault,
                  kBadCharacter + "(Title)"},
        StartCase{"reading before artist", AlbumWith("T", "ア", "漢"), StartCheckResult::Outcome::kFault, kBadCharacter + "(よみ)"},
        StartCase{"album texts before tracks", WithRow(AlbumWith("", "", "漢"), 1, "漢", ""), StartCheckResult::Outcome::kFault,
                  kBadCharacter + "(Artist)"},
        StartCase{"track name too long", WithRow(AlbumWith("T", "", ""), 3, std::string(33, 'n'), ""),
                  StartCheckResult::Outcome::kFault, kHalfWidthTooLong + "(Track[3])"},
        StartCase{"track name trimmed to 32", WithRow(AlbumWith("", "", ""), 3, " \t" + std::string(32, 'n') + " ", ""),
                  StartCheckResult::Outcome::kReady, ""},
        StartCase{"bad track name", WithRow(AlbumWith("T", "", ""), 1, "漢", ""), StartCheckResult::Outcome::kFault,
                  kBadCharacter + "(Track[1])"},
        StartCase{"track reading too long", WithRow(AlbumWith("T", "", ""), 2, "N", k16Hiragana + "あ"),
                  StartCheckResult::Outcome::kFault, kReadingTooLong + "(Track[2])(よみ)"},
        StartCase{"bad track reading", WithRow(AlbumWith("T", "", ""), 50, "N", "ア"), StartCheckResult::Outcome::kFault,
                  kBadCharacter + "(Track[50])(よみ)"},
        StartCase{"reading without name", WithRow(AlbumWith("T", "", ""), 1, "", "よみ"), StartCheckResult::Outcome::kFault,
                  "曲名が未入力で「よみ」が入力されています。修正して下さい(Track[1])"},
        StartCase{"reading without name, bad reading first", WithRow(AlbumWith("T", "", ""), 4, " ", "ア"),
                  StartCheckResult::Outcome::kFault, kBadCharacter + "(Track[4])(よみ)"},
        StartCase{"unchecked rows are not looked at", WithRow(AlbumWith("T", "", ""), 1, "漢", "ア", false),
                  StartCheckResult::Outcome::kReady, ""},
        StartCase{"earlier row first", WithRow(WithRow(AlbumWith("T", "", ""), 7, "漢", ""), 2, "", "ア"),
                  StartCheckResult::Outcome::kFault, kBadCharacter + "(Track[2])(よみ)"},
        StartCase{"nothing to enter", WithRow(AlbumWith("", "", ""), 1, "", ""), StartCheckResult::Outcome::kNothingToEnter,
                  "入力を行う文字がありません"},
        StartCase{"space-only name counts as empty", WithRow(AlbumWith("", "", ""), 5, "   ", ""),
                  StartCheckResult::Outcome::kNothingToEnter, "入力を行う文字がありません"},
        StartCase{"unchecked named row counts as nothing", WithRow(AlbumWith("", "", ""), 5, "N", "", false),
                  StartCheckResult::Outcome::kNothingToEnter, "入力を行う文字がありません"},
        StartCase{"only a reading", AlbumWith("", "よみ", ""), StartCheckResult::Outcome::kReady, ""},
        StartCase{"only a named track", WithRow(AlbumWith("", "", ""), 9, "N", ""), StartCheckResult::Outcome::kReady, ""}));

TEST(RunStartChecks, FillsTheEntryFormInCodePage932) {
  EditedAlbum edited = AlbumWith(" タイトル ", "よみ", "〜Ａ");
  edited = WithRow(edited, 1, "  曲 ", "", false);  // unchecked: emptied even with text
  edited = WithRow(edited, 2, " \tｿﾝｸﾞ\r\n", " うた ");
  edited = WithRow(edited, 3, "\xE3\x80\x80N\xE3\x80\x80", "");  // full-width spaces stay
  const StartCheckResult result = RunStartChecks(edited);
  ASSERT_EQ(result.outcome, StartCheckResult::Outcome::kReady) << result.message;
  const Album& album = result.album;
  EXPECT_EQ(album.Title, " \x83\x5E\x83\x43\x83\x67\x83\x8B ");
  EXPECT_EQ(album.Yomi, "\x82\xE6\x82\xDD");
  EXPECT_EQ(album.Artist, "\x81\x60\x82\x60");
  EXPECT_EQ(album.Tracks[0].Name, "");
  EXPECT_EQ(album.Tracks[0].Yomi, "");
  EXPECT_EQ(album.Tracks[1].Name, "\xBF\xDD\xB8\xDE");
  EXPECT_EQ(album.Tracks[1].Yomi, "\x82\xA4\x82\xBD");
  EXPECT_EQ(album.Tracks[2].Name, "\x81\x40N\x81\x40");
  EXPECT_EQ(album.Tracks[49].Name, "");
}

TEST(CheckTrackEdit, ChecksTrimmedLengthsAndAReadingWithoutName) {
  const std::string nameTooLong = kHalfWidthTooLong + "(曲名)";
  const std::string yomiTooLong = kHalfWidthTooLong + "(よみ)";
  const std::string yomiOnly = "「よみ」だけ入力されています。「曲名」も入力して下さい";
  const struct {
    const char* what;
    std::string name;
    std::string yomi;
    std::optional<std::string> message;
  } cases[] = {
      {"both empty", "", "", std::nullopt},
      {"32-byte name", k16FullWidth, "", std::nullopt},
      {"33-byte name", k16FullWidth + "a", "", nameTooLong},
      {"name trimmed before counting", "  " + k16FullWidth + "\t", "", std::nullopt},
      {"33-byte reading", "N", k16Hiragana + "a", yomiTooLong},
      {"name checked before reading", k16FullWidth + "a", k16Hiragana + "a", nameTooLong},
      {"reading without name", "", "よみ", yomiOnly},
      {"space-only reading without name", " ", "   ", std::nullopt},
      {"kanji and katakana are left to Start", "漢字", "カナ", std::nullopt},
      {"unconvertible characters count two bytes", Repeat("😀", 17), "", nameTooLong},
      {"16 unconvertible characters fit", Repeat("😀", 16), "", std::nullopt},
      {"too long before reading-only", "", k16Hiragana + "a", yomiTooLong},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckTrackEdit(c.name, c.yomi), c.message) << c.what;
}

// The live check of a field: the count against the limit, and each character
// at fault with its position and reason.
TEST(CheckFieldText, CountsAndNamesEveryCharacterAtFault) {
  using R = CharFaultReason;
  struct Fault {
    int index;
    std::string character;
    R reason;
    int start;
  };
  const struct {
    std::string text;
    CheckMode mode;
    int count;
    int limit;
    std::vector<Fault> faults;
  } cases[] = {
      {"", CheckMode::kGeneral, 0, 32, {}},
      {"ABC", CheckMode::kGeneral, 3, 32, {}},
      {"ＡＢＣ", CheckMode::kGeneral, 6, 32, {}},
      {"ab漢c", CheckMode::kGeneral, 5, 32, {{2, "漢", R::kNotEnterable, 2}}},
      {"😀x", CheckMode::kGeneral, 3, 32, {{0, "😀", R::kNotInCodePage, 0}}},
      {"ヴ", CheckMode::kGeneral, 2, 32, {{0, "ヴ", R::kNotEnterable, 0}}},
      {"あいう", CheckMode::kReading, 3, 16, {}},
      {"あAカ漢", CheckMode::kReading, 4, 16,
       {{1, "A", R::kReadingNotHiragana, 1}, {2, "カ", R::kReadingNotHiragana, 2}, {3, "漢", R::kNotEnterable, 3}}},
      // A mark that combines makes one character with the one before it.
      {"か\u3099漢", CheckMode::kReading, 2, 16, {{1, "漢", R::kNotEnterable, 2}}},
      {Repeat("あ", 17), CheckMode::kReading, 17, 16, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const FieldCheck check = CheckFieldText(c.text, c.mode);
    EXPECT_EQ(check.count, c.count);
    EXPECT_EQ(check.limit, c.limit);
    ASSERT_EQ(check.faults.size(), c.faults.size());
    for (std::size_t i = 0; i < c.faults.size(); ++i) {
      EXPECT_EQ(check.faults[i].index, c.faults[i].index);
      EXPECT_EQ(check.faults[i].character, c.faults[i].character);
      EXPECT_EQ(check.faults[i].reason, c.faults[i].reason);
      EXPECT_EQ(check.faults[i].start, c.faults[i].start);
    }
  }
}

// The live check agrees with the Start check: a text has no marked character
// exactly when it passes, and the count is over exactly when it is too long.
TEST(CheckFieldText, AgreesWithTheStartCheck) {
  const std::vector<std::string> pool{"a", " ", "Ａ", "ｱ", "ﾞ", "あ", "が", "か\u3099", "カ", "漢", "ヴ", "😀",
                                      "ー", "、", "~", "\u301C", "・"};
  std::mt19937 random(13);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 20);
    for (int i = 0; i < length; ++i) text += pool[random() % pool.size()];
    for (const CheckMode mode : {CheckMode::kGeneral, CheckMode::kReading}) {
      SCOPED_TRACE(text + (mode == CheckMode::kReading ? " (reading)" : ""));
      const FieldCheck check = CheckFieldText(text, mode);
      const std::optional<std::string> cp932 = Utf8ToCp932(text);
      EXPECT_EQ(check.faults.empty(), cp932 && CheckInputString(*cp932, mode));
      const bool tooLong = Cp932LengthOf(text) > static_cast<size_t>(kFieldLimitBytes);
      EXPECT_EQ(check.count > check.limit, tooLong);
    }
  }
}

}  // namespace
}  // namespace vrellix
