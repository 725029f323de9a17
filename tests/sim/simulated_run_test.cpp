#include "sim/simulated_run.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "job/job_plan.h"
#include "sim/sim_keys.h"
#include "support/cp932.h"

namespace vrellix::sim {
namespace {

using testing::Cp932;

std::array<bool, kTrackCount> Ticked(std::initializer_list<int> rows) {
  std::array<bool, kTrackCount> checks{};
  for (int row : rows) checks[static_cast<std::size_t>(row)] = true;
  return checks;
}

std::vector<std::string> Labels(const std::vector<FieldCheck>& fields) {
  std::vector<std::string> labels;
  for (const FieldCheck& field : fields) labels.push_back(FieldLabel(field));
  return labels;
}

struct FieldsCase {
  const char* name;
  Album album;
  std::array<bool, kTrackCount> checks;
  std::vector<std::string> labels;
  std::vector<std::string> left;  // the album leaves them empty
};
void PrintTo(const FieldsCase& c, std::ostream* os) { *os << c.name; }

Album WithTracks(Album album, std::initializer_list<std::pair<int, AlbumTrack>> tracks) {
  for (const auto& [row, track] : tracks) album.Tracks[static_cast<std::size_t>(row)] = track;
  return album;
}

class ComparedFields : public ::testing::TestWithParam<FieldsCase> {};

// Only what the job sets is compared; an untouched device holds the old text
// there. The fields the job reaches but leaves empty are named while they hold text.
TEST_P(ComparedFields, AreTheFieldsTheJobSets) {
  const FieldsCase& c = GetParam();
  const std::vector<FieldCheck> fields = CompareWithAlbum(DeviceModel("OLD"), c.album, c.checks);
  EXPECT_EQ(Labels(fields), c.labels);
  for (const FieldCheck& field : fields) {
    EXPECT_EQ(field.held, "OLD");
    EXPECT_FALSE(field.expected.empty());
  }
  EXPECT_EQ(Labels(LeftAsTheyWere(DeviceModel("OLD"), c.album, c.checks, true)), c.left);
  EXPECT_TRUE(LeftAsTheyWere(DeviceModel(""), c.album, c.checks, true).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sim, ComparedFields,
    ::testing::Values(
        FieldsCase{"HeadersOnly", Album{"T", Cp932("た"), "A", {}}, Ticked({0}), {"title", "yomi", "artist"}, {}},
        FieldsCase{"EmptyHeadersLeftOut", Album{"", Cp932("た"), "", {}}, {}, {"yomi"}, {"title", "artist"}},
        FieldsCase{"TickedNamedTracksWithTheirReadings",
                   WithTracks(Album{}, {{0, {"a", Cp932("あ")}}, {2, {"c", ""}}, {49, {"z", Cp932("ぜ")}}}),
                   Ticked({0, 2, 49}), {"track 1 name", "track 1 yomi", "track 3 name", "track 50 name", "track 50 yomi"},
                   {"title", "yomi", "artist", "track 3 yomi"}},
        FieldsCase{"UntickedOrNamelessRowsLeftOut",
                   WithTracks(Album{}, {{1, {"b", ""}}, {3, {"", ""}}, {4, {"e", ""}}}), Ticked({3, 4}),
                   {"track 5 name"}, {"title", "yomi", "artist", "track 5 yomi"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimulatedRun, EntersTheAlbumWithThePlannedKeysAndTime) {
  const Album album = WithTracks(Album{Cp932("ﾊﾟｰﾃｨｰ ＠ 2026"), Cp932("ぱーてぃー"), "A&B", {}},
                                 {{1, {Cp932("ミッドナイト・ラン!"), Cp932("みっど")}}, {4, {"x", ""}}});
  const auto checks = Ticked({1, 4});
  // The time is the plan's estimate, also at the largest delay the settings can hold.
  const JobPlan longest = PlanJob(album, checks, INT_MAX);
  const SimulatedRun slowest = RunSimulatedJob(album, checks, {}, INT_MAX);
  EXPECT_EQ(slowest.deviceMs, EstimateJobMs(longest.keys, longest.pauseMs, INT_MAX));
  EXPECT_GT(slowest.deviceMs, std::int64_t{INT_MAX} * longest.keys);

  const SimulatedRun run = RunSimulatedJob(album, checks, {}, 100);
  EXPECT_TRUE(run.Passed()) << FormatMismatches(run) << FormatHeldFields(run);
  EXPECT_EQ(Labels(run.fields),
            (std::vector<std::string>{"title", "yomi", "artist", "track 2 name", "track 2 yomi", "track 5 name"}));
  // The device sees exactly the keys of the dry run, and the time is the plan's estimate.
  const JobPlan plan = PlanJob(album, checks, 100);
  EXPECT_EQ(run.packets, plan.keys);
  EXPECT_EQ(run.deviceMs, EstimateJobMs(plan.keys, plan.pauseMs, 100));
  EXPECT_EQ(FormatHeldFields(run),
            "title ﾊﾟｰﾃｨｰ ＠ 2026\n"
            "yomi ぱーてぃー\n"
            "artist A&B\n"
            "track 2 name ミッドナイト・ラン!\n"
            "track 2 yomi みっど\n"
            "track 5 name x\n");
}

// A reading field holds 16 characters and the job erases 16: an old text
// longer than that stays in front of the new one, and the run says so.
TEST(SimulatedRun, ReportsAFieldTheDeviceHoldsDifferently) {
  Album album;
  album.Yomi = Cp932("あ");
  SimulatorOptions options;
  options.oldText = "ABCDEFGHIJKLMNOPQR";
  const SimulatedRun run = RunSimulatedJob(album, {}, options, 0);
  EXPECT_TRUE(run.jobSucceeded);
  EXPECT_FALSE(run.Passed());
  ASSERT_EQ(run.Mismatches().size(), 1u);
  EXPECT_EQ(FormatMismatches(run), "yomi differs: expected あ, held ABあ\n");
}

TEST(SimulatedRun, FormatsModelErrorsAndUndecodableTextLikeTheDump) {
  SimulatedRun run;
  run.jobSucceeded = true;
  run.fields.push_back({FieldId::TrackYomi, 9, Cp932("あ"), std::string("\x82", 1)});
  run.modelErrors.push_back({12, "title field, page 0, full width, cell 0", "KEY_NEXT with no character pending"});
  EXPECT_FALSE(run.Passed());
  EXPECT_EQ(FormatHeldFields(run),
            "track 10 yomi \\x82\n"
            "error 12 title field, page 0, full width, cell 0: KEY_NEXT with no character pending\n");
  EXPECT_EQ(FormatMismatches(run), "track 10 yomi differs: expected あ, held \\x82\n");
}

}  // namespace
}  // namespace vrellix::sim
