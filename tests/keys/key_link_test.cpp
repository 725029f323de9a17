#include "keys/key_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>

#include "keys/keys.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"
#include "support/typed_results.h"

namespace vrellix {
namespace {

using testing::FakeClock;
using testing::FakeTransmitter;
using Reply = FakeTransmitter::Reply;

class PutCommandTest : public ::testing::Test {
 protected:
  FakeTransmitter tx;
  FakeClock clock;
  StopEvent stop;
  KeyLink link{tx, clock, stop, 100};

  std::vector<int> SleepMs() const {
    std::vector<int> ms;
    for (const auto& s : clock.Sleeps()) ms.push_back(s.ms);
    return ms;
  }
};

TEST_F(PutCommandTest, AcknowledgedKeyWaitsReplyTimeThenCommandDelay) {
  EXPECT_EQ(link.PutCommand(KEY_SELECT), KeyResult::kAcknowledged);
  ASSERT_EQ(tx.Packets().size(), 1u);
  EXPECT_EQ(tx.Packets()[0], (FakeTransmitter::Packet{0x02, 0x04, 0x05, 0xB5, 0x98, 0xF5, 0xC6, 0x1D}));
  EXPECT_EQ(SleepMs(), (std::vector<int>{142, 100}));
  EXPECT_EQ(tx.ReadCalls(), 1);
}

TEST_F(PutCommandTest, TwoByteKeyAfterFourByteKeyDoesNotCarryOldBytes) {
  ASSERT_EQ(link.PutCommand(KEY_SELECT), KeyResult::kAcknowledged);
  ASSERT_EQ(link.PutCommand(KEY_MENU_DOWN), KeyResult::kAcknowledged);
  EXPECT_EQ(tx.Packets()[1], (FakeTransmitter::Packet{0x02, 0x04, 0x05, 0xB5, 0x82, 0x00, 0x00, 0x34}));
}

TEST_F(PutCommandTest, CodeWithoutARowIsSentAndAcknowledged) {
  EXPECT_EQ(link.PutCommand(12), KeyResult::kAcknowledged);
  EXPECT_EQ(tx.Packets()[0], (FakeTransmitter::Packet{0x02, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00, 0x03}));
}

TEST_F(PutCommandTest, StopSetBeforehandSendsAndWaitsNothing) {
  stop.Set();
  EXPECT_EQ(link.PutCommand(KEY_1), KeyResult::kStopped);
  EXPECT_FALSE(link.LastKeyWasTried());
  EXPECT_EQ(tx.WriteCalls(), 0);
  EXPECT_EQ(tx.ReadCalls(), 0);
  EXPECT_TRUE(clock.Sleeps().empty());
}

// Each failed try is followed at once by the next: no pause or purge in
// between, and the command delay only after an ACK.
struct RetryCase {
  const char* name;
  std::vector<Reply> replies;
  KeyResult result;
  int packets;
  int reads;
  std::vector<int> sleeps;
};

void PrintTo(const RetryCase& c, std::ostream* os) { *os << c.name; }

class PutCommandRetry : public PutCommandTest, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(PutCommandRetry, FollowsTheTwoTryHandshake) {
  const RetryCase& c = GetParam();
  for (Reply r : c.replies) tx.Script({r});
  EXPECT_EQ(link.PutCommand(KEY_5), c.result);
  EXPECT_EQ(static_cast<int>(tx.Packets().size()), c.packets);
  EXPECT_EQ(tx.ReadCalls(), c.reads);
  EXPECT_EQ(SleepMs(), c.sleeps);
  EXPECT_EQ(tx.Purges(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Handshake, PutCommandRetry,
    ::testing::Values(
        // After a second try the line stays quiet until 3 s (and 50 ms to read a byte)
        // after its write, 142 ms of which have passed: any reply still on its way has come.
        RetryCase{"NakThenAck", {Reply::Nak, Reply::Ack}, KeyResult::kAcknowledged, 2, 2, {142, 142, 2908, 100}},
        RetryCase{"SilentThenAck", {Reply::Silent, Reply::Ack}, KeyResult::kAcknowledged, 2, 2, {142, 142, 2908, 100}},
        RetryCase{"NoReplyAtAll", {Reply::Silent, Reply::Silent}, KeyResult::kFailed, 2, 2, {142, 142}},
        RetryCase{"NakTwice", {Reply::Nak, Reply::Nak}, KeyResult::kFailed, 2, 2, {142, 142}},
        RetryCase{"WriteFailsTwice", {Reply::WriteFails, Reply::WriteFails}, KeyResult::kFailed, 0, 0, {}},
        RetryCase{"WriteFailsThenAck", {Reply::WriteFails, Reply::Ack}, KeyResult::kAcknowledged, 1, 1,
                  {142, 2908, 100}},
        RetryCase{"ThirdReplyIsNeverAsked", {Reply::Nak, Reply::Nak, Reply::Ack}, KeyResult::kFailed, 2, 2, {142, 142}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PutCommandTest, ZeroCommandDelayReturnsRightAfterTheAck) {
  link.SetCommandDelay(0);
  EXPECT_EQ(link.PutCommand(KEY_2), KeyResult::kAcknowledged);
  EXPECT_EQ(clock.NowMs(), 142);
}

TEST_F(PutCommandTest, ByteWaitingBeforeAKeyFailsItWithoutSending) {
  // A reply that came for no packet: the line is out of step.
  tx.InjectByte(NAK);
  EXPECT_EQ(link.PutCommand(KEY_3), KeyResult::kFailed);
  EXPECT_TRUE(tx.Packets().empty());
  EXPECT_TRUE(clock.Sleeps().empty());
  // It was taken off the line, so the next key goes ahead.
  EXPECT_EQ(link.PutCommand(KEY_3), KeyResult::kAcknowledged);
  EXPECT_EQ(tx.Packets().size(), 1u);
}

TEST_F(PutCommandTest, StopDuringTheExchangeEndsTheWaitsButFinishesTheExchange) {
  tx.OnPacket([&](std::size_t) { stop.Set(); });
  EXPECT_EQ(link.PutCommand(KEY_4), KeyResult::kAcknowledged);
  ASSERT_EQ(clock.Sleeps().size(), 2u);
  EXPECT_TRUE(clock.Sleeps()[0].interrupted);
  EXPECT_TRUE(clock.Sleeps()[1].interrupted);
  EXPECT_EQ(clock.NowMs(), 0);
  EXPECT_EQ(link.PutCommand(KEY_4), KeyResult::kStopped);
  EXPECT_EQ(tx.Packets().size(), 1u);
}

TEST_F(PutCommandTest, ObserverSeesSentKeysAndPausesButNotLinkTiming) {
  struct Recorder : LinkObserver {
    std::vector<std::pair<int, KeyResult>> keys;
    std::vector<int> pauses;
    void OnKey(int code, KeyResult result) override { keys.emplace_back(code, result); }
    void OnPause(int ms) override { pauses.push_back(ms); }
  } recorder;
  link.SetObserver(&recorder);
  tx.Script({Reply::Ack, Reply::Silent, Reply::Silent});
  link.PutCommand(KEY_ERASE);
  link.PutCommand(KEY_FINISH);
  link.Pause(2500);
  stop.Set();
  link.PutCommand(KEY_BACK);
  EXPECT_EQ(recorder.keys, (std::vector<std::pair<int, KeyResult>>{{KEY_ERASE, KeyResult::kAcknowledged},
                                                                   {KEY_FINISH, KeyResult::kFailed}}));
  EXPECT_EQ(recorder.pauses, std::vector<int>{2500});
}

// ---- replies out of step: random replies, try by try, over runs of keys

using Answer = FakeTransmitter::Answer;
using Bytes = FakeTransmitter::Bytes;

int Acks(const Bytes& bytes) { return static_cast<int>(std::count(bytes.begin(), bytes.end(), ACK)); }

int Acks(const Answer& answer) {
  int acks = 0;
  for (const auto& arrival : answer.arrivals) acks += Acks(arrival.bytes);
  return acks;
}

// In time, NAK, silence, a failed write, late (before the second try), very
// late (with the next packet or up to two packets on), doubled, stray bytes with
// or without an ACK (which may come late).
Answer RandomAnswer(std::mt19937& random) {
  auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const std::uint8_t stray = uniform(0, 1) ? NAK : static_cast<std::uint8_t>(uniform(0x80, 0xFF));
  switch (uniform(0, 10)) {
    case 0: case 1: return {false, {{{ACK}, 0}}};
    case 2: return {false, {{{NAK}, 0}}};
    case 3: return {};
    case 4: return {true, {}};
    case 5: return {false, {{{ACK}, 1}}};
    case 6: return {false, {{{ACK}, uniform(2, 6)}}};
    case 7: return {false, {{{ACK, ACK}, 0}}};
    case 8: return {false, {{{ACK, stray}, 0}}};
    case 9: return {false, {{{stray}, 0}, {uniform(0, 2) ? Bytes{ACK} : Bytes{ACK, ACK}, uniform(0, 5)}}};
    default: return {false, {{{stray}, 0}}};
  }
}

TEST(PutCommandProperty, RepliesOutOfStepAreNeverTakenForAKeysAcknowledgement) {
  std::mt19937 random(20260412);
  int succeeded = 0, refusedOutOfStep = 0, lateAcksTaken = 0, stopsBetweenTries = 0;
  for (int run = 0; run < 4000; ++run) {
    FakeTransmitter tx;
    FakeClock clock;
    StopEvent stop;
    KeyLink link(tx, clock, stop, 100);
    // However many steps late, a reply has come kLateReplyLimitMs after its packet's write.
    std::int64_t lastWriteMs = 0;
    clock.OnSleep([&](int) {
      if (clock.NowMs() >= lastWriteMs + kLateReplyLimitMs) tx.ArriveAll();
    });
    bool eachKeyOnce = true;
    KeyResult result = KeyResult::kAcknowledged;
    // As every caller does, a run ends at its first key that was not acknowledged.
    for (int k = static_cast<int>(random() % 5); k >= 0 && result == KeyResult::kAcknowledged && !stop.IsSet(); --k) {
      if (random() % 12 == 0) tx.InjectByte(NAK);
      const Answer answers[2] = {RandomAnswer(random), RandomAnswer(random)};
      tx.ClearScript();
      tx.Script(answers[0]);
      tx.Script(answers[1]);
      const std::size_t firstPacket = tx.Packets().size(), firstEvent = tx.Events().size();
      const bool stopInFirstTry = random() % 10 == 0 && !answers[0].writeFails;
      tx.OnPacket([&](std::size_t index) {
        lastWriteMs = clock.NowMs();
        if (stopInFirstTry && index == firstPacket) stop.Set();
      });

      result = link.PutCommand(KEY_5);

      const std::vector<FakeTransmitter::LineEvent> e(tx.Events().begin() + static_cast<std::ptrdiff_t>(firstEvent),
                                                      tx.Events().end());
      SCOPED_TRACE("run " + std::to_string(run));
      ASSERT_TRUE(!e.empty() && e[0].kind == 't');
      int writes = 0, acksSent = 0, acksTaken = 0, reached = 0;
      bool ackWaited = false;
      for (std::size_t i = 1; i < e.size(); ++i) {
        if (e[i].kind == 'w') {
          EXPECT_EQ(e[i - 1].kind, 't') << "written without taking what waited";
          EXPECT_FALSE(ackWaited) << "written again after a waiting ACK";
          const int acks = e[i].bytes.empty() ? 0 : Acks(answers[writes]);
          acksSent += acks;
          reached += acks > 0;
          ++writes;
        } else {
          acksTaken += Acks(e[i].bytes);
          ackWaited = ackWaited || (e[i].kind == 't' && Acks(e[i].bytes) > 0);
        }
      }
      EXPECT_EQ(link.LastKeyWasTried(), writes > 0);
      if (!e[0].bytes.empty()) {
        // Something waited before the first try: nothing is sent.
        EXPECT_EQ(writes, 0);
        EXPECT_EQ(result, KeyResult::kFailed);
        EXPECT_TRUE(link.LastKeyOutOfStep());
        ++refusedOutOfStep;
      } else if (stopInFirstTry && !(e.size() > 2 && e[2].bytes == Bytes{ACK})) {
        EXPECT_EQ(result, KeyResult::kStopped);
        EXPECT_EQ(writes, 1);
        ++stopsBetweenTries;
      }
      if (result == KeyResult::kAcknowledged) {
        // One ACK taken, and it answered this key's own packets.
        EXPECT_EQ(acksTaken, 1);
        EXPECT_GE(acksSent, 1);
        EXPECT_FALSE(link.LastKeyOutOfStep());
        lateAcksTaken += ackWaited;
      }
      eachKeyOnce = eachKeyOnce && reached == 1 && acksSent == 1;
    }
    if (result != KeyResult::kAcknowledged || stop.IsSet() || !link.LineSettled()) continue;
    ++succeeded;
    EXPECT_TRUE(eachKeyOnce) << "run " << run << " succeeded with a key sent or answered twice";
  }
  std::printf("[ counts   ] %d runs succeeded, %d keys refused out of step, %d late ACKs taken, %d stops between tries\n",
              succeeded, refusedOutOfStep, lateAcksTaken, stopsBetweenTries);
  // Every path was met many times.
  for (int count : {succeeded, refusedOutOfStep, lateAcksTaken, stopsBetweenTries}) EXPECT_GT(count, 100);
}

TEST(StopEventTest, ManualResetStaysSetForEveryWaiterUntilReset) {
  StopEvent event;
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.WaitFor(std::chrono::milliseconds(0)));
  event.Set();
  EXPECT_TRUE(event.WaitFor(std::chrono::milliseconds(0)));
  EXPECT_TRUE(event.IsSet());
  event.Reset();
  EXPECT_FALSE(event.IsSet());
}

TEST(StopEventTest, SetFromAnotherThreadWakesAWaiter) {
  StopEvent event;
  std::thread setter([&] { event.Set(); });
  EXPECT_TRUE(event.WaitFor(std::chrono::seconds(10)));
  setter.join();
}

}  // namespace
}  // namespace vrellix
