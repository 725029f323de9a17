// よみを推定, かなに変換 and the whole album's readings against a fake view: the
// user always sees the change, and nothing changes unless they say yes.
#include "window/reading_actions.h"

#include <gtest/gtest.h>

#include <functional>
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

constexpr AlbumField kYomi{AlbumField::Kind::kYomi, 0};
constexpr AlbumField kTitle{AlbumField::Kind::kTitle, 0};
constexpr AlbumField kTrack2Name{AlbumField::Kind::kTrackName, 2};

ShownBox Question(const std::string& lines) {
  return {std::string(messages::kChangeQuestion) + "\n" + lines, MessageIcon::kInformation, MessageButtons::kYesNo};
}
ShownBox Note(const std::string& text) { return {text, MessageIcon::kInformation}; }

struct ActionCase {
  const char* what;
  std::function<std::optional<std::string>(ReadingActions&, MessageView&)> act;
  std::optional<Answer> answer;  // to the one question, when there is one
  std::vector<ShownBox> boxes;
  std::optional<std::string> result;
};
void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.what; }

class ReadingActionTest : public ::testing::TestWithParam<ActionCase> {};

TEST_P(ReadingActionTest, ShowsTheChangeAndMakesItOnlyWhenAccepted) {
  const ActionCase& c = GetParam();
  TableReadingProvider provider = Dictionary();
  ReadingActions actions(&provider);
  FakeUser user;
  FakeTitlerView view(user);
  user.AnswerBox(c.answer.value_or(Answer::kOk));
  EXPECT_EQ(c.act(actions, view), c.result);
  EXPECT_EQ(user.Boxes(), c.boxes);
  EXPECT_EQ(user.Unexpected(), 0);
}

auto Reading(AlbumField field, std::string name, std::string reading) {
  return [=](ReadingActions& actions, MessageView& view) { return actions.SuggestReading(view, field, name, reading); };
}
auto Kana(AlbumField field, std::string name, KanaStyle style) {
  return [=](ReadingActions& actions, MessageView& view) { return actions.ConvertName(view, field, name, style); };
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(OneField, ReadingActionTest, ::testing::Values(
  ActionCase{"reading accepted", Reading(kYomi, "東京事変", ""), Answer::kYes,
             {Question("よみ:  → とうきょうじへん")}, "とうきょうじへん"},
  ActionCase{"reading declined", Reading(kYomi, "東京事変", "とうきょう"), Answer::kNo,
             {Question("よみ: とうきょう → とうきょうじへん")}, std::nullopt},
  ActionCase{"no name", Reading(kYomi, "", ""), std::nullopt, {Note(messages::kNoNameToRead)}, std::nullopt},
  ActionCase{"nothing offered", Reading(kYomi, "鬱", ""), std::nullopt, {Note(messages::kNoReadingOffered)}, std::nullopt},
  ActionCase{"too long", Reading(kYomi, "寿限無寿限無寿限無寿限無ジュ", ""), std::nullopt,
             {Note(messages::kOfferedReadingTooLong)}, std::nullopt},
  ActionCase{"already so", Reading(kYomi, "少女", "しょうじょ"), std::nullopt, {Note(messages::kNothingToChange)}, std::nullopt},
  ActionCase{"kana, the unfit part marked", Kana(kTrack2Name, "千の♪", KanaStyle::kKatakana), Answer::kYes,
             {{Question("トラック2の曲名: 千の♪ → センの【♪】").text + "\n\n" + messages::kUnfitMarked,
               MessageIcon::kInformation, MessageButtons::kYesNo}}, "センの♪"},
  ActionCase{"kana declined", Kana(kTitle, "少女", KanaStyle::kHiragana), Answer::kNo,
             {Question("タイトル: 少女 → しょうじょ")}, std::nullopt},
  ActionCase{"no kanji", Kana(kTitle, "スピッツ", KanaStyle::kHiragana), std::nullopt,
             {Note(messages::kNoKanjiToConvert)}, std::nullopt},
  ActionCase{"kanji unread", Kana(kTitle, "鬱", KanaStyle::kHiragana), std::nullopt,
             {Note(messages::kNoReadingOffered)}, std::nullopt}
));
// clang-format on

TEST(ReadingActions, WithoutReadingsSaysWhy) {
  TableReadingProvider none({}, "no readings here");
  ReadingActions actions(&none);
  FakeUser user;
  FakeTitlerView view(user);
  user.AnswerBox(Answer::kOk);
  user.AnswerBox(Answer::kOk);
  EXPECT_EQ(actions.SuggestReading(view, kYomi, "東京", ""), std::nullopt);
  EXPECT_EQ(actions.ConvertName(view, kTitle, "東京", KanaStyle::kHiragana), std::nullopt);
  EXPECT_EQ(user.Boxes(), (std::vector<ShownBox>{Note("no readings here"), Note("no readings here")}));
}

// The list and the changes on Yes are the window's (tests/window/titler_logic_test).
// Without readings of kanji, why comes in the one box that follows, above
// what can still be offered.
TEST(ReadingActions, FillReadingsShowsOneBox) {
  TableReadingProvider dictionary = Dictionary();
  TableReadingProvider none({}, "no readings here");
  const struct {
    TableReadingProvider* provider;
    EditedAlbum album;
    ShownBox box;
  } cases[] = {
      {&dictionary, AlbumWith("A", "えー", ""), Note(messages::kNothingToChange)},
      {&none, AlbumWith("東京", "", ""), Note(std::string("no readings here\n\n") + messages::kNothingToChange)},
      {&none, testing::WithRow(AlbumWith("スピッツ", "", ""), 1, "東京", ""),
       {"no readings here\n\n" + Question("よみ:  → すぴっつ").text, MessageIcon::kInformation, MessageButtons::kYesNo}},
  };
  for (const auto& c : cases) {
    ReadingActions actions(c.provider);
    FakeUser user;
    FakeTitlerView view(user);
    user.AnswerBox(c.box.buttons == MessageButtons::kYesNo ? Answer::kNo : Answer::kOk);
    EXPECT_EQ(actions.FillReadings(view, c.album), std::nullopt);
    EXPECT_EQ(user.Boxes(), std::vector<ShownBox>{c.box});
    EXPECT_EQ(user.Unexpected(), 0);
  }
}

}  // namespace
}  // namespace vrellix
