// The POSIX serial backend against a real pseudo-terminal pair.
#include "link/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include <chrono>
#include <thread>

#include "support/pty_pair.h"
#include "support/scratch_dir.h"

namespace vrellix {
namespace {

using std::chrono::milliseconds;
using testing::Bytes;
using testing::PtyPair;
using SteadyClock = std::chrono::steady_clock;

const Bytes kSelectPacket = {0x02, 0x04, 0x05, 0xB5, 0x98, 0xF5, 0xC6, 0x1D};

long long ElapsedMs(SteadyClock::time_point since) {
  return std::chrono::duration_cast<milliseconds>(SteadyClock::now() - since).count();
}

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OpenComm(&port, pty.SlavePath(), 4800, 8, kNoParity, kOneStopBit), 1); }
  void TearDown() override { CloseComm(port); }

  PtyPair pty;
  CommHandle port = nullptr;
};

TEST_F(SerialPortTest, FarSideReceivesExactlyThePacket) {
  ASSERT_EQ(WriteComm(port, kSelectPacket.data(), kSelectPacket.size()), COMM_OK);
  EXPECT_EQ(pty.ReadFromSlave(8, milliseconds(1000)), kSelectPacket);
  // Nothing after the packet: no echo, no line-ending translation.
  EXPECT_TRUE(pty.ReadFromSlave(1, milliseconds(50)).empty());
}

TEST_F(SerialPortTest, ReadsTheReplyByte) {
  pty.WriteToSlave({0x06});
  std::uint8_t reply = 0;
  ASSERT_EQ(ReadComm(port, &reply, 1), COMM_OK);
  EXPECT_EQ(reply, 0x06);
}

TEST_F(SerialPortTest, GathersBytesThatArriveInPieces) {
  std::thread far([&] {
    pty.WriteToSlave({0x11});
    std::this_thread::sleep_for(milliseconds(100));
    pty.WriteToSlave({0x22, 0x0D});  // a CR stays a CR on a raw line
  });
  std::uint8_t bytes[3] = {};
  EXPECT_EQ(ReadComm(port, bytes, 3), COMM_OK);
  far.join();
  EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0x11, 0x22, 0x0D}));
}

TEST_F(SerialPortTest, MissingReplyFailsAfterTheReadTimeout) {
  std::uint8_t reply = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(ReadComm(port, &reply, 1), COMM_FAILED);
  const long long elapsed = ElapsedMs(start);
  EXPECT_GE(elapsed, 450);  // 50 ms per byte + 500 ms
  EXPECT_LE(elapsed, 1500);
}

TEST_F(SerialPortTest, ShortReplyFailsAfterTheReadTimeout) {
  pty.WriteToSlave({0x06});
  std::uint8_t reply[2] = {};
  const auto start = SteadyClock::now();
  EXPECT_EQ(ReadComm(port, reply, 2), COMM_FAILED);
  EXPECT_GE(ElapsedMs(start), 500);  // 2 × 50 ms + 500 ms
}

TEST_F(SerialPortTest, PurgeDiscardsAStaleByte) {
  pty.WriteToSlave({0x15});
  ASSERT_TRUE(pty.WaitSlaveReadable(milliseconds(1000)));
  PurgeCommInput(port);
  pty.WriteToSlave({0x06});
  std::uint8_t reply = 0;
  ASSERT_EQ(ReadComm(port, &reply, 1), COMM_OK);
  EXPECT_EQ(reply, 0x06);
}

TEST_F(SerialPortTest, HangUpFailsTheReadAtOnce) {
  pty.CloseMaster();
  std::uint8_t reply = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(ReadComm(port, &reply, 1), COMM_FAILED);
  EXPECT_LT(ElapsedMs(start), 300);
}

TEST_F(SerialPortTest, SecondOpenOfTheSameDeviceFailsUntilTheFirstCloses) {
  CommHandle second = nullptr;
  EXPECT_EQ(OpenComm(&second, pty.SlavePath(), 4800, 8, kNoParity, kOneStopBit), 0);
  EXPECT_EQ(second, nullptr);
  CloseComm(port);
  port = nullptr;
  EXPECT_EQ(OpenComm(&second, pty.SlavePath(), 4800, 8, kNoParity, kOneStopBit), 1);
  port = second;
}

// A large write to a line that is read slowly must wait in the kernel, not
// spin: the writing thread's CPU time stays far below the time it took.
TEST_F(SerialPortTest, SlowlyDrainedWriteDoesNotSpin) {
  const Bytes big(256 * 1024, 0x55);
  std::thread reader([&] {
    std::size_t total = 0;
    while (total < big.size()) {
      const Bytes got = pty.ReadFromSlave(std::min<std::size_t>(4096, big.size() - total), milliseconds(2000));
      if (got.empty()) break;
      total += got.size();
      std::this_thread::sleep_for(milliseconds(5));
    }
  });
  timespec cpuBefore{}, cpuAfter{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuBefore);
  const auto start = SteadyClock::now();
  EXPECT_EQ(WriteComm(port, big.data(), big.size()), COMM_OK);
  const double wallMs = static_cast<double>(ElapsedMs(start));
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuAfter);
  reader.join();
  const double cpuMs = (cpuAfter.tv_sec - cpuBefore.tv_sec) * 1e3 + (cpuAfter.tv_nsec - cpuBefore.tv_nsec) / 1e6;
  ASSERT_GE(wallMs, 100.0) << "the line was not slow enough to test anything";
  EXPECT_LT(cpuMs, wallMs / 4) << "cpu " << cpuMs << " ms over " << wallMs << " ms";
}

TEST_F(SerialPortTest, WriteToALineThatTakesNoMoreBytesFailsAfterTheWriteTimeout) {
  // Nobody reads the far side; fill the line's queue through the harness's own
  // descriptor until it takes no more.
  const int harness = pty.Slave();
  ASSERT_EQ(fcntl(harness, F_SETFL, fcntl(harness, F_GETFL) | O_NONBLOCK), 0);
  const Bytes filler(4096, 0x00);
  // The kernel moves queued bytes on behind the writer's back, so the queue is
  // only full once it has stayed unwritable for a while.
  for (;;) {
    while (write(harness, filler.data(), filler.size()) > 0) {
    }
    ASSERT_EQ(errno, EAGAIN);
    pollfd pfd{harness, POLLOUT, 0};
    if (poll(&pfd, 1, 300) == 0) break;
  }

  const auto start = SteadyClock::now();
  EXPECT_EQ(WriteComm(port, kSelectPacket.data(), kSelectPacket.size()), COMM_FAILED);
  const long long elapsed = ElapsedMs(start);
  EXPECT_GE(elapsed, 70);  // 5 ms per byte + 50 ms
  EXPECT_LE(elapsed, 1000);
}

TEST(SerialPortOpen, MissingDeviceFailsAndLeavesNoPort) {
  CommHandle port = reinterpret_cast<CommHandle>(&port);  // must be overwritten
  EXPECT_EQ(OpenComm(&port, "/dev/vrellix-no-such-device", 4800, 8, kNoParity, kOneStopBit), 0);
  EXPECT_EQ(port, nullptr);
}

TEST(SerialPortOpen, FileThatIsNotATerminalFails) {
  testing::ScratchDir dir;
  testing::WriteBytes(dir.File("plain"), "x");
  CommHandle port = nullptr;
  EXPECT_EQ(OpenComm(&port, dir.File("plain"), 4800, 8, kNoParity, kOneStopBit), 0);
  EXPECT_EQ(port, nullptr);
}

TEST(SerialPortOpen, NoPortMeansNoPortForEveryOperation) {
  std::uint8_t byte = 0;
  EXPECT_EQ(WriteComm(nullptr, &byte, 1), COMM_NO_PORT);
  EXPECT_EQ(ReadComm(nullptr, &byte, 1), COMM_NO_PORT);
  PurgeCommInput(nullptr);
  CloseComm(nullptr);
}

// The line settings as the terminal reports them after the open. A
// pseudo-terminal always keeps 8 bits without parity, so asking it for 7 bits
// or parity must fail the open (the settings are read back) rather than give a
// line other than the one asked for.
struct LineCase {
  const char* name;
  int baud, dataBits, parity, stopBits;
  bool opensOnPty;
  speed_t speed;
  bool twoStopBits;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class SerialPortLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SerialPortLine, AppliesRawLineWithoutFlowControl) {
  const LineCase& c = GetParam();
  PtyPair pty;
  CommHandle port = nullptr;
  const int opened = OpenComm(&port, pty.SlavePath(), c.baud, c.dataBits, c.parity, c.stopBits);
  if (!c.opensOnPty) {
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(port, nullptr);
    return;
  }
  ASSERT_EQ(opened, 1);
  termios tio{};
  ASSERT_EQ(tcgetattr(pty.Slave(), &tio), 0);
  CloseComm(port);

  EXPECT_EQ(cfgetospeed(&tio), c.speed);
  EXPECT_EQ(cfgetispeed(&tio), c.speed);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & PARENB, 0u);
  EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits);
  EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_cc[VMIN], 0);
  EXPECT_EQ(tio.c_cc[VTIME], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SerialPortLine,
    ::testing::Values(
        //       name           baud  bits parity stop  opens  speed    2stop
        LineCase{"Used4800N81",  4800,   8,   0,    1,  true,  B4800,   false},
        LineCase{"TwoStopBits",  9600,   8,   0,    2,  true,  B9600,   true},
        LineCase{"Fallbacks",   12345,   5,   7,    3,  true,  B9600,   false},
        LineCase{"Fastest",    115200,   6,  -1,    0,  true,  B115200, false},
        LineCase{"SevenBits",    4800,   7,   0,    1,  false, B4800,   false},
        LineCase{"EvenParity",   4800,   8,   1,    1,  false, B4800,   false},
        LineCase{"OddParity",   19200,   8,   2,    1,  false, B19200,  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SerialPortOpen, RateWithoutATermiosSpeedIsRefusedNotSubstituted) {
  PtyPair pty;
  CommHandle port = nullptr;
  EXPECT_EQ(OpenComm(&port, pty.SlavePath(), 14400, 8, kNoParity, kOneStopBit), 0);
  EXPECT_EQ(port, nullptr);
}

TEST(SerialPortNames, PortNumbersNameTheFirstNineSerialDevices) {
  const struct {
    int number;
    const char* device;
  } cases[] = {
      {1, "/dev/ttyS0"}, {2, "/dev/ttyS1"}, {9, "/dev/ttyS8"},  {0, "/dev/ttyS0"},
      {10, "/dev/ttyS0"}, {12, "/dev/ttyS0"}, {-3, "/dev/ttyS0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PortNameForNumber(c.number), c.device) << c.number;
    EXPECT_EQ(PortNumberLabel(c.number), c.device) << c.number;
  }
}

}  // namespace
}  // namespace vrellix
