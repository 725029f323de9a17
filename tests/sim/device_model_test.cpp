#include "sim/device_model.h"

#include <gtest/gtest.h>

#include "sim/sim_keys.h"
#include "support/cp932.h"

namespace vrellix::sim {
namespace {

using testing::Keys;
using testing::operator+;
using testing::OpenAlbumMenu;
using testing::OpenArtist;
using testing::OpenTitle;
using testing::OpenTrackList;
using testing::OpenTrackName;
using testing::OpenYomi;
using testing::Cp932;
using testing::Space;
using testing::Times;
using testing::ToggleWidth;

DeviceModel RunKeys(const Keys& keys, const std::string& oldText = "OLD") {
  DeviceModel model(oldText);
  for (int key : keys) model.Press(key);
  return model;
}

std::string ErrorList(const DeviceModel& model) {
  std::string out;
  for (const ModelError& e : model.Errors()) {
    out += std::to_string(e.keyIndex) + " " + e.state + ": " + e.message + "\n";
  }
  return out;
}

// ---- menus

struct MenuCase {
  const char* name;
  Keys keys;
  Screen screen;
  int cursor;
  int row;
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

class MenuWalk : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MenuWalk, ReachesTheStateWithoutErrors) {
  const MenuCase& c = GetParam();
  const DeviceModel model = RunKeys(c.keys);
  EXPECT_EQ(ErrorList(model), "");
  EXPECT_EQ(model.CurrentScreen(), c.screen) << model.Describe();
  EXPECT_EQ(model.MenuCursor(), c.cursor) << model.Describe();
  EXPECT_EQ(model.TrackRow(), c.row) << model.Describe();
}

const Keys kTrackInfoOfRow2 = OpenTrackList() + Keys{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT, KEY_MENU_DOWN, KEY_SELECT};

INSTANTIATE_TEST_SUITE_P(
    Sim, MenuWalk,
    ::testing::Values(
        MenuCase{"Start", {}, Screen::PlaylistList, 0, 0},
        MenuCase{"BackInPlaylistListDoesNothing", {KEY_BACK, KEY_BACK}, Screen::PlaylistList, 0, 0},
        MenuCase{"PlaylistMenu", {KEY_SELECT, KEY_MENU_DOWN}, Screen::PlaylistMenu, 1, 0},
        MenuCase{"PlaylistMenuBack", {KEY_SELECT, KEY_MENU_DOWN, KEY_BACK}, Screen::PlaylistList, 0, 0},
        MenuCase{"AlbumMenu", OpenAlbumMenu(), Screen::AlbumMenu, 0, 0},
        MenuCase{"AlbumMenuBack", OpenAlbumMenu() + Keys{KEY_MENU_DOWN, KEY_BACK}, Screen::PlaylistList, 0, 0},
        MenuCase{"ArtistMenu", OpenAlbumMenu() + Keys{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT}, Screen::ArtistMenu, 0,
                 0},
        MenuCase{"ArtistMenuBack", OpenAlbumMenu() + Keys{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT, KEY_BACK},
                 Screen::PlaylistList, 0, 0},
        MenuCase{"TitleField", OpenTitle(), Screen::Field, 0, 0},
        MenuCase{"TitleFinishReturnsToAlbumMenuItem0", OpenTitle() + Keys{KEY_FINISH}, Screen::AlbumMenu, 0, 0},
        MenuCase{"YomiFinishReturnsToAlbumMenuItem0", OpenYomi() + Keys{KEY_FINISH}, Screen::AlbumMenu, 0, 0},
        MenuCase{"ArtistFinishReturnsToArtistMenu", OpenArtist() + Keys{KEY_FINISH}, Screen::ArtistMenu, 0, 0},
        MenuCase{"TrackList", OpenTrackList() + Keys{KEY_MENU_DOWN, KEY_MENU_DOWN}, Screen::TrackList, 0, 2},
        MenuCase{"TrackListBack", OpenTrackList() + Keys{KEY_MENU_DOWN, KEY_BACK}, Screen::PlaylistList, 0, 1},
        MenuCase{"TrackMenu", OpenTrackList() + Keys{KEY_MENU_DOWN, KEY_SELECT}, Screen::TrackMenu, 0, 1},
        MenuCase{"TrackMenuBackKeepsRow", OpenTrackList() + Keys{KEY_MENU_DOWN, KEY_SELECT, KEY_BACK},
                 Screen::TrackList, 0, 1},
        MenuCase{"TrackInfoMenu", kTrackInfoOfRow2, Screen::TrackInfoMenu, 0, 2},
        MenuCase{"TrackInfoBackKeepsRow", kTrackInfoOfRow2 + Keys{KEY_BACK}, Screen::TrackList, 0, 2},
        MenuCase{"TrackNameFinish", kTrackInfoOfRow2 + Keys{KEY_SELECT, KEY_FINISH}, Screen::TrackInfoMenu, 0, 2},
        MenuCase{"TrackYomiFinish", kTrackInfoOfRow2 + Keys{KEY_MENU_DOWN, KEY_SELECT, KEY_FINISH},
                 Screen::TrackInfoMenu, 0, 2},
        MenuCase{"LastTrack", OpenTrackList() + Times(49, KEY_MENU_DOWN), Screen::TrackList, 0, 49}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceModelMenus, SelectOpensTheFieldUnderTheCursor) {
  EXPECT_EQ(RunKeys(OpenTitle()).OpenField(), FieldId::Title);
  EXPECT_EQ(RunKeys(OpenYomi()).OpenField(), FieldId::Yomi);
  EXPECT_EQ(RunKeys(OpenArtist()).OpenField(), FieldId::Artist);
  EXPECT_EQ(RunKeys(kTrackInfoOfRow2 + Keys{KEY_SELECT}).OpenField(), FieldId::TrackName);
  EXPECT_EQ(RunKeys(kTrackInfoOfRow2 + Keys{KEY_MENU_DOWN, KEY_SELECT}).OpenField(), FieldId::TrackYomi);
}

struct MenuErrorCase {
  const char* name;
  Keys keys;
  int keyIndex;        // of the one error expected
  const char* state;   // where it is reported
  Screen screenAfter;  // the faulty key changed nothing
};
void PrintTo(const MenuErrorCase& c, std::ostream* os) { *os << c.name; }

class MenuError : public ::testing::TestWithParam<MenuErrorCase> {};

TEST_P(MenuError, IsRecordedAndIgnored) {
  const MenuErrorCase& c = GetParam();
  const DeviceModel model = RunKeys(c.keys);
  ASSERT_EQ(model.Errors().size(), 1u) << ErrorList(model);
  EXPECT_EQ(model.Errors()[0].keyIndex, c.keyIndex);
  EXPECT_EQ(model.Errors()[0].state, c.state);
  EXPECT_EQ(model.CurrentScreen(), c.screenAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, MenuError,
    ::testing::Values(
        MenuErrorCase{"PlaylistMenuItem0", {KEY_SELECT, KEY_SELECT}, 2, "playlist menu, item 0", Screen::PlaylistMenu},
        MenuErrorCase{"PlaylistMenuItem3",
                      {KEY_SELECT, KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT},
                      5,
                      "playlist menu, item 3",
                      Screen::PlaylistMenu},
        MenuErrorCase{"AlbumMenuItem3", OpenAlbumMenu() + Times(3, KEY_MENU_DOWN) + Keys{KEY_SELECT}, 8,
                      "album menu, item 3", Screen::AlbumMenu},
        MenuErrorCase{"ArtistMenuItem1",
                      OpenAlbumMenu() + Keys{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT, KEY_MENU_DOWN, KEY_SELECT}, 9,
                      "artist menu, item 1", Screen::ArtistMenu},
        MenuErrorCase{"TrackMenuItem0", OpenTrackList() + Keys{KEY_SELECT, KEY_SELECT}, 5, "track 1 menu, item 0",
                      Screen::TrackMenu},
        MenuErrorCase{"TrackInfoMenuItem2", kTrackInfoOfRow2 + Keys{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT}, 11,
                      "track 3 info menu, item 2", Screen::TrackInfoMenu},
        MenuErrorCase{"PastTheLastTrack", OpenTrackList() + Times(50, KEY_MENU_DOWN), 53, "track list, track 50",
                      Screen::TrackList},
        MenuErrorCase{"MenuDownInPlaylistList", {KEY_MENU_DOWN}, 1, "playlist list", Screen::PlaylistList},
        MenuErrorCase{"EraseInTrackList", OpenTrackList() + Keys{KEY_ERASE}, 4, "track list, track 1",
                      Screen::TrackList},
        MenuErrorCase{"FinishInAlbumMenu", OpenAlbumMenu() + Keys{KEY_FINISH}, 5, "album menu, item 0",
                      Screen::AlbumMenu},
        MenuErrorCase{"DigitInPlaylistMenu", {KEY_SELECT, KEY_3}, 2, "playlist menu, item 0", Screen::PlaylistMenu}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- fields

TEST(DeviceModelFields, OpenedFieldShowsOldTextAndAFreshPalette) {
  DeviceModel model = RunKeys(OpenTitle() + Keys{KEY_PALLET, KEY_PALLET, KEY_PAL_DOWN, KEY_FINISH, KEY_SELECT});
  EXPECT_EQ(model.Text(FieldId::Title), "OLD");
  EXPECT_EQ(model.Palette().page, 0);
  EXPECT_FALSE(model.Palette().halfWidth);
  EXPECT_TRUE(model.Palette().onGrid);
  EXPECT_EQ(model.Palette().cell, 0);
  EXPECT_EQ(model.Palette().pendingDigit, -1);
  EXPECT_EQ(ErrorList(model), "");
}

TEST(DeviceModelFields, EraseRemovesWholeCharactersAndStopsAtEmpty) {
  const std::string old = Cp932("あA");
  EXPECT_EQ(RunKeys(OpenTitle() + Keys{KEY_ERASE}, old).Text(FieldId::Title), Cp932("あ"));
  EXPECT_EQ(RunKeys(OpenTitle() + Times(2, KEY_ERASE), old).Text(FieldId::Title), "");
  const DeviceModel model = RunKeys(OpenTitle() + Times(32, KEY_ERASE), old);
  EXPECT_EQ(model.Text(FieldId::Title), "");
  EXPECT_EQ(ErrorList(model), "");
}

TEST(DeviceModelFields, FieldsKeepTheirTextsApart) {
  const DeviceModel model = RunKeys(OpenTitle() + Keys{KEY_ERASE, KEY_FINISH, KEY_MENU_DOWN, KEY_SELECT, KEY_ERASE,
                                                   KEY_ERASE, KEY_FINISH, KEY_BACK} +
                                OpenTrackList() + OpenTrackName(3) + Keys{KEY_ERASE, KEY_ERASE, KEY_ERASE});
  EXPECT_EQ(ErrorList(model), "");
  EXPECT_EQ(model.Text(FieldId::Title), "OL");
  EXPECT_EQ(model.Text(FieldId::Yomi), "O");
  EXPECT_EQ(model.Text(FieldId::Artist), "OLD");
  EXPECT_EQ(model.Text(FieldId::TrackName, 3), "");
  EXPECT_EQ(model.Text(FieldId::TrackYomi, 3), "OLD");
  EXPECT_EQ(model.Text(FieldId::TrackName, 2), "OLD");
  EXPECT_TRUE(model.TrackOpened(3));
  EXPECT_FALSE(model.TrackOpened(2));
}

// Each case starts in an emptied title field on page 0, full width, cell 0.
struct EntryCase {
  const char* name;
  Keys keys;
  const char* text;  // UTF-8
};
void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class Entry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(Entry, LeavesTheTextWithoutErrors) {
  const EntryCase& c = GetParam();
  const DeviceModel model = RunKeys(OpenTitle() + Times(3, KEY_ERASE) + c.keys);
  EXPECT_EQ(ErrorList(model), "");
  EXPECT_EQ(model.Text(FieldId::Title), Cp932(c.text));
}

const Keys kNext{KEY_NEXT};
const Keys kToKatakana{KEY_PALLET};
const Keys kToDigits{KEY_PALLET, KEY_PALLET};
const Keys kToLetters{KEY_PALLET, KEY_PALLET, KEY_PALLET};
const Keys kToSymbols = Times(4, KEY_PALLET);
const Keys kVoiced = Times(4, KEY_0);
const Keys kSemiVoiced = Times(5, KEY_0);

INSTANTIATE_TEST_SUITE_P(
    Sim, Entry,
    ::testing::Values(
        EntryCase{"Hiragana", Keys{KEY_1} + kNext + Times(5, KEY_1) + kNext + Times(6, KEY_1) + kNext, "あおぁ"},
        EntryCase{"CycleWraps", Times(11, KEY_1) + kNext + Times(7, KEY_2) + kNext, "あき"},
        EntryCase{"OtherDigitCommits", Keys{KEY_1, KEY_2, KEY_2, KEY_4} + Times(5, KEY_4) + kNext, "あきっ"},
        EntryCase{"VoicedAndSemiVoiced",
                  Keys{KEY_2} + kVoiced + kNext + Keys{KEY_6} + kSemiVoiced + kNext + Times(5, KEY_6) + kSemiVoiced +
                      kNext + Times(3, KEY_4) + kVoiced + kNext + Times(2, KEY_4) + kVoiced + kNext,
                  "がぱぽづぢ"},
        EntryCase{"VoicedMarkOnPreviousCharacterAfterNext",
                  Times(4, KEY_6) + kNext + kVoiced + kNext, "べ"},
        EntryCase{"KeyZeroRow",
                  Keys{KEY_0} + kNext + Times(2, KEY_0) + kNext + Times(3, KEY_0) + kNext + Times(6, KEY_0) + kNext +
                      Times(7, KEY_0) + kNext + Times(8, KEY_0) + kNext,
                  "わをん。、ー"},
        EntryCase{"SmallYa", Times(4, KEY_8) + kNext + Times(6, KEY_8) + kNext, "ゃょ"},
        EntryCase{"FullKatakana",
                  kToKatakana + Keys{KEY_2} + kVoiced + kNext + Times(8, KEY_0) + kNext + Times(10, KEY_1) + kNext,
                  "ガ－ォ"},
        EntryCase{"HalfKatakanaWithMarks",
                  kToKatakana + ToggleWidth(false) + Keys{KEY_2} + kNext + kVoiced + kNext + Keys{KEY_6} + kNext +
                      kSemiVoiced + kNext + Times(8, KEY_0) + kNext + Times(2, KEY_0) + kNext,
                  "ｶﾞﾊﾟｰｦ"},
        EntryCase{"FullLetters",
                  kToLetters + Times(3, KEY_1) + kNext + Times(4, KEY_1) + kNext + Times(4, KEY_9) + kNext +
                      Times(3, KEY_9) + kNext,
                  "ｃＡＺＹ"},
        EntryCase{"HalfLetters", kToLetters + ToggleWidth(false) + Times(6, KEY_1) + kNext + Keys{KEY_9, KEY_8} + kNext,
                  "Cyv"},
        EntryCase{"LetterCycleOfNineWrapsAfterFour", kToLetters + Times(5, KEY_9) + kNext, "ｙ"},
        EntryCase{"DigitsAtOnce", kToDigits + Keys{KEY_7, KEY_0, KEY_7}, "７０７"},
        EntryCase{"HalfDigits", kToDigits + ToggleWidth(false) + Keys{KEY_1, KEY_9}, "19"},
        EntryCase{"SymbolsByCursor",
                  kToSymbols + Keys{KEY_PAL_ENTER, KEY_PAL_RIGHT, KEY_PAL_ENTER, KEY_PAL_DOWN, KEY_PAL_ENTER,
                                    KEY_PAL_DOWN, KEY_PAL_ENTER} +
                      Times(10, KEY_PAL_RIGHT) + Keys{KEY_PAL_ENTER},
                  "＿｛！‘．"},
        EntryCase{"HalfSymbols",
                  kToSymbols + ToggleWidth(false) +
                      Keys{KEY_PAL_RIGHT, KEY_PAL_UP, KEY_PAL_UP, KEY_PAL_LEFT, KEY_PAL_ENTER, KEY_PAL_DOWN} +
                      Times(3, KEY_PAL_RIGHT) + Keys{KEY_PAL_ENTER},
                  "_\\"},
        EntryCase{"GridEdgesStopTheCursor",
                  kToSymbols + Times(2, KEY_PAL_UP) + Times(15, KEY_PAL_RIGHT) + Keys{KEY_PAL_ENTER} +
                      Times(5, KEY_PAL_DOWN) + Keys{KEY_PAL_ENTER},
                  "＊．"},
        EntryCase{"PalletPutsCursorOnCellZero",
                  kToSymbols + Keys{KEY_PAL_RIGHT, KEY_PAL_RIGHT, KEY_PAL_ENTER} + Times(6, KEY_PALLET) +
                      Keys{KEY_PAL_ENTER},
                  "｝＿"},
        EntryCase{"SpaceOnHiraganaPageIsFullWidth", Space() + Keys{KEY_1} + kNext, "　あ"},
        EntryCase{"HalfSpaceAfterWidthSwitchStaysOnWidthCell",
                  kToKatakana + ToggleWidth(false) + Times(4, KEY_PAL_UP) + Keys{KEY_PAL_DOWN, KEY_PAL_ENTER},
                  " "},
        EntryCase{"FullSpaceOffHiraganaPage", kToDigits + Keys{KEY_1} + Space(), "１　"},
        EntryCase{"WidthSwitchWithTextPassesEraseCharacter",
                  kToLetters + Keys{KEY_1} + kNext + ToggleWidth(true) + Keys{KEY_1} + kNext + ToggleWidth(true) +
                      Keys{KEY_1} + kNext,
                  "ａaａ"},
        EntryCase{"BackToTheGridFromWidth",
                  // WIDTH (no text: third cell) enters the grid on row 2, column 1; up twice, left
                  // into the column, up to its top, right: cell 0.
                  kToSymbols + ToggleWidth(false) +
                      Keys{KEY_PAL_RIGHT, KEY_PAL_ENTER, KEY_PAL_RIGHT, KEY_PAL_UP, KEY_PAL_UP, KEY_PAL_LEFT,
                           KEY_PAL_LEFT, KEY_PAL_LEFT} +
                      Times(4, KEY_PAL_UP) + Keys{KEY_PAL_RIGHT, KEY_PAL_ENTER},
                  "`_"},
        EntryCase{"BackToTheGridFromSpace",
                  kToSymbols + Space() + Keys{KEY_PAL_RIGHT, KEY_PAL_ENTER}, "　｜"},
        EntryCase{"LeftFromCell25EntersWidthWhenEmpty",
                  kToSymbols + Keys{KEY_PAL_RIGHT, KEY_PAL_DOWN, KEY_PAL_DOWN, KEY_PAL_LEFT, KEY_PAL_LEFT,
                                    KEY_PAL_ENTER, KEY_PAL_RIGHT, KEY_PAL_ENTER},
                  "`"},
        EntryCase{"EraseKeyDuringEntry", Keys{KEY_1} + kNext + Keys{KEY_2} + kNext + Keys{KEY_ERASE, KEY_3} + kNext,
                  "あさ"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceModelFields, WidthIsOneSettingForAllPagesOfAField) {
  const DeviceModel model = RunKeys(OpenTitle() + Keys{KEY_PALLET} + ToggleWidth(true) + Times(5, KEY_PALLET));
  EXPECT_TRUE(model.Palette().halfWidth);
  EXPECT_EQ(model.Palette().page, 0);
  EXPECT_EQ(ErrorList(model), "");
}

TEST(DeviceModelFields, EraseCharacterCellGivesWayToWidthWhenTheTextEmpties) {
  // On ERASE-CHARACTER with one character left, KEY_ERASE empties the field.
  const DeviceModel model = RunKeys(OpenTitle() + Times(2, KEY_ERASE) + Keys{KEY_PALLET} + Times(13, KEY_PAL_LEFT) +
                                Times(4, KEY_PAL_UP) + Keys{KEY_PAL_DOWN, KEY_PAL_DOWN, KEY_ERASE});
  EXPECT_FALSE(model.Palette().onGrid);
  EXPECT_EQ(model.Palette().functionCell, FunctionCell::Width);
  EXPECT_EQ(ErrorList(model), "");
}

// Each case starts in the title field holding "OLD", page 0, full width, cell 0.
struct FieldErrorCase {
  const char* name;
  Keys keys;
  int keyIndex;  // of the one error expected, counted from the field's first key
  const char* message;
  const char* text;  // UTF-8, what the field holds afterwards
};
void PrintTo(const FieldErrorCase& c, std::ostream* os) { *os << c.name; }

class FieldError : public ::testing::TestWithParam<FieldErrorCase> {};

TEST_P(FieldError, IsRecordedAndTheKeyIgnored) {
  const FieldErrorCase& c = GetParam();
  const int opening = static_cast<int>(OpenTitle().size());
  const DeviceModel model = RunKeys(OpenTitle() + c.keys);
  ASSERT_EQ(model.Errors().size(), 1u) << ErrorList(model);
  EXPECT_EQ(model.Errors()[0].keyIndex, opening + c.keyIndex);
  EXPECT_EQ(model.Errors()[0].message, c.message);
  EXPECT_EQ(model.Text(FieldId::Title), Cp932(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Sim, FieldError,
    ::testing::Values(
        FieldErrorCase{"NextWithNothingPending", {KEY_NEXT}, 1, "KEY_NEXT with no character pending", "OLD"},
        FieldErrorCase{"PalletWhilePending", {KEY_1, KEY_PALLET, KEY_NEXT}, 2, "KEY_PALLET while a character is pending",
                       "OLDあ"},
        FieldErrorCase{"EraseWhilePending", {KEY_1, KEY_ERASE, KEY_NEXT}, 2, "KEY_ERASE while a character is pending",
                       "OLDあ"},
        FieldErrorCase{"CursorKeyWhilePending", {KEY_1, KEY_PAL_LEFT, KEY_NEXT}, 2,
                       "KEY_PAL_LEFT while a character is pending", "OLDあ"},
        FieldErrorCase{"DigitOnSymbolPage", kToSymbols + Keys{KEY_5}, 5, "KEY_5 on a page without characters for it",
                       "OLD"},
        FieldErrorCase{"DigitOnPage5", Times(5, KEY_PALLET) + Keys{KEY_1}, 6,
                       "KEY_1 on a page without characters for it", "OLD"},
        FieldErrorCase{"ZeroOnLetterPage", kToLetters + Keys{KEY_0}, 4, "KEY_0 holds no letters", "OLD"},
        FieldErrorCase{"EnterOnHiraganaGrid", {KEY_PAL_ENTER}, 1, "KEY_PAL_ENTER on the grid of a page without symbols",
                       "OLD"},
        FieldErrorCase{"WidthOnHiraganaPage", ToggleWidth(true), 21, "KEY_PAL_ENTER on WIDTH on the hiragana page",
                       "OLD"},
        FieldErrorCase{"EnterOnUnusedCell", testing::ToFunctionTop() + Keys{KEY_PAL_ENTER}, 18,
                       "KEY_PAL_ENTER on the unused cell", "OLD"},
        FieldErrorCase{"EnterOnEraseCharacter", testing::ToFunctionTop() + Keys{KEY_PAL_DOWN, KEY_PAL_DOWN, KEY_PAL_ENTER},
                       20, "KEY_PAL_ENTER on ERASE-CHARACTER", "OLD"},
        FieldErrorCase{"DownIntoMissingCell", kToSymbols + Keys{KEY_PAL_DOWN, KEY_PAL_DOWN, KEY_PAL_ENTER}, 6,
                       "KEY_PAL_DOWN into the missing cell 24", "OLD｜"},
        FieldErrorCase{"VoicedMarkOnKanaWithoutOne", Keys{KEY_1} + kNext + kVoiced + kNext, 7,
                       "KEY_NEXT commits a voiced mark after \\x82\\xA0, which takes none", "OLDあ"},
        FieldErrorCase{"SemiVoicedMarkOnKa", Keys{KEY_2} + kNext + kSemiVoiced + kNext, 8,
                       "KEY_NEXT commits a semi-voiced mark after \\x82\\xA9, which takes none", "OLDか"},
        FieldErrorCase{"VoicedMarkInEmptyField", Times(3, KEY_ERASE) + kVoiced + Keys{KEY_1} + kNext, 8,
                       "KEY_1 commits a voiced mark with no character before it", "あ"},
        FieldErrorCase{"MarkOnUInKatakana", kToKatakana + Times(3, KEY_1) + kNext + kVoiced + kNext, 10,
                       "KEY_NEXT commits a voiced mark after \\x83\\x45, which takes none", "OLDウ"},
        FieldErrorCase{"KutenOnKatakanaPage", kToKatakana + Times(6, KEY_0) + kNext, 8,
                       "KEY_NEXT commits KEY_0 x 6, which holds no character on this page", "OLD"},
        FieldErrorCase{"SelectInField", {KEY_SELECT}, 1, "KEY_SELECT has no use in a field", "OLD"},
        FieldErrorCase{"BackInField", {KEY_BACK}, 1, "KEY_BACK has no use in a field", "OLD"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceModelFields, FinishWithPendingCharacterClosesAndLosesIt) {
  const DeviceModel model = RunKeys(OpenTitle() + Keys{KEY_1, KEY_FINISH});
  ASSERT_EQ(model.Errors().size(), 1u);
  EXPECT_EQ(model.Errors()[0].keyIndex, 7);
  EXPECT_EQ(model.Errors()[0].state, "title field, page 0, full width, cell 0, KEY_1 x 1 pending");
  EXPECT_EQ(model.CurrentScreen(), Screen::AlbumMenu);
  EXPECT_EQ(model.Text(FieldId::Title), "OLD");
}

// A whole album keyed the way the entry job keys it: menus to each field, the
// erase runs, page steps, width switches, a space and a symbol after a switch.
TEST(DeviceModelAlbum, JobStyleKeyingLeavesTheTextsAndNoErrors) {
  const Keys toSymbolAfterSwitch = Keys{KEY_PAL_RIGHT, KEY_PAL_UP, KEY_PAL_UP, KEY_PAL_LEFT, KEY_PAL_LEFT} +
                                   Times(4, KEY_PAL_UP) + Keys{KEY_PAL_RIGHT};
  const Keys keys =
      OpenTitle() + Times(32, KEY_ERASE) + Keys{KEY_2} + kVoiced + kNext + Keys{KEY_FINISH} +
      Keys{KEY_MENU_DOWN, KEY_SELECT} + Times(16, KEY_ERASE) + Keys{KEY_2, KEY_NEXT, KEY_FINISH} +
      Keys{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT, KEY_SELECT} + Times(32, KEY_ERASE) + kToLetters +
      ToggleWidth(false) + Times(4, KEY_1) + kNext + Keys{KEY_FINISH} +
      Keys{KEY_BACK, KEY_SELECT, KEY_MENU_DOWN, KEY_SELECT} +
      Keys{KEY_MENU_DOWN, KEY_SELECT, KEY_MENU_DOWN, KEY_SELECT, KEY_SELECT} + Times(32, KEY_ERASE) + kToDigits +
      ToggleWidth(false) + Keys{KEY_1} + Space() + kToDigits + ToggleWidth(true) + toSymbolAfterSwitch +
      Keys{KEY_PAL_RIGHT, KEY_PAL_DOWN, KEY_PAL_DOWN} + Times(8, KEY_PAL_RIGHT) + Keys{KEY_PAL_ENTER, KEY_FINISH} +
      Keys{KEY_MENU_DOWN, KEY_SELECT} + Times(16, KEY_ERASE) + kToKatakana + Keys{KEY_1, KEY_NEXT, KEY_FINISH} +
      Keys{KEY_BACK, KEY_BACK};
  const DeviceModel model = RunKeys(keys);
  EXPECT_EQ(ErrorList(model), "");
  EXPECT_EQ(model.CurrentScreen(), Screen::PlaylistList);
  EXPECT_EQ(model.Text(FieldId::Title), Cp932("が"));
  EXPECT_EQ(model.Text(FieldId::Yomi), Cp932("か"));
  EXPECT_EQ(model.Text(FieldId::Artist), "A");
  EXPECT_EQ(model.Text(FieldId::TrackName, 1), Cp932("1 ＠"));
  EXPECT_EQ(model.Text(FieldId::TrackYomi, 1), Cp932("ア"));
}

// ---- dump

TEST(DeviceModelDump, ListsTextsOpenedTracksAndErrors) {
  const Keys keys = OpenTitle() + Times(3, KEY_ERASE) + Keys{KEY_PALLET, KEY_4, KEY_NEXT, KEY_FINISH, KEY_BACK} +
                    OpenTrackList() + OpenTrackName(1) + Keys{KEY_ERASE, KEY_FINISH, KEY_MENU_DOWN, KEY_SELECT} +
                    Keys{KEY_NEXT};
  const DeviceModel model = RunKeys(keys);
  EXPECT_EQ(model.Dump(),
            "title タ\n"
            "yomi OLD\n"
            "artist OLD\n"
            "track 2 name OL\n"
            "track 2 yomi OLD\n"
            "error 26 track 2 yomi field, page 0, full width, cell 0: KEY_NEXT with no character pending\n");
}

TEST(DeviceModelDump, WritesUndecodableTextAsBytes) {
  const DeviceModel model(std::string("A\x82", 2));
  const std::string dump = model.Dump();
  EXPECT_EQ(dump.substr(0, dump.find('\n')), "title \\x41\\x82");
}

}  // namespace
}  // namespace vrellix::sim
