#include "link/key_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>

#include "link/keys.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"

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
  EXPECT_EQ(link.PutCommand(KEY_SELECT), 1);
  ASSERT_EQ(tx.Packets().size(), 1u);
  EXPECT_EQ(tx.Packets()[0], (FakeTransmitter::Packet{0x02, 0x04, 0x05, 0xB5, 0x98, 0xF5, 0xC6, 0x1D}));
  EXPECT_EQ(SleepMs(), (std::vector<int>{142, 100}));
  EXPECT_EQ(tx.ReadCalls(), 1);
}

TEST_F(PutCommandTest, TwoByteKeyAfterFourByteKeyDoesNotCarryOldBytes) {
  ASSERT_EQ(link.PutCommand(KEY_SELECT), 1);
  ASSERT_EQ(link.PutCommand(KEY_MENU_DOWN), 1);
  EXPECT_EQ(tx.Packets()[1], (FakeTransmitter::Packet{0x02, 0x04, 0x05, 0xB5, 0x82, 0x00, 0x00, 0x34}));
}

TEST_F(PutCommandTest, CodeWithoutARowIsSentAndAcknowledged) {
  EXPECT_EQ(link.PutCommand(12), 1);
  EXPECT_EQ(tx.Packets()[0], (FakeTransmitter::Packet{0x02, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00, 0x03}));
}

TEST_F(PutCommandTest, StopSetBeforehandSendsAndWaitsNothing) {
  stop.Set();
  EXPECT_EQ(link.PutCommand(KEY_1), -1);
  EXPECT_EQ(tx.WriteCalls(), 0);
  EXPECT_EQ(tx.ReadCalls(), 0);
  EXPECT_TRUE(clock.Sleeps().empty());
}

// Each failed try is followed at once by the next: no pause or purge in
// between, and the command delay only after an ACK.
struct RetryCase {
  const char* name;
  std::vector<Reply> replies;
  int result;
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
        RetryCase{"NakThenAck", {Reply::Nak, Reply::Ack}, 1, 2, 2, {142, 142, 100}},
        // The unanswered first packet's reply gets time to show up.
        RetryCase{"SilentThenAck", {Reply::Silent, Reply::Ack}, 1, 2, 2, {142, 142, kLineSettleMs, 100}},
        RetryCase{"NoReplyAtAll", {Reply::Silent, Reply::Silent}, 0, 2, 2, {142, 142}},
        RetryCase{"NakTwice", {Reply::Nak, Reply::Nak}, 0, 2, 2, {142, 142}},
        RetryCase{"WriteFailsTwice", {Reply::WriteFails, Reply::WriteFails}, 0, 0, 0, {}},
        RetryCase{"WriteFailsThenAck", {Reply::WriteFails, Reply::Ack}, 1, 1, 1, {142, 100}},
        RetryCase{"ThirdReplyIsNeverAsked", {Reply::Nak, Reply::Nak, Reply::Ack}, 0, 2, 2, {142, 142}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PutCommandTest, ZeroCommandDelayReturnsRightAfterTheAck) {
  link.SetCommandDelay(0);
  EXPECT_EQ(link.PutCommand(KEY_2), 1);
  EXPECT_EQ(clock.NowMs(), 142);
}

TEST_F(PutCommandTest, ByteWaitingBeforeAKeyFailsItWithoutSending) {
  // A reply that came for no packet: the line is out of step.
  tx.InjectByte(NAK);
  EXPECT_EQ(link.PutCommand(KEY_3), 0);
  EXPECT_TRUE(tx.Packets().empty());
  EXPECT_TRUE(clock.Sleeps().empty());
  // It was taken off the line, so the next key goes ahead.
  EXPECT_EQ(link.PutCommand(KEY_3), 1);
  EXPECT_EQ(tx.Packets().size(), 1u);
}

TEST_F(PutCommandTest, StopDuringTheExchangeEndsTheWaitsButFinishesTheExchange) {
  tx.OnPacket([&](std::size_t) { stop.Set(); });
  EXPECT_EQ(link.PutCommand(KEY_4), 1);
  ASSERT_EQ(clock.Sleeps().size(), 2u);
  EXPECT_TRUE(clock.Sleeps()[0].interrupted);
  EXPECT_TRUE(clock.Sleeps()[1].interrupted);
  EXPECT_EQ(clock.NowMs(), 0);
  EXPECT_EQ(link.PutCommand(KEY_4), -1);
  EXPECT_EQ(tx.Packets().size(), 1u);
}

TEST_F(PutCommandTest, ObserverSeesSentKeysAndPausesButNotLinkTiming) {
  struct Recorder : LinkObserver {
    std::vector<std::pair<int, int>> keys;
    std::vector<int> pauses;
    void OnKey(int code, int result) override { keys.emplace_back(code, result); }
    void OnPause(int ms) override { pauses.push_back(ms); }
  } recorder;
  link.SetObserver(&recorder);
  tx.Script({Reply::Ack, Reply::Silent, Reply::Silent});
  link.PutCommand(KEY_ERASE);
  link.PutCommand(KEY_FINISH);
  link.Pause(2500);
  stop.Set();
  link.PutCommand(KEY_BACK);
  EXPECT_EQ(recorder.keys, (std::vector<std::pair<int, int>>{{KEY_ERASE, 1}, {KEY_FINISH, 0}}));
  EXPECT_EQ(recorder.pauses, std::vector<int>{2500});
}

// ---- replies out of step: random replies, try by try, over runs of keys

using Bytes = FakeTransmitter::Bytes;
using Event = FakeTransmitter::LineEvent;

int Acks(const Bytes& bytes) { return static_cast<int>(std::count(bytes.begin(), bytes.end(), ACK)); }

int Acks(const FakeTransmitter::Answer& answer) {
  int acks = 0;
  for (const auto& arrival : answer.arrivals) acks += Acks(arrival.bytes);
  return acks;
}

class ReplyScripts {
 public:
  explicit ReplyScripts(std::uint32_t seed) : m_random(seed) {}

  // In time, NAK, silence, failed write, late (before the second try), very
  // late (with or after the next packet), doubled, stray bytes before or after
  // the ACK, junk.
  FakeTransmitter::Answer Answer() {
    const Bytes ack{ACK};
    switch (Uniform(0, 10)) {
      case 0: case 1: return {false, {{ack, 0}}};
      case 2: return {false, {{{NAK}, 0}}};
      case 3: return {};
      case 4: return {true, {}};
      case 5: return {false, {{ack, 1}}};
      case 6: return {false, {{ack, Uniform(2, 4)}}};
      case 7: return {false, {{{ACK, ACK}, 0}}};
      case 8: return {false, {{{ACK, Stray()}, 0}}};
      case 9: return {false, {{{Stray()}, 0}, {Chance(0.3) ? Bytes{ACK, ACK} : ack, Uniform(0, 1)}}};
      default: return {false, {{{Stray()}, 0}}};
    }
  }
  std::uint8_t Stray() { return static_cast<std::uint8_t>(Chance(0.5) ? NAK : Uniform(0, 255) | 0x80); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

 private:
  std::mt19937 m_random;
};

TEST(PutCommandProperty, RepliesOutOfStepAreNeverTakenForAKeysAcknowledgement) {
  ReplyScripts scripts(20260412);
  int runsSucceeded = 0, outOfStepRefusals = 0, lateAcksAccepted = 0, stopsBetweenTries = 0;
  for (int runIndex = 0; runIndex < 4000; ++runIndex) {
    FakeTransmitter tx;
    FakeClock clock;
    StopEvent stop;
    KeyLink link(tx, clock, stop, 100);
    // The settle time is the bound: a reply still on its way has arrived by its end.
    clock.OnSleep([&](int ms) {
      if (ms >= kLineSettleMs) tx.ArriveAll();
    });
    bool everyKeyOnce = true, allAcknowledged = true;
    const int keys = scripts.Uniform(1, 5);
    for (int k = 0; k < keys && allAcknowledged && !stop.IsSet(); ++k) {
      if (scripts.Chance(0.08)) tx.InjectByte(scripts.Stray());
      const std::size_t firstEvent = tx.Events().size();
      const std::size_t firstPacket = tx.Packets().size();
      const FakeTransmitter::Answer answers[2] = {scripts.Answer(), scripts.Answer()};
      tx.ClearScript();
      tx.Script(answers[0]);
      tx.Script(answers[1]);
      const bool stopInFirstTry = scripts.Chance(0.1);
      tx.OnPacket([&](std::size_t index) {
        if (stopInFirstTry && index == firstPacket && !answers[0].writeFails) stop.Set();
      });

      const int result = link.PutCommand(KEY_5);

      const std::vector<Event> events(tx.Events().begin() + static_cast<std::ptrdiff_t>(firstEvent), tx.Events().end());
      std::string trace = "run " + std::to_string(runIndex) + ", key " + std::to_string(k) + ":";
      for (const Event& e : events) {
        trace += e.kind == Event::kWrite ? " write" : e.kind == Event::kRead ? " read" : " take";
        for (std::uint8_t b : e.bytes) trace += " " + std::to_string(b);
        trace += ";";
      }
      SCOPED_TRACE(trace);
      ASSERT_FALSE(events.empty());
      ASSERT_EQ(events[0].kind, Event::kTake);
      int writes = 0, acksInReplies = 0, acksConsumed = 0;
      bool ackTaken = false, lateAckTaken = false;
      for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        if (e.kind == Event::kWrite) {
          EXPECT_EQ(events[i - 1].kind, Event::kTake) << "a write without taking what was waiting";
          EXPECT_FALSE(ackTaken) << "sent again after a waiting ACK";
          if (!e.bytes.empty()) acksInReplies += Acks(answers[writes]);
          ++writes;
        } else if (writes > 0) {
          acksConsumed += Acks(e.bytes);
          ackTaken = ackTaken || (e.kind == Event::kTake && Acks(e.bytes) > 0);
          lateAckTaken = lateAckTaken || (e.kind == Event::kTake && Acks(e.bytes) == 1);
        }
      }
      if (!events[0].bytes.empty()) {
        // Something waited before the first try: nothing is sent.
        EXPECT_EQ(result, 0);
        EXPECT_EQ(writes, 0);
        EXPECT_TRUE(link.LastKeyOutOfStep());
        ++outOfStepRefusals;
      }
      EXPECT_LE(writes, 2);
      const bool firstPacketWritten = events.size() > 1 && !events[1].bytes.empty();
      const bool firstTryAcknowledged = events.size() > 2 && events[2].bytes == Bytes{ACK};
      if (stopInFirstTry && firstPacketWritten && !firstTryAcknowledged) {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(writes, 1);
        ++stopsBetweenTries;
      }
      if (result == 1) {
        // Exactly one ACK taken for this key, and it was a reply to its packets.
        EXPECT_EQ(acksConsumed, 1);
        EXPECT_GE(acksInReplies, 1);
        EXPECT_FALSE(link.LastKeyOutOfStep());
        lateAckTaken ? ++lateAcksAccepted : 0;
      }
      // As every caller does, a run ends at its first key that was not acknowledged.
      allAcknowledged = allAcknowledged && result == 1;
      // A key whose packets drew any ACK reached the device, once per such packet.
      int reached = 0;
      for (int w = 0; w < writes; ++w) reached += !answers[w].writeFails && Acks(answers[w]) > 0;
      everyKeyOnce = everyKeyOnce && reached == 1 && acksInReplies == 1;
    }
    if (!allAcknowledged || stop.IsSet() || !link.LineSettled()) continue;
    ++runsSucceeded;
    EXPECT_TRUE(everyKeyOnce) << "run " << runIndex << " succeeded with a key sent twice or answered twice";
  }
  std::printf("[ counts   ] %d runs succeeded, %d keys refused out of step, %d late ACKs accepted, %d stops "
              "between tries\n", runsSucceeded, outOfStepRefusals, lateAcksAccepted, stopsBetweenTries);
  // Every path was met many times.
  EXPECT_GT(runsSucceeded, 200);
  EXPECT_GT(outOfStepRefusals, 100);
  EXPECT_GT(lateAcksAccepted, 100);
  EXPECT_GT(stopsBetweenTries, 100);
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
