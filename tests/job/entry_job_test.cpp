#include "job/entry_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <system_error>

#include "job/job_events.h"
#include "job/key_script.h"
#include "job/string_input.h"
#include "support/engine_rig.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"

namespace vrellix {
namespace {

using testing::DriverRig;
using testing::FakeClock;
using testing::FakeTransmitter;
using testing::KeyScript;
using testing::Lines;
using Reply = FakeTransmitter::Reply;
using Checks = std::array<bool, kTrackCount>;

const std::string kHiraA = "\x82\xA0";  // あ
const std::string kHiraI = "\x82\xA2";  // い
const char kStatusTracks[] = "トラック情報入力中";

struct Row {
  int row;
  std::string name;
  std::string yomi;
  bool checked;
};

struct AlbumSetup {
  Album album;
  Checks checks{};
};

AlbumSetup MakeAlbum(const std::string& title, const std::string& yomi, const std::string& artist,
                     std::initializer_list<Row> rows) {
  AlbumSetup setup;
  setup.album.Title = title;
  setup.album.Yomi = yomi;
  setup.album.Artist = artist;
  for (const Row& row : rows) {
    setup.album.Tracks[static_cast<std::size_t>(row.row)] = {row.name, row.yomi};
    setup.checks[static_cast<std::size_t>(row.row)] = row.checked;
  }
  return setup;
}

// What the string driver sends for a text in a freshly opened field.
std::vector<JobEvent> DriverEvents(const std::string& text) {
  DriverRig rig;
  EXPECT_EQ(StringInputProcess(rig.engine, text), 1);
  return rig.log.Events();
}

KeyScript& Field(KeyScript& script, int eraseCount, const std::string& text) {
  return script.Key(KEY_ERASE, eraseCount).Append(DriverEvents(text)).Key(KEY_FINISH);
}

std::vector<int> KeysOf(const std::vector<JobEvent>& events) {
  std::vector<int> keys;
  for (const JobEvent& event : events) {
    if (event.kind == JobEvent::Kind::kKey) keys.push_back(event.value);
  }
  return keys;
}

int CountEvents(const std::vector<JobEvent>& events, const JobEvent& wanted) {
  return static_cast<int>(std::count(events.begin(), events.end(), wanted));
}

bool HasResult(const std::vector<JobEvent>& events) {
  return std::any_of(events.begin(), events.end(),
                     [](const JobEvent& e) { return e.kind == JobEvent::Kind::kResult; });
}

// A job on an engine rig.
struct JobRig : DriverRig {
  explicit JobRig(const AlbumSetup& setup = {}) { job.SetAlbum(setup.album, setup.checks); }
  EntryJob job{engine, log};
};

class EntryJobTest : public ::testing::Test {
 protected:
  // Runs the worker's body here; the posted result ends its wait.
  std::vector<JobEvent> RunSynchronously(const AlbumSetup& setup) {
    job.SetAlbum(setup.album, setup.checks);
    rig.log.OnResult([this](bool) { rig.stop.Set(); });
    EXPECT_EQ(job.InputThreadProc(), 0);
    rig.stop.Reset();
    return rig.log.Events();
  }

  JobRig rig;
  EntryJob& job = rig.job;
  EntryEngine& engine = rig.engine;
  FakeTransmitter& transmitter = rig.tx;
};

// Every step of a job, key by key and pause by pause, for an album that takes
// each way through the steps: the three header fields, a track with a
// reading, a ticked row without a name (passed over), a track without a
// reading (its field not opened) and a named row that is not ticked (after
// the last selected track, so not visited).
TEST_F(EntryJobTest, FullAlbumFollowsTheSteps) {
  const AlbumSetup setup = MakeAlbum("AB", kHiraA + kHiraI, "1",
                                     {{0, "x", kHiraA, true},
                                      {1, "", "", true},
                                      {2, "y", "", true},
                                      {3, "z", kHiraI, false}});
  KeyScript expected;
  expected.Range(5).Status("タイトル名入力中").Key(KEY_SELECT).Key(KEY_MENU_DOWN, 2).Key(KEY_SELECT).Pause(1000);
  Field(expected.Key(KEY_SELECT).Pause(2000), 32, "AB").Pause(2500);
  expected.Progress(1).Status("よみ入力中");
  Field(expected.Key(KEY_MENU_DOWN).Key(KEY_SELECT).Pause(2000), 16, kHiraA + kHiraI).Pause(2500);
  expected.Progress(2).Status("アーティスト名入力中");
  expected.Key(KEY_MENU_DOWN, 2).Key(KEY_SELECT).Pause(500).Key(KEY_SELECT).Pause(500).Pause(2000);
  Field(expected, 32, "1").Pause(2500);
  expected.Progress(3).Status(kStatusTracks);
  expected.Key(KEY_BACK).Pause(2000).Key(KEY_SELECT).Pause(500).Key(KEY_MENU_DOWN).Key(KEY_SELECT);
  // Row 0: name and reading.
  expected.Pause(3000).Status("トラック情報入力中[ 1／2 ]").Progress(4);
  expected.Key(KEY_SELECT).Pause(500).Key(KEY_MENU_DOWN).Key(KEY_SELECT).Pause(1000).Key(KEY_SELECT).Pause(2000);
  Field(expected, 32, "x").Pause(2000);
  Field(expected.Key(KEY_MENU_DOWN).Key(KEY_SELECT).Pause(2000), 16, kHiraA).Pause(2000);
  expected.Key(KEY_BACK).Pause(1000);
  // Row 1: passed over.
  expected.Pause(3000).Key(KEY_MENU_DOWN);
  // Row 2: the name only.
  expected.Pause(3000).Key(KEY_MENU_DOWN).Status("トラック情報入力中[ 2／2 ]").Progress(5);
  expected.Key(KEY_SELECT).Pause(500).Key(KEY_MENU_DOWN).Key(KEY_SELECT).Pause(1000).Key(KEY_SELECT).Pause(2000);
  Field(expected, 32, "y").Pause(2000);
  expected.Key(KEY_BACK).Pause(1000);
  expected.Key(KEY_BACK).Result(true);

  EXPECT_EQ(Lines(RunSynchronously(setup)), Lines(expected.Events()));
  EXPECT_EQ(job.m_nProgressPos, 5);
}

TEST_F(EntryJobTest, EmptyHeaderFieldsSkipStraightToTheTracks) {
  const AlbumSetup setup = MakeAlbum("", "", "", {{0, "x", "", true}, {1, "w", "", true}});
  const std::vector<JobEvent> events = RunSynchronously(setup);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[0], (JobEvent{JobEvent::Kind::kRange, 2, {}}));
  EXPECT_EQ(events[1], (JobEvent{JobEvent::Kind::kStatus, 0, kStatusTracks}));
  EXPECT_EQ(events[2], (JobEvent{JobEvent::Kind::kKey, KEY_BACK, {}}));
  // The tracks count from the start of the range.
  EXPECT_EQ(CountEvents(events, {JobEvent::Kind::kProgress, 1, {}}), 1);
  EXPECT_EQ(CountEvents(events, {JobEvent::Kind::kProgress, 2, {}}), 1);
  EXPECT_EQ(job.m_nProgressPos, 2);
  EXPECT_EQ(events.back(), (JobEvent{JobEvent::Kind::kResult, 1, {}}));
}

TEST_F(EntryJobTest, EmptyTitleStillOpensTheMenu) {
  const AlbumSetup setup = MakeAlbum("", kHiraA, "", {});
  const std::vector<JobEvent> events = RunSynchronously(setup);
  const KeyScript prefix = KeyScript()
                               .Range(3).Status("タイトル名入力中")
                               .Key(KEY_SELECT).Key(KEY_MENU_DOWN, 2).Key(KEY_SELECT).Pause(1000)
                               .Progress(1).Status("よみ入力中")
                               .Key(KEY_MENU_DOWN).Key(KEY_SELECT).Pause(2000).Key(KEY_ERASE, 16);
  ASSERT_GE(events.size(), prefix.Events().size());
  EXPECT_EQ(Lines({events.begin(), events.begin() + static_cast<long>(prefix.Events().size())}),
            Lines(prefix.Events()));
}

TEST_F(EntryJobTest, EmptyFieldStepsResetTheEntryStateWithoutKeys) {
  struct Case {
    const char* name;
    int (EntryJob::*step)();
    bool resetsSymbolPos;
  };
  const Case cases[] = {
      {"reading", &EntryJob::YomiInputProcess, false},
      {"artist", &EntryJob::ArtistInputProcess, false},
  };
  job.SetAlbum(Album{}, Checks{});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    engine.m_nPalletPage = 4;
    engine.m_nHZMode = 1;
    engine.m_bHasText = true;
    engine.m_bCursorOffGrid = true;
    engine.m_nSymbolPos = 9;
    EXPECT_EQ((job.*c.step)(), 1);
    EXPECT_EQ(engine.m_nPalletPage, 0);
    EXPECT_EQ(engine.m_nHZMode, 0);
    EXPECT_FALSE(engine.m_bHasText);
    EXPECT_FALSE(engine.m_bCursorOffGrid);
    EXPECT_EQ(engine.m_nSymbolPos, 9);
  }
  EXPECT_TRUE(transmitter.Packets().empty());
  EXPECT_TRUE(rig.clock.Sleeps().empty());
}

TEST_F(EntryJobTest, TitleStepAlsoResetsTheSymbolCursor) {
  job.SetAlbum(Album{}, Checks{});
  engine.m_nPalletPage = 4;
  engine.m_nSymbolPos = 9;
  EXPECT_EQ(job.TitleInputProcess(), 1);
  EXPECT_EQ(engine.m_nPalletPage, 0);
  EXPECT_EQ(engine.m_nSymbolPos, 0);
  EXPECT_EQ(transmitter.Keys(), (std::vector<int>{KEY_SELECT, KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT}));
}

TEST_F(EntryJobTest, SingleTrackOnRowFive) {
  const AlbumSetup setup = MakeAlbum("", "", "", {{5, "x", kHiraA, true}});
  const std::vector<JobEvent> events = RunSynchronously(setup);

  EXPECT_EQ(CountEvents(events, {JobEvent::Kind::kPause, 3000, {}}), 6);
  EXPECT_EQ(CountEvents(events, {JobEvent::Kind::kStatus, 0, "トラック情報入力中[ 1／1 ]"}), 1);
  // After the opening BACK, SELECT, MENU_DOWN, SELECT: five rows down, then the track's SELECT.
  const std::vector<int> keys = KeysOf(events);
  ASSERT_GE(keys.size(), 10u);
  EXPECT_EQ(std::vector<int>(keys.begin() + 4, keys.begin() + 10),
            (std::vector<int>{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_MENU_DOWN,
                              KEY_MENU_DOWN, KEY_SELECT}));
}

TEST_F(EntryJobTest, TrackWithoutReadingGoesBackAfterTheName) {
  const AlbumSetup setup = MakeAlbum("", "", "", {{0, "7", "", true}});
  const std::vector<JobEvent> events = RunSynchronously(setup);
  const KeyScript tail = KeyScript().Key(KEY_FINISH).Pause(2000).Key(KEY_BACK).Pause(1000).Key(KEY_BACK).Result(true);
  ASSERT_GE(events.size(), tail.Events().size());
  EXPECT_EQ(Lines({events.end() - static_cast<long>(tail.Events().size()), events.end()}), Lines(tail.Events()));
}

TEST_F(EntryJobTest, NoSelectedTrackStillOpensAndClosesTheList) {
  const AlbumSetup setup = MakeAlbum("", "", "", {{0, "x", "", false}, {3, "", "", true}});
  job.SetAlbum(setup.album, setup.checks);
  EXPECT_EQ(job.CountSelectedTracks(), 0);
  EXPECT_EQ(job.TrackInputProcess(), 1);
  const KeyScript expected = KeyScript()
                                 .Key(KEY_BACK).Pause(2000).Key(KEY_SELECT).Pause(500)
                                 .Key(KEY_MENU_DOWN).Key(KEY_SELECT).Pause(3000).Key(KEY_BACK);
  EXPECT_EQ(Lines(rig.log.Events()), Lines(expected.Events()));
}

// Refusing the k-th key ends the job right there, with the failure posted:
// what the job did up to that key is what a job without faults does.
TEST_F(EntryJobTest, RefusedKeyAtAnyPointEndsTheJob) {
  const AlbumSetup setup = MakeAlbum("1", kHiraA, "", {{1, "2", kHiraA, true}});
  const std::vector<JobEvent> full = RunSynchronously(setup);
  ASSERT_EQ(full.back(), (JobEvent{JobEvent::Kind::kResult, 1, {}}));
  const int keyCount = static_cast<int>(KeysOf(full).size());
  for (int refused = 0; refused < keyCount; ++refused) {
    SCOPED_TRACE("refused key " + std::to_string(refused));
    JobRig failing(setup);
    FakeTransmitter& tx = failing.tx;
    failing.log.OnResult([&failing](bool) { failing.stop.Set(); });
    // A reply is chosen as its packet is written.
    if (refused == 0) tx.SetDefault(Reply::Silent);
    tx.OnPacket([&tx, refused](std::size_t index) {
      if (static_cast<int>(index) == refused - 1) tx.SetDefault(Reply::Silent);
    });
    failing.job.InputThreadProc();

    std::vector<JobEvent> expected;
    int keysSeen = 0;
    for (const JobEvent& event : full) {
      expected.push_back(event);
      if (event.kind == JobEvent::Kind::kKey && keysSeen++ == refused) break;
    }
    expected.push_back({JobEvent::Kind::kResult, 0, {}});
    ASSERT_EQ(Lines(failing.log.Events()), Lines(expected));
    EXPECT_EQ(failing.log.KeysRefused(), 1);
  }
}

TEST_F(EntryJobTest, FailedPostIsReportedAndTheWorkerStillWaits) {
  struct Case {
    bool jobSucceeds;
    const char* warning;
  };
  const Case cases[] = {
      {true, "PostMessageに失敗しました(WM_USER_PROGRESS_SUCCESS"},
      {false, "PostMessageに失敗しました(WM_USER_PROGRESS_STOP"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.warning);
    JobRig posting;
    posting.log.SetPostSucceeds(false);
    if (!c.jobSucceeds) posting.tx.SetDefault(Reply::Nak);
    std::promise<void> posted;
    posting.log.OnResult([&posted](bool) { posted.set_value(); });
    ASSERT_TRUE(posting.job.StartInputThread());
    posted.get_future().get();
    posting.job.StopInputThread();
    const std::vector<JobEvent> recorded = posting.log.Events();
    ASSERT_GE(recorded.size(), 2u);
    EXPECT_EQ(recorded[recorded.size() - 2], (JobEvent{JobEvent::Kind::kResult, c.jobSucceeds ? 1 : 0, {}}));
    EXPECT_EQ(recorded.back(), (JobEvent{JobEvent::Kind::kWarning, 0, c.warning}));
  }
}

// The worker thread against a stop request.

const AlbumSetup kSmallAlbum = MakeAlbum("1", "", "", {{0, "2", "", true}});
const JobEvent kForcedStop{JobEvent::Kind::kWarning, 0, "ＲＺＴ入力処理スレッド強制停止"};
constexpr std::chrono::milliseconds kGenerousLimit{2000};

// The keys of a job that runs to its end without a fault or a stop.
std::vector<int> KeysOfAWholeJob(const AlbumSetup& setup) {
  JobRig rig(setup);
  rig.log.OnResult([&rig](bool) { rig.stop.Set(); });
  rig.job.InputThreadProc();
  return rig.tx.Keys();
}

// A stop before key i: exactly i keys go out, nothing is posted, the worker
// ends on its own and the job is idle again with the event reset.
TEST(EntryJobStopTest, StopBeforeEachKey) {
  const std::vector<int> allKeys = KeysOfAWholeJob(kSmallAlbum);
  for (std::size_t stopAt = 0; stopAt <= allKeys.size(); ++stopAt) {
    SCOPED_TRACE("stop before key " + std::to_string(stopAt));
    JobRig rig(kSmallAlbum);
    StopEvent& stop = rig.stop;
    if (stopAt == 0) stop.Set();
    // The packet in flight still completes; the one after it is never sent.
    rig.tx.OnPacket([&stop, stopAt](std::size_t index) {
      if (index + 1 == stopAt) stop.Set();
    });
    ASSERT_TRUE(rig.job.StartInputThread());
    EXPECT_FALSE(rig.job.m_bThreadStopped);
    EXPECT_TRUE(rig.job.WaitForWorker(kGenerousLimit));
    rig.job.StopInputThread(kGenerousLimit);

    EXPECT_EQ(rig.tx.Keys(), std::vector<int>(allKeys.begin(), allKeys.begin() + static_cast<long>(stopAt)));
    const std::vector<JobEvent> recorded = rig.log.Events();
    EXPECT_FALSE(HasResult(recorded));
    EXPECT_EQ(CountEvents(recorded, kForcedStop), 0);
    EXPECT_TRUE(rig.job.m_bThreadStopped);
    EXPECT_FALSE(stop.IsSet());
  }
}

TEST(EntryJobStopTest, StopDuringAPauseSendsNoFurtherKey) {
  JobRig rig(kSmallAlbum);
  rig.clock.OnSleep([&rig](int ms) {
    if (ms == 3000) rig.stop.Set();
  });
  ASSERT_TRUE(rig.job.StartInputThread());
  EXPECT_TRUE(rig.job.WaitForWorker(kGenerousLimit));
  rig.job.StopInputThread(kGenerousLimit);

  const std::vector<JobEvent> recorded = rig.log.Events();
  const auto pause = std::find(recorded.begin(), recorded.end(), JobEvent{JobEvent::Kind::kPause, 3000, {}});
  ASSERT_NE(pause, recorded.end());
  EXPECT_TRUE(std::none_of(pause, recorded.end(), [](const JobEvent& e) { return e.kind == JobEvent::Kind::kKey; }));
  EXPECT_FALSE(HasResult(recorded));
  EXPECT_TRUE(rig.job.m_bThreadStopped);
}

TEST(EntryJobStopTest, StopAfterTheResultEndsTheWaitingWorker) {
  JobRig rig(kSmallAlbum);
  for (int run = 0; run < 2; ++run) {  // the second run shows the job idle again
    SCOPED_TRACE("run " + std::to_string(run));
    std::promise<bool> posted;
    rig.log.OnResult([&posted](bool success) { posted.set_value(success); });
    ASSERT_TRUE(rig.job.StartInputThread());
    EXPECT_TRUE(posted.get_future().get());
    EXPECT_FALSE(rig.stop.IsSet());
    EXPECT_FALSE(rig.job.WaitForWorker(std::chrono::milliseconds(0)));  // still waiting
    rig.job.StopInputThread(kGenerousLimit);

    EXPECT_EQ(rig.log.Events().back(), (JobEvent{JobEvent::Kind::kResult, 1, {}}));
    EXPECT_TRUE(rig.job.m_bThreadStopped);
    EXPECT_FALSE(rig.stop.IsSet());
  }
}

TEST(EntryJobStopTest, SecondStartWhileAWorkerExistsIsRefused) {
  JobRig rig(kSmallAlbum);
  std::promise<void> posted;
  rig.log.OnResult([&posted](bool) { posted.set_value(); });
  ASSERT_TRUE(rig.job.StartInputThread());
  EXPECT_FALSE(rig.job.StartInputThread());
  posted.get_future().get();
  rig.job.StopInputThread(kGenerousLimit);
  EXPECT_EQ(rig.tx.Keys(), KeysOfAWholeJob(kSmallAlbum));
}

TEST(EntryJobStopTest, StopWithoutAWorker) {
  JobRig rig;
  rig.job.m_bThreadStopped = false;
  rig.job.StopInputThread();
  EXPECT_TRUE(rig.job.m_bThreadStopped);
  EXPECT_FALSE(rig.stop.IsSet());
  EXPECT_TRUE(rig.log.Events().empty());
}

TEST(EntryJobStopTest, ThreadCreationFailureLeavesTheJobIdle) {
  JobRig rig(kSmallAlbum);
  rig.job.SetThreadFactory([](std::function<void()>) -> std::thread {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  EXPECT_FALSE(rig.job.StartInputThread());
  EXPECT_TRUE(rig.job.m_bThreadStopped);
  rig.job.StopInputThread();
  EXPECT_TRUE(rig.job.m_bThreadStopped);
  EXPECT_TRUE(rig.tx.Packets().empty());
  EXPECT_TRUE(rig.log.Events().empty());
}

// A channel whose first write hangs until the test lets it go, standing in for
// a worker that does not end in time.
class HangingChannel final : public ByteChannel {
 public:
  CommResult Write(const std::uint8_t*, std::size_t) override {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_entered = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_released; });
    return CommResult::kOk;
  }
  CommResult Read(std::uint8_t* buffer, std::size_t) override {
    buffer[0] = ACK;
    return CommResult::kOk;
  }
  void PurgeInput() override {}
  CommResult TakeWaiting(std::uint8_t*, std::size_t, std::size_t* taken) override {
    *taken = 0;
    return CommResult::kOk;
  }
  void WaitUntilEntered() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_entered; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_entered = false;
  bool m_released = false;
};

class ReleasingLog final : public JobEventLog {
 public:
  explicit ReleasingLog(HangingChannel& channel) : m_channel(channel) {}
  void ShowWarning(const std::string& text) override {
    JobEventLog::ShowWarning(text);
    m_channel.Release();
  }

 private:
  HangingChannel& m_channel;
};

TEST(EntryJobStopTest, WorkerPastTheLimitIsWarnedAboutAndAwaited) {
  HangingChannel channel;
  FakeClock fakeClock;
  StopEvent stopEvent;
  KeyLink keyLink(channel, fakeClock, stopEvent, 100);
  EntryEngine engine(keyLink);
  ReleasingLog events(channel);
  keyLink.SetObserver(&events);
  EntryJob job(engine, events);
  job.SetAlbum(kSmallAlbum.album, kSmallAlbum.checks);
  ASSERT_TRUE(job.StartInputThread());
  channel.WaitUntilEntered();
  job.StopInputThread(std::chrono::milliseconds(20));

  const std::vector<JobEvent> recorded = events.Events();
  EXPECT_EQ(CountEvents(recorded, kForcedStop), 1);
  // The key under way finished; nothing after it.
  EXPECT_EQ(KeysOf(recorded), (std::vector<int>{KEY_SELECT}));
  EXPECT_FALSE(HasResult(recorded));
  EXPECT_TRUE(job.m_bThreadStopped);
  EXPECT_FALSE(stopEvent.IsSet());
}

// Real time: a stop ends the system clock's waits at once. The command delay
// is a minute, so a worker that slept through the stop would outlast the stop
// wait limit, and the job would warn that it had to be stopped by force.
TEST(EntryJobStopTest, StopInRealTimeEndsTheWorkerQuickly) {
  FakeTransmitter tx;
  SystemClock systemClock;
  StopEvent stopEvent;
  KeyLink keyLink(tx, systemClock, stopEvent, 60000);
  std::promise<void> sent;
  tx.OnPacket([&sent](std::size_t packet) {
    if (packet == 0) sent.set_value();
  });
  EntryEngine engine(keyLink);
  JobEventLog events;
  EntryJob job(engine, events);
  job.SetAlbum(kSmallAlbum.album, kSmallAlbum.checks);
  ASSERT_TRUE(job.StartInputThread());
  sent.get_future().get();  // the worker now waits for the reply, then the command delay

  job.StopInputThread();
  EXPECT_EQ(CountEvents(events.Events(), kForcedStop), 0);
  EXPECT_EQ(tx.Keys(), std::vector<int>{KEY_SELECT});
  EXPECT_TRUE(job.m_bThreadStopped);
}

}  // namespace
}  // namespace vrellix
