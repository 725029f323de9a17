// The simulator served on a real pseudo-terminal, reached through its slave
// path as the program reaches a serial port.
#include "sim/pty_server.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

#include "link/clock.h"
#include "link/key_link.h"
#include "link/serial_port.h"
#include "sim/simulated_device.h"
#include "sim/sim_keys.h"
#include "support/fake_clock.h"
#include "support/typed_results.h"

namespace vrellix::sim {
namespace {

using testing::Keys;
using testing::OpenTitle;
using testing::operator+;
using Bytes = std::vector<std::uint8_t>;

Bytes PacketOf(int key) {
  const auto packet = KeyPacket(key);
  return Bytes(packet.begin(), packet.end());
}

// A client on the slave side with a raw line.
class Client {
 public:
  explicit Client(const std::string& path) {
    m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (m_fd >= 0 && tcgetattr(m_fd, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(m_fd, TCSANOW, &t);
    }
  }
  ~Client() {
    if (m_fd >= 0) close(m_fd);
  }
  bool Ok() const { return m_fd >= 0; }
  bool Send(const Bytes& bytes) { return write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()); }
  // Bytes that arrive within the time, stopping at want bytes; hungUp set when the line went away.
  Bytes Receive(std::size_t want, int withinMs, bool* hungUp = nullptr) {
    Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(withinMs);
    while (got.size() < want) {
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) break;
      pollfd pfd{m_fd, POLLIN, 0};
      if (poll(&pfd, 1, static_cast<int>(left)) <= 0) continue;
      std::uint8_t buffer[64];
      const ssize_t n = read(m_fd, buffer, sizeof buffer);
      if (n <= 0) {
        if (hungUp) *hungUp = true;
        break;
      }
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

 private:
  int m_fd = -1;
};

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
  Client client(server->SlavePath());
  ASSERT_TRUE(client.Ok());
  Bytes bad = PacketOf(KEY_SELECT);
  bad[7] ^= 0xFF;
  ASSERT_TRUE(client.Send(PacketOf(KEY_SELECT)));
  EXPECT_EQ(client.Receive(1, 2000), Bytes{ACK});
  ASSERT_TRUE(client.Send(bad));
  EXPECT_EQ(client.Receive(1, 2000), Bytes{NAK});
  // A packet in two pieces is one packet.
  const Bytes down = PacketOf(KEY_MENU_DOWN);
  ASSERT_TRUE(client.Send(Bytes(down.begin(), down.begin() + 5)));
  EXPECT_TRUE(client.Receive(1, 100).empty());
  ASSERT_TRUE(client.Send(Bytes(down.begin() + 5, down.end())));
  EXPECT_EQ(client.Receive(1, 2000), Bytes{ACK});

  server->Stop();
  EXPECT_EQ(device->PacketsReceived(), 3);
  EXPECT_EQ(device->Model().CurrentScreen(), Screen::PlaylistMenu);
  EXPECT_EQ(device->Model().MenuCursor(), 1);
}

TEST_F(PtyServerTest, KeepsServingAfterAClientCloses) {
  Start();
  {
    Client first(server->SlavePath());
    ASSERT_TRUE(first.Send(PacketOf(KEY_SELECT)));
    EXPECT_EQ(first.Receive(1, 2000), Bytes{ACK});
  }
  Client second(server->SlavePath());
  ASSERT_TRUE(second.Send(PacketOf(KEY_BACK)));
  EXPECT_EQ(second.Receive(1, 2000), Bytes{ACK});
  EXPECT_EQ(device->Model().CurrentScreen(), Screen::PlaylistList);
}

TEST_F(PtyServerTest, ClosedLineHangsUpAfterTheLastAnswer) {
  SimulatorOptions options;
  options.closeAt = 1;
  Start(options);
  Client client(server->SlavePath());
  ASSERT_TRUE(client.Send(PacketOf(KEY_SELECT)));
  EXPECT_EQ(client.Receive(1, 2000), Bytes{ACK});
  client.Send(PacketOf(KEY_SELECT));
  bool hungUp = false;
  EXPECT_TRUE(client.Receive(1, 4000, &hungUp).empty());
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
  options.faults.push_back({PacketFault::kLate, GetParam().packet, 800, {}});
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
