// The simulator served on a real pseudo-terminal, reached through its slave
// path as the program reaches a serial port.
#include "sim/pty_server.h"

#include <gtest/gtest.h>

#include <chrono>

#include "keys/key_link.h"
#include "serial/serial_port.h"
#include "sim/sim_keys.h"
#include "sim/simulated_device.h"
#include "support/fake_clock.h"
#include "support/pty_pair.h"
#include "support/typed_results.h"
#include "timing/clock.h"

namespace vrellix::sim {
namespace {

using namespace std::chrono_literals;
using testing::Keys;
using testing::OpenTitle;
using testing::PtyClient;
using testing::operator+;
using testing::Bytes;
using testing::PacketOf;

class PtyServerTest : public ::testing::Test {
 protected:
  void Start(const SimulatorOptions& options = {}) {
    device = std::make_unique<SimulatedDevice>(options);
    server = std::make_unique<PtyServer>(*device);
    std::string error;
    ASSERT_TRUE(server->Open(&error)) << error;
    server->Start();
  }

  std::unique_ptr<SimulatedDevice> device;
  std::unique_ptr<PtyServer> server;  // after the device: stopped before it goes
};

TEST_F(PtyServerTest, AnswersPacketsAsTheyArrive) {
  Start();
  PtyClient client(server->SlavePath());
  ASSERT_TRUE(client.Ok());
  Bytes bad = PacketOf(KEY_SELECT);
  bad[7] ^= 0xFF;
  ASSERT_TRUE(client.Send(PacketOf(KEY_SELECT)));
  EXPECT_EQ(client.Receive(1, 2000ms), Bytes{ACK});
  ASSERT_TRUE(client.Send(bad));
  EXPECT_EQ(client.Receive(1, 2000ms), Bytes{NAK});
  // A packet in two pieces is one packet.
  const Bytes down = PacketOf(KEY_MENU_DOWN);
  ASSERT_TRUE(client.Send(Bytes(down.begin(), down.begin() + 5)));
  EXPECT_TRUE(client.Receive(1, 100ms).empty());
  ASSERT_TRUE(client.Send(Bytes(down.begin() + 5, down.end())));
  EXPECT_EQ(client.Receive(1, 2000ms), Bytes{ACK});

  server->Stop();
  EXPECT_EQ(device->PacketsReceived(), 3);
  EXPECT_EQ(device->Model().CurrentScreen(), Screen::PlaylistMenu);
  EXPECT_EQ(device->Model().MenuCursor(), 1);
}

TEST_F(PtyServerTest, KeepsServingAfterAClientCloses) {
  Start();
  {
    PtyClient first(server->SlavePath());
    ASSERT_TRUE(first.Send(PacketOf(KEY_SELECT)));
    EXPECT_EQ(first.Receive(1, 2000ms), Bytes{ACK});
  }
  PtyClient second(server->SlavePath());
  ASSERT_TRUE(second.Send(PacketOf(KEY_BACK)));
  EXPECT_EQ(second.Receive(1, 2000ms), Bytes{ACK});
  EXPECT_EQ(device->Model().CurrentScreen(), Screen::PlaylistList);
}

TEST_F(PtyServerTest, ClosedLineHangsUpAfterTheLastAnswer) {
  SimulatorOptions options;
  options.closeAt = 1;
  Start(options);
  PtyClient client(server->SlavePath());
  ASSERT_TRUE(client.Send(PacketOf(KEY_SELECT)));
  EXPECT_EQ(client.Receive(1, 2000ms), Bytes{ACK});
  client.Send(PacketOf(KEY_SELECT));
  bool hungUp = false;
  EXPECT_TRUE(client.Receive(1, 4000ms, &hungUp).empty());
  EXPECT_TRUE(hungUp);
  EXPECT_EQ(device->Model().KeysReceived(), 1);
}

// The program's own serial port and key send against the simulator.
TEST_F(PtyServerTest, SerialPortAndPutCommandDriveTheDevice) {
  SimulatorOptions options;
  options.nakAt = 2;
  Start(options);
  std::unique_ptr<SerialChannel> channel = OpenTransmitterPort(server->SlavePath());
  ASSERT_TRUE(channel);
  testing::FakeClock clock;
  StopEvent stop;
  KeyLink link(*channel, clock, stop, 0);
  for (int key : OpenTitle() + Keys{KEY_ERASE, KEY_ERASE, KEY_7, KEY_7, KEY_NEXT, KEY_FINISH}) {
    EXPECT_EQ(link.PutCommand(key), KeyResult::kAcknowledged) << KeyName(key);
  }
  channel.reset();  // closes the port
  EXPECT_EQ(device->PacketsReceived(), 12);  // the NAKed packet was sent twice
  EXPECT_EQ(device->Dump(), "title Oみ\nyomi OLD\nartist OLD\n");
}

// Real time over a real pseudo-terminal: an answer later than the read time
// must end in a failure or in a device that holds exactly the keys sent (the
// late ACK may still be taken before the second try); never in success with a
// key pressed twice.
struct LateCase {
  const char* name;
  int packet;
};
void PrintTo(const LateCase& c, std::ostream* os) { *os << c.name; }

class PtyLateAnswer : public PtyServerTest, public ::testing::WithParamInterface<LateCase> {};

TEST_P(PtyLateAnswer, EndsInFailureOrTheExactDevice) {
  SimulatorOptions options;
  options.faults.push_back({PacketFault::Kind::kLate, GetParam().packet, 800, {}});
  Start(options);
  std::unique_ptr<SerialChannel> channel = OpenTransmitterPort(server->SlavePath());
  ASSERT_TRUE(channel);
  SystemClock clock;
  StopEvent stop;
  KeyLink link(*channel, clock, stop, 0);
  const Keys keys{KEY_SELECT, KEY_MENU_DOWN};
  bool succeeded = true;
  for (std::size_t i = 0; i < keys.size() && succeeded; ++i) {
    succeeded = link.PutCommand(keys[i]) == KeyResult::kAcknowledged;
  }
  succeeded = succeeded && link.LineSettled();
  channel.reset();  // closes the port

  DeviceModel expected;
  for (int key : keys) expected.Press(key);
  const DeviceModel held = device->Model();
  const bool exact = held.KeysReceived() == expected.KeysReceived() &&
                     held.CurrentScreen() == expected.CurrentScreen() && held.MenuCursor() == expected.MenuCursor();
  EXPECT_TRUE(!succeeded || exact) << "success with " << held.KeysReceived() << " keys on the device, at "
                                   << held.Describe();
}

INSTANTIATE_TEST_SUITE_P(Sim, PtyLateAnswer,
                         ::testing::Values(LateCase{"FirstKey", 1}, LateCase{"LastKey", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vrellix::sim
