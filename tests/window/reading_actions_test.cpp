// よみを推定, かなに変換 and the whole album's readings against a fake view:
// the menus list the candidates, nothing changes until one is picked, and
// what is picked or saved is learned.
#include "window/reading_actions.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fake_views.h"
#include "messages/messages.h"
#include "reading/reading_test_names.h"
#include "support/edited_albums.h"

namespace vrellix {
namespace {

using testing::AlbumWith;
using testing::Dictionary;
using testing::FakeTitlerView;
using testing::FakeUser;
using testing::ShownBox;
using testing::TableReadingProvider;

constexpr AlbumField kArtist{AlbumField::Kind::kArtist, 0};
constexpr AlbumField kTrack2Name{AlbumField::Kind::kTrackName, 2};

ShownBox Note(const std::string& text) { return {text, MessageIcon::kInformation}; }

// The item's label, then each of its submenu's.
std::vector<std::string> Labels(const MenuItem& item) {
  std::vector<std::string> labels{item.label};
  for (const MenuItem& sub : item.submenu) labels.push_back(sub.label);
  return labels;
}

// A window's readings with a store of its own that lasts as long as it does.
struct ActionsRig {
  TableReadingProvider dictionary = Dictionary();
  ReadingActions actions{&dictionary, std::string()};
  FakeUser user;
  FakeTitlerView view{user};
  std::vector<std::string> put;
  int typedOwn = 0;

  MenuItem ReadingItem(const std::string& name) {
    return actions.ReadingItem(
        view, name, [this](const std::string& text) { put.push_back(text); }, [this] { ++typedOwn; });
  }
  Menu NameItems(AlbumField field, const std::string& name) {
    return actions.NameItems(view, field, name, [this](const std::string& text) { put.push_back(text); });
  }
};

struct MenuCase {
  const char* what;
  std::string name;
  std::vector<std::string> labels;  // the item's and its submenu's
  std::string told;                 // without a submenu: what the item says
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.what; }

class ReadingItemTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(ReadingItemTest, ListsTheCandidatesOrSaysWhyNone) {
  const MenuCase& c = GetParam();
  ActionsRig rig;
  const MenuItem item = rig.ReadingItem(c.name);
  EXPECT_EQ(Labels(item), c.labels);
  if (item.submenu.empty()) {
    rig.user.AnswerBox(Answer::kOk);
    item.action();
    EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{Note(c.told)});
  }
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

const std::string kSuggest = messages::kSuggestReadingItem;
const std::string kOther = messages::kOtherReadingItem;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, ReadingItemTest, ::testing::Values(
  MenuCase{"candidates, best first", "米津玄師",
           {kSuggest, "よねつげんし", "よねつけんし", "よねづげんし", "よねづけんし", "", kOther}, ""},
  MenuCase{"one reading", "東京事変", {kSuggest, "とうきょうじへん", "", kOther}, ""},
  MenuCase{"no name", " ", {kSuggest}, messages::kNoNameToRead},
  MenuCase{"a kanji unread", "鬱", {kSuggest}, messages::kNoReadingOffered},
  MenuCase{"a Latin word", "Lemon", {kSuggest}, messages::kLatinWordNotRead},
  MenuCase{"too long", "寿限無寿限無寿限無寿限無ジュ", {kSuggest}, messages::kOfferedReadingTooLong}
));
// clang-format on

// The reading picked is put and comes first from then on, for the name and
// for its kanji inside other names.
TEST(ReadingActions, APickedReadingIsPutAndLearned) {
  ActionsRig rig;
  rig.ReadingItem("米津玄師").submenu[3].action();
  EXPECT_EQ(rig.put, std::vector<std::string>{"よねづけんし"});
  EXPECT_EQ(rig.ReadingItem("米津玄師の少女").submenu[0].label, "よねづけんしのしょうじょ");
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{});
}

TEST(ReadingActions, KanaInEitherScriptMarksWhatTheFieldDoesNotTake) {
  ActionsRig rig;
  const Menu menu = rig.NameItems(kTrack2Name, "千の♪");
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(Labels(menu[0]), (std::vector<std::string>{messages::kToHiraganaItem, "せんの【♪】"}));
  EXPECT_EQ(Labels(menu[1]), (std::vector<std::string>{messages::kToKatakanaItem, "センノ【♪】"}));
  rig.user.AnswerBox(Answer::kOk);
  menu[1].submenu[0].action();
  EXPECT_EQ(rig.put, std::vector<std::string>{"センノ♪"});
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{Note(std::string("センノ【♪】\n\n") + messages::kUnfitMarked)});
  // A kanji unread offers nothing.
  EXPECT_EQ(Labels(rig.NameItems(kTrack2Name, "鬱")[0]), std::vector<std::string>{messages::kToHiraganaItem});
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

// 米津玄師 made katakana and corrected before the album is saved teaches the
// corrected reading; a text that is no correction of it teaches nothing.
TEST(ReadingActions, AConvertedNameCorrectedBeforeSavingIsLearned) {
  for (const auto& [corrected, learned] : std::vector<std::pair<std::string, std::string>>{
           {"ヨネヅケンシ", "よねづけんし"}, {"ヨネツゲンシ", "よねつげんし"}, {"スピッツ", ""}}) {
    ActionsRig rig;
    const Menu menu = rig.NameItems(kArtist, "米津玄師");
    menu[1].submenu[0].action();
    EXPECT_EQ(rig.put, std::vector<std::string>{"ヨネツゲンシ"});
    rig.actions.LearnFromAlbum(rig.view, AlbumWith("", "", corrected));
    const MenuItem item = rig.ReadingItem("米津玄師");
    EXPECT_EQ(item.submenu[0].label, learned.empty() ? "よねつげんし" : learned) << corrected;
  }
}

TEST(ReadingActions, WithoutReadingsEachItemSaysWhy) {
  TableReadingProvider none({}, "no readings here");
  ReadingActions actions(&none, std::string());
  FakeUser user;
  FakeTitlerView view(user);
  const MenuItem reading = actions.ReadingItem(view, "東京", [](const std::string&) {}, [] {});
  const Menu kana = actions.NameItems(view, kArtist, "東京", [](const std::string&) {});
  for (const MenuItem* item : {&reading, &kana[0], &kana[1]}) {
    EXPECT_TRUE(item->submenu.empty());
    user.AnswerBox(Answer::kOk);
    item->action();
  }
  EXPECT_EQ(user.Texts(), std::vector<std::string>(3, "no readings here"));
}

// Without readings of kanji, why comes in the one box when nothing is left to
// fill, and above the names skipped in the dialog when something is.
TEST(ReadingActions, FillReadingsShowsOneBox) {
  TableReadingProvider dictionary = Dictionary();
  TableReadingProvider none({}, "no readings here");
  const struct {
    TableReadingProvider* provider;
    EditedAlbum album;
    std::optional<ShownBox> box;  // nothing: the dialog, cancelled
  } cases[] = {
      {&dictionary, AlbumWith("A", "えー", ""), Note(messages::kNothingToChange)},
      {&none, AlbumWith("東京", "", ""), Note(std::string("no readings here\n\n") + messages::kNothingToChange)},
      {&none, testing::WithRow(AlbumWith("スピッツ", "", ""), 1, "東京", ""), std::nullopt},
  };
  for (const auto& c : cases) {
    ReadingActions actions(c.provider, std::string());
    FakeUser user;
    FakeTitlerView view(user);
    if (c.box) {
      user.AnswerBox(Answer::kOk);
    } else {
      user.ChooseReadings([](ReadingChoices&) { return false; });
    }
    EXPECT_EQ(actions.FillReadings(view, c.album, [&](ReadingChoices& choices) { return view.ChooseReadings(choices); }),
              std::nullopt);
    EXPECT_EQ(user.Boxes(), c.box ? std::vector<ShownBox>{*c.box} : std::vector<ShownBox>{});
    if (!c.box) {
      EXPECT_EQ(user.ReadingDialogs().at(0).skipped.at(0), "no readings here");
    }
    EXPECT_EQ(user.Unexpected(), 0);
  }
}

}  // namespace
}  // namespace vrellix
