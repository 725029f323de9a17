#include "sim/simulated_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "keys/key_link.h"
#include "sim/sim_keys.h"
#include "support/bytes.h"
#include "support/cp932.h"
#include "support/fake_clock.h"
#include "support/typed_results.h"
#include "timing/virtual_clock.h"

namespace vrellix::sim {
namespace {

using testing::FakeClock;
using testing::Keys;
using testing::OpenTitle;
using testing::Times;
using testing::operator+;
using testing::PacketOf;
using Packet = testing::Bytes;

// Writes the packet and returns the reply bytes that came back.
Packet Exchange(SimulatedDevice& device, const Packet& packet) {
  EXPECT_EQ(device.Write(packet.data(), packet.size()), CommResult::kOk);
  Packet replies;
  std::uint8_t byte;
  while (device.Read(&byte, 1) == CommResult::kOk) replies.push_back(byte);
  return replies;
}

struct PacketCase {
  const char* name;
  Packet packet;
  std::uint8_t reply;
  int keysPressed;
};
void PrintTo(const PacketCase& c, std::ostream* os) { *os << c.name; }

class PacketCheck : public ::testing::TestWithParam<PacketCase> {};

TEST_P(PacketCheck, AnswersAndPresses) {
  const PacketCase& c = GetParam();
  SimulatedDevice device;
  EXPECT_EQ(Exchange(device, c.packet), Packet{c.reply});
  EXPECT_EQ(device.Model().KeysReceived(), c.keysPressed);
  EXPECT_EQ(device.PacketsReceived(), 1);
}

Packet WithByte(Packet p, int index, std::uint8_t value) {
  p[static_cast<std::size_t>(index)] = value;
  return p;
}

INSTANTIATE_TEST_SUITE_P(
    Sim, PacketCheck,
    ::testing::Values(
        PacketCase{"GoodFourByteKey", PacketOf(KEY_SELECT), ACK, 1},
        PacketCase{"GoodTwoByteKey", PacketOf(KEY_MENU_DOWN), ACK, 1},
        PacketCase{"NoKeyIsAcknowledgedAndIgnored", {0x02, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00, 0x03}, ACK, 0},
        PacketCase{"UnknownCodeBytes", {0x02, 0x04, 0x05, 0x12, 0x34, 0x56, 0x78, 0x03 ^ 0x12 ^ 0x34 ^ 0x56 ^ 0x78},
                   ACK, 0},
        // Each header byte changed together with the check byte, so only the header is wrong.
        PacketCase{"BadFirstHeaderByte", WithByte(WithByte(PacketOf(KEY_1), 0, 0x03), 7, 0xCD ^ 0x01), NAK, 0},
        PacketCase{"BadSecondHeaderByte", WithByte(WithByte(PacketOf(KEY_1), 1, 0x05), 7, 0xCD ^ 0x01), NAK, 0},
        PacketCase{"BadThirdHeaderByte", WithByte(WithByte(PacketOf(KEY_1), 2, 0x04), 7, 0xCD ^ 0x01), NAK, 0},
        PacketCase{"BadCheckByte", WithByte(PacketOf(KEY_1), 7, 0xCC), NAK, 0},
        PacketCase{"BadCodeByte", WithByte(PacketOf(KEY_1), 6, 0x66), NAK, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimulatedDevice, AssemblesPacketsAcrossWrites) {
  SimulatedDevice device;
  Packet bytes = PacketOf(KEY_SELECT);
  const Packet second = PacketOf(KEY_MENU_DOWN);
  bytes.insert(bytes.end(), second.begin(), second.end());
  std::uint8_t reply;
  ASSERT_EQ(device.Write(bytes.data(), 3), CommResult::kOk);
  EXPECT_EQ(device.Read(&reply, 1), CommResult::kFailed);
  ASSERT_EQ(device.Write(bytes.data() + 3, 8), CommResult::kOk);  // the rest of one, the start of the next
  EXPECT_EQ(device.Read(&reply, 1), CommResult::kOk);
  EXPECT_EQ(device.Read(&reply, 1), CommResult::kFailed);
  ASSERT_EQ(device.Write(bytes.data() + 11, 5), CommResult::kOk);
  EXPECT_EQ(device.Read(&reply, 1), CommResult::kOk);
  EXPECT_EQ(device.PacketsReceived(), 2);
  EXPECT_EQ(device.Model().CurrentScreen(), Screen::PlaylistMenu);
  EXPECT_EQ(device.Model().MenuCursor(), 1);
}

TEST(SimulatedDevice, PurgeDiscardsUnreadReplies) {
  SimulatedDevice device;
  const Packet p = PacketOf(KEY_BACK);
  device.Write(p.data(), p.size());
  device.Write(p.data(), p.size());
  device.PurgeInput();
  std::uint8_t reply;
  EXPECT_EQ(device.Read(&reply, 1), CommResult::kFailed);
  EXPECT_EQ(Exchange(device, p), Packet{ACK});
}

struct FaultCase {
  const char* name;
  SimulatorOptions options;
  std::vector<Packet> replies;  // to KEY_SELECT, KEY_MENU_DOWN, KEY_MENU_DOWN
  int cursor;                   // playlist menu cursor afterwards
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class Fault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Fault, ShapesTheAnswersAndKeepsUnansweredKeysFromTheDevice) {
  const FaultCase& c = GetParam();
  SimulatedDevice device(c.options);
  std::vector<Packet> replies;
  for (int key : {KEY_SELECT, KEY_MENU_DOWN, KEY_MENU_DOWN}) replies.push_back(Exchange(device, PacketOf(key)));
  EXPECT_EQ(replies, c.replies);
  EXPECT_EQ(device.Model().MenuCursor(), c.cursor);
}

SimulatorOptions Options(int silentAt, int nakAt) {
  SimulatorOptions o;
  o.silentAt = silentAt;
  o.nakAt = nakAt;
  return o;
}

SimulatorOptions At2(PacketFault::Kind kind, int lateMs = 0, Packet junk = {}) {
  SimulatorOptions o;
  o.faults.push_back({kind, 2, lateMs, std::move(junk)});
  return o;
}

// A late or doubled answer means the key went through; junk only with an ACK in it.
INSTANTIATE_TEST_SUITE_P(Sim, Fault,
                         ::testing::Values(FaultCase{"None", Options(0, 0), {{ACK}, {ACK}, {ACK}}, 2},
                                           FaultCase{"SilentAt2", Options(2, 0), {{ACK}, {}, {ACK}}, 1},
                                           FaultCase{"NakAt3", Options(0, 3), {{ACK}, {ACK}, {NAK}}, 1},
                                           FaultCase{"SilentAndNak", Options(3, 2), {{ACK}, {NAK}, {}}, 0},
                                           FaultCase{"LateWithinTheReadTime", At2(PacketFault::Kind::kLate, 540),
                                                     {{ACK}, {ACK}, {ACK}}, 2},
                                           FaultCase{"LatePastTheReadTime", At2(PacketFault::Kind::kLate, 800),
                                                     {{ACK}, {}, {ACK, ACK}}, 2},
                                           FaultCase{"Doubled", At2(PacketFault::Kind::kDoubled), {{ACK}, {ACK, ACK}, {ACK}}, 2},
                                           FaultCase{"JunkWithAck", At2(PacketFault::Kind::kJunk, 0, {0x00, ACK}),
                                                     {{ACK}, {0x00, ACK}, {ACK}}, 2},
                                           FaultCase{"JunkWithoutAck", At2(PacketFault::Kind::kJunk, 0, {0xFF}),
                                                     {{ACK}, {0xFF}, {ACK}}, 1},
                                           FaultCase{"LostFault", At2(PacketFault::Kind::kLost), {{ACK}, {}, {ACK}}, 1},
                                           FaultCase{"RefusedFault", At2(PacketFault::Kind::kRefused), {{ACK}, {NAK}, {ACK}}, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Replies carry the time they arrive; a read that waits moves the clock on.
TEST(SimulatedDevice, RepliesArriveOnTheJobsClock) {
  VirtualClock clock;
  SimulatedDevice device(At2(PacketFault::Kind::kLate, 800), &clock);
  const Packet p = PacketOf(KEY_BACK);
  std::uint8_t bytes[2];
  std::size_t taken = 0;
  EXPECT_EQ(Exchange(device, p), Packet{ACK});  // waits out the read time-out after the answer
  EXPECT_EQ(clock.NowMs(), 550);
  device.Write(p.data(), p.size());  // answered 800 ms late
  EXPECT_EQ(device.Read(bytes, 2), CommResult::kFailed);
  EXPECT_EQ(clock.NowMs(), 550 + 600);  // 50 ms per byte + 500 ms
  device.TakeWaiting(bytes, 2, &taken);
  EXPECT_EQ(taken, 0u);
  clock.Sleep(200, nullptr);
  device.TakeWaiting(bytes, 2, &taken);
  EXPECT_EQ(Packet(bytes, bytes + taken), Packet{ACK});
}

TEST(SimulatedDevice, ClosedLineAnswersTheLastPacketThenFails) {
  SimulatorOptions options;
  options.closeAt = 2;
  SimulatedDevice device(options);
  const Packet p = PacketOf(KEY_SELECT);
  ASSERT_EQ(device.Write(p.data(), p.size()), CommResult::kOk);
  ASSERT_EQ(device.Write(p.data(), p.size()), CommResult::kOk);
  EXPECT_TRUE(device.LineClosed());
  std::uint8_t reply[2];
  EXPECT_EQ(device.Read(reply, 2), CommResult::kOk);
  EXPECT_EQ(device.Write(p.data(), p.size()), CommResult::kFailed);
  EXPECT_EQ(device.Read(reply, 1), CommResult::kFailed);
  EXPECT_EQ(device.PacketsReceived(), 2);
  EXPECT_EQ(device.Model().KeysReceived(), 2);
}

std::string NakPattern(double rate, std::uint32_t seed, int packets) {
  SimulatorOptions options;
  options.nakRate = rate;
  options.seed = seed;
  SimulatedDevice device(options);
  std::string pattern;
  for (int i = 0; i < packets; ++i) pattern += Exchange(device, PacketOf(KEY_BACK)) == Packet{NAK} ? 'N' : 'A';
  return pattern;
}

TEST(SimulatedDevice, RandomNaksFollowTheSeed) {
  const std::string first = NakPattern(0.3, 7, 400);
  EXPECT_EQ(first, NakPattern(0.3, 7, 400));
  EXPECT_NE(first, NakPattern(0.3, 8, 400));
  const auto naks = std::count(first.begin(), first.end(), 'N');
  EXPECT_GT(naks, 80);
  EXPECT_LT(naks, 160);
  EXPECT_EQ(NakPattern(0.0, 7, 50), std::string(50, 'A'));
  EXPECT_EQ(NakPattern(1.0, 7, 50), std::string(50, 'N'));
}

// KeyLink's two tries meet the faults as the real line would.
TEST(SimulatedDevice, PutCommandRetriesPastOneFault) {
  for (const SimulatorOptions& options : {Options(1, 0), Options(0, 1)}) {
    SimulatedDevice device(options);
    FakeClock clock;
    StopEvent stop;
    KeyLink link(device, clock, stop, 0);
    EXPECT_EQ(link.PutCommand(KEY_SELECT), KeyResult::kAcknowledged);
    EXPECT_EQ(device.PacketsReceived(), 2);
    EXPECT_EQ(device.Model().KeysReceived(), 1);
    EXPECT_EQ(device.Model().CurrentScreen(), Screen::PlaylistMenu);
  }
}

TEST(SimulatedDevice, DumpIsUtf8AndHoldsTheOldText) {
  SimulatorOptions options;
  options.oldText = testing::Cp932("古い");
  SimulatedDevice device(options);
  FakeClock clock;
  StopEvent stop;
  KeyLink link(device, clock, stop, 0);
  for (int key : OpenTitle() + Keys{KEY_ERASE, KEY_3, KEY_NEXT, KEY_FINISH, KEY_NEXT}) {
    ASSERT_EQ(link.PutCommand(key), KeyResult::kAcknowledged);
  }
  EXPECT_EQ(device.Dump(),
            "title 古さ\n"
            "yomi 古い\n"
            "artist 古い\n"
            "error 10 album menu, item 0: KEY_NEXT has no use here\n");
}

// A worker keys while another thread reads the device, as a window would.
TEST(SimulatedDevice, CanBeReadWhileAnotherThreadKeys) {
  SimulatedDevice device;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    FakeClock clock;
    StopEvent stop;
    KeyLink link(device, clock, stop, 0);
    for (int key : OpenTitle() + Times(3, KEY_ERASE)) link.PutCommand(key);
    for (int i = 0; i < 300; ++i) {
      link.PutCommand(KEY_1);
      link.PutCommand(KEY_NEXT);
    }
    done = true;
  });
  while (!done) {
    const std::string dump = device.Dump();
    ASSERT_EQ(dump.rfind("title ", 0), 0u);
  }
  worker.join();
  EXPECT_EQ(device.Model().Text(FieldId::Title).size(), 600u);
  EXPECT_TRUE(device.Errors().empty());
}

}  // namespace
}  // namespace vrellix::sim
