// Continuing a job that failed: the place it reports, the album that continues
// from there, and the device after both jobs, with the user's return to the
// playlist list in between. (The command line's way through the same, from a
// failure inside track 2, is in tests/cli/enter_resume_test.cpp.)
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "job/job_events.h"
#include "job/job_place.h"
#include "job/job_plan.h"
#include "job/job_runner.h"
#include "messages/messages.h"
#include "sim/album_generator.h"
#include "sim/simulated_run.h"
#include "support/cp932.h"
#include "support/sanitized_build.h"
#include "validate/input_checks.h"

namespace vrellix::sim {
namespace {

using testing::Cp932;

struct FirstRun {
  bool failed = false;
  std::optional<JobPlace> place;
  DeviceModel device;  // as the failure left it
};

// Runs the job on device, whose faults make it fail, and collects where.
FirstRun RunUntilItFails(SimulatedDevice& device, const Album& album, const std::array<bool, kTrackCount>& checks) {
  JobRunner runner(device, device.ReplyClock(), 0);
  runner.SetAlbum(album, checks);
  JobEventLog log;
  FirstRun run;
  run.failed = runner.RunToEnd(log) == std::optional<bool>(false);
  run.place = runner.StoppedAt();
  run.device = device.Model();
  return run;
}

// The key and its retry at packet n are lost: the key at n fails.
SimulatorOptions FailingAt(int packet) {
  SimulatorOptions options;
  options.faults = {{PacketFault::Kind::kLost, packet, 0, {}}, {PacketFault::Kind::kLost, packet + 1, 0, {}}};
  return options;
}

Album ExampleAlbum() {
  Album album{Cp932("ﾊﾟｰﾃｨｰ・ナイト 2026"), Cp932("ぱーてぃーないと"), Cp932("ＲＺＴ Ｂａｎｄ & Friends"), {}};
  album.Tracks[0] = {Cp932("はじまりのうた"), Cp932("はじまりのうた")};
  album.Tracks[1] = {Cp932("ミッドナイト・ラン!"), Cp932("みっどないとらん")};
  album.Tracks[2] = {Cp932("ｽﾃｰｼﾞ No.3 (Live)"), Cp932("すてーじなんばーすりー")};
  album.Tracks[3] = {Cp932("１２３～ＡＢＣ　ｘｙｚ"), Cp932("いちにさん、えーびーしー")};
  return album;
}

TEST(ResumeTest, ContinuingLeavesOutTheHeaderAndTheTracksBeforeOnly) {
  const Album album = ExampleAlbum();
  const std::array<bool, kTrackCount> checks{true, false, true, true};
  const struct {
    JobPlace place;
    bool header;
    std::array<bool, 4> ticked;
  } cases[] = {
      {JobPlace{}, true, {true, false, true, true}},
      {JobPlace{JobPlace::Kind::kArtist, 0}, true, {true, false, true, true}},
      {JobPlace::Track(1), false, {true, false, true, true}},
      {JobPlace::Track(3), false, {false, false, true, true}},
      {JobPlace::Track(4), false, {false, false, false, true}},
  };
  for (const auto& c : cases) {
    const AlbumToEnter next = ContinueFrom(album, checks, c.place);
    const std::string label = PlaceLabel(c.place);
    EXPECT_EQ(next.album.Title.empty() && next.album.Yomi.empty() && next.album.Artist.empty(), !c.header) << label;
    for (int row = 0; row < 4; ++row) {
      EXPECT_EQ(next.checks[static_cast<std::size_t>(row)], c.ticked[static_cast<std::size_t>(row)]) << label;
      EXPECT_EQ(next.album.Tracks[static_cast<std::size_t>(row)].Name, album.Tracks[static_cast<std::size_t>(row)].Name);
    }
  }
  EXPECT_EQ(PlaceLabel(JobPlace{}), "タイトル");
  EXPECT_EQ(PlaceLabel(JobPlace{JobPlace::Kind::kYomi, 0}), "よみ");
  EXPECT_EQ(PlaceLabel(JobPlace{JobPlace::Kind::kArtist, 0}), "アーティスト");
}

TEST(ResumeTest, SuccessAndNoJobHaveNoPlace) {
  SimulatedDevice device;
  JobRunner runner(device, device.ReplyClock(), 0);
  EXPECT_FALSE(runner.StoppedAt().has_value());
  runner.SetAlbum(ExampleAlbum(), {true});
  JobEventLog log;
  ASSERT_EQ(runner.RunToEnd(log), std::optional<bool>(true));
  EXPECT_FALSE(runner.StoppedAt().has_value());
}

// Whatever key a job fails at, the place it gives names the field the device
// was left in, and continuing from there, after the user's way back to the
// playlist list, leaves the whole album on the device without entering any
// field before that track again.
TEST(ResumeTest, FailingAtAnyKeyAndContinuingLeavesTheAlbumOnTheDevice) {
#if defined(VRELLIX_SANITIZED)
  constexpr int kAlbums = 30;
#else
  constexpr int kAlbums = 300;
#endif
  const testing::CharPools pools;
  std::mt19937 random(20260401);
  int trackPlaces = 0, headerPlaces = 0;
  for (int i = 0; i < kAlbums; ++i) {
    testing::AlbumGenerator generator(pools, 777000 + static_cast<std::uint32_t>(i));
    const EditedAlbum edited = generator.Album();
    const StartCheckResult checked = RunStartChecks(edited);
    ASSERT_EQ(checked.outcome, StartCheckResult::Outcome::kReady) << checked.message;
    std::array<bool, kTrackCount> checks{};
    for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
    const Album& album = checked.album;

    const int keys = PlanJob(album, checks, 0).keys;
    const int packet = std::uniform_int_distribution<int>(1, keys)(random);
    std::ostringstream what;
    what << "album " << i << ", failing at key " << packet << " of " << keys;
    SimulatedDevice device(FailingAt(packet));
    const FirstRun first = RunUntilItFails(device, album, checks);
    ASSERT_TRUE(first.failed) << what.str();
    ASSERT_TRUE(first.place.has_value()) << what.str();
    const JobPlace place = *first.place;
    what << ", place " << PlaceLabel(place);
    if (first.device.CurrentScreen() == Screen::Field) {
      const FieldId field = first.device.OpenField();
      const JobPlace expected = field == FieldId::Title    ? JobPlace{}
                                : field == FieldId::Yomi   ? JobPlace{JobPlace::Kind::kYomi, 0}
                                : field == FieldId::Artist ? JobPlace{JobPlace::Kind::kArtist, 0}
                                                           : JobPlace::Track(first.device.TrackRow() + 1);
      EXPECT_EQ(place, expected) << what.str() << ", device in " << first.device.Describe();
    }
    ++(place.IsStart() ? headerPlaces : trackPlaces);

    device.ReturnToPlaylistList();
    const AlbumToEnter next = ContinueFrom(album, checks, place);
    const SimulatedRun resumed = RunJobOnDevice(device, next.album, next.checks, 0);
    EXPECT_TRUE(resumed.jobSucceeded) << what.str();
    const DeviceModel held = device.Model();
    EXPECT_TRUE(held.Errors().empty()) << what.str() << "\n" << held.Dump();
    for (const FieldCheck& field : CompareWithAlbum(held, album, checks)) {
      EXPECT_TRUE(field.Matches()) << what.str() << ": " << FieldLabel(field);
      const bool beforePlace = !place.IsStart() && (field.field == FieldId::Title || field.field == FieldId::Yomi ||
                                                    field.field == FieldId::Artist || field.track + 1 < place.track);
      if (beforePlace) {
        EXPECT_EQ(held.OpenCount(field.field, field.track), 1) << what.str() << ": " << FieldLabel(field);
      }
    }
  }
  // Both kinds of place were met.
  EXPECT_GT(headerPlaces, kAlbums / 50);
  EXPECT_GT(trackPlaces, kAlbums / 5);
}

}  // namespace
}  // namespace vrellix::sim
