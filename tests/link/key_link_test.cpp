#include "link/key_link.h"

#include <gtest/gtest.h>

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

// Each failed try is followed at once by the next: no pause, purge or stop test
// in between, and the command delay only after an ACK.
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
        RetryCase{"SilentThenAck", {Reply::Silent, Reply::Ack}, 1, 2, 2, {142, 142, 100}},
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

TEST_F(PutCommandTest, LateByteFromAnEarlierExchangeIsReadAsTheNextReply) {
  // Nothing clears the receive buffer between keys: a stale NAK is taken as the
  // reply to the first try, and the second try's ACK then decides.
  tx.InjectByte(NAK);
  tx.Script({Reply::Silent, Reply::Ack});
  EXPECT_EQ(link.PutCommand(KEY_3), 1);
  EXPECT_EQ(tx.Packets().size(), 2u);
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
