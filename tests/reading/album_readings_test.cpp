#include "reading/album_readings.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "reading/reading_test_names.h"
#include "support/edited_albums.h"
#include "text/text_codec.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

using testing::AlbumWith;
using testing::Dictionary;
using testing::RandomName;
using testing::TableReadingProvider;
using testing::WithRow;

// The changes as the command line prints them, unfit parts in [].
std::vector<std::string> Lines(const std::vector<FieldChange>& changes) {
  std::vector<std::string> lines;
  for (const FieldChange& change : changes) {
    std::string after;
    size_t at = 0;
    for (const TextSpan& span : change.unfit) {
      after += change.after.substr(at, span.begin - at) + "[" + change.after.substr(span.begin, span.end - span.begin) + "]";
      at = span.end;
    }
    lines.push_back(FieldName(change.field) + ": " + change.before + " → " + after + change.after.substr(at));
  }
  return lines;
}

const EditedAlbum kAlbum = WithRow(WithRow(WithRow(WithRow(AlbumWith("東京事変", "", "初音ミク"),  //
                                                           1, "春よ、来い", ""),
                                                   2, "少女", "しょうじょ"),
                                           3, "千の♪", "ちの", false),
                                   5, "ABCDE", "");

struct AlbumCase {
  const char* what;
  AlbumReadingOptions options;
  std::vector<std::string> lines;
};
void PrintTo(const AlbumCase& c, std::ostream* os) { *os << c.what; }

class AlbumReadingsTest : public ::testing::TestWithParam<AlbumCase> {};

TEST_P(AlbumReadingsTest, ListsWhatTheSuggestionsWouldChange) {
  TableReadingProvider provider = Dictionary();
  const AlbumReadings readings = SuggestAlbumReadings(provider, kAlbum, GetParam().options);
  EXPECT_EQ(Lines(readings.changes), GetParam().lines);
  EXPECT_EQ(readings.unavailable, "");
  // A word of five letters is not spelled out.
  ASSERT_FALSE(readings.unread.empty());
  EXPECT_EQ(readings.unread.back().field, (AlbumField{AlbumField::Kind::kTrackYomi, 5}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Options, AlbumReadingsTest, ::testing::Values(
  AlbumCase{"empty readings only", {false, std::nullopt}, {
    "よみ:  → とうきょうじへん",
    "トラック1のよみ:  → はるよ、こい"}},
  AlbumCase{"every reading", {true, std::nullopt}, {
    "よみ:  → とうきょうじへん",
    "トラック1のよみ:  → はるよ、こい",
    "トラック3のよみ: ちの → せんの"}},
  AlbumCase{"names in katakana", {false, KanaStyle::kKatakana}, {
    "タイトル: 東京事変 → トウキョウジヘン",
    "よみ:  → とうきょうじへん",
    "アーティスト: 初音ミク → ハツネミク",
    "トラック1の曲名: 春よ、来い → ハルヨ、コイ",
    "トラック1のよみ:  → はるよ、こい",
    "トラック2の曲名: 少女 → ショウジョ",
    "トラック3の曲名: 千の♪ → センノ[♪]"}}
));
// clang-format on

TEST(AlbumReadings, WithoutReadingsListsWhatNeedsNoneAndSaysWhy) {
  TableReadingProvider none({}, "no readings here");
  const EditedAlbum album = WithRow(WithRow(AlbumWith("東京", "", "A"), 1, "スピッツ", ""), 2, "少女", "");
  const AlbumReadings readings = SuggestAlbumReadings(none, album, {false, KanaStyle::kHiragana});
  EXPECT_EQ(readings.unavailable, "no readings here");
  EXPECT_EQ(Lines(readings.changes),
            (std::vector<std::string>{"トラック1の曲名: スピッツ → すぴっつ", "トラック1のよみ:  → すぴっつ"}));
}

// Applying every change gives each listed field its new text and leaves every
// other field as it was; each reading offered passes the Start checks; an empty
// reading of a named title or track is either filled or listed as unread.
TEST(AlbumReadingsProperty, ChangesAreWhatApplyingThemDoes) {
  TableReadingProvider provider = Dictionary();
  std::mt19937 random(20261207);
  std::bernoulli_distribution coin(0.5);
  for (int round = 0; round < 300; ++round) {
    EditedAlbum album = AlbumWith(RandomName(random), coin(random) ? "" : "よみ", RandomName(random));
    for (EditedRow& row : album.rows) row = EditedRow{RandomName(random), coin(random) ? "" : "うた", coin(random)};
    const AlbumReadingOptions options{coin(random), coin(random) ? std::optional<KanaStyle>() : KanaStyle::kKatakana,
                                      coin(random) ? 1u : 3u};
    const AlbumReadings readings = SuggestAlbumReadings(provider, album, options);
    const EditedAlbum applied = ApplyFieldChanges(album, readings.changes);

    std::vector<AlbumField> fields{{AlbumField::Kind::kTitle, 0}, {AlbumField::Kind::kYomi, 0}, {AlbumField::Kind::kArtist, 0}};
    for (int track = 1; track <= kTrackCount; ++track) {
      fields.push_back({AlbumField::Kind::kTrackName, track});
      fields.push_back({AlbumField::Kind::kTrackYomi, track});
    }
    for (const AlbumField& field : fields) {
      SCOPED_TRACE(FieldName(field) + ": " + FieldText(album, field));
      int listed = 0;
      for (const FieldChange& change : readings.changes) {
        if (change.field != field) continue;
        ++listed;
        EXPECT_EQ(change.before, FieldText(album, field));
        EXPECT_NE(change.after, change.before);
        EXPECT_EQ(FieldText(applied, field), change.after);
        const bool reading = field.kind == AlbumField::Kind::kYomi || field.kind == AlbumField::Kind::kTrackYomi;
        if (reading) {
          ASSERT_FALSE(change.candidates.empty());
          EXPECT_EQ(change.candidates.front(), change.after);
          EXPECT_LE(change.candidates.size(), options.candidates);
          EXPECT_TRUE(CheckInputString(Utf8ToCp932(change.after).value_or("\x81"), CheckMode::kReading)) << change.after;
        } else {
          EXPECT_TRUE(options.names.has_value());
        }
      }
      EXPECT_LE(listed, 1);
      if (listed == 0) {
        EXPECT_EQ(FieldText(applied, field), FieldText(album, field));
      }
    }
    const auto accounted = [&](AlbumField name, AlbumField reading) {
      if (FieldText(album, name).empty() || !FieldText(album, reading).empty()) return;
      bool found = false;
      for (const FieldChange& change : readings.changes) found = found || change.field == reading;
      for (const UnreadField& unread : readings.unread) found = found || unread.field == reading;
      EXPECT_TRUE(found) << FieldName(reading);
    };
    accounted({AlbumField::Kind::kTitle, 0}, {AlbumField::Kind::kYomi, 0});
    for (int track = 1; track <= kTrackCount; ++track) {
      accounted({AlbumField::Kind::kTrackName, track}, {AlbumField::Kind::kTrackYomi, track});
    }
  }
}

}  // namespace
}  // namespace vrellix
