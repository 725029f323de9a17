// The POSIX serial backend against a real pseudo-terminal pair.
#include "serial/serial_port.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>

#include <chrono>
#include <thread>

#include "support/other_user.h"
#include "support/pty_pair.h"
#include "support/scratch_dir.h"
#include "support/typed_results.h"

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
  void SetUp() override {
    ASSERT_EQ(OpenComm(&port, pty.SlavePath(), 4800, 8, kNoParity, kOneStopBit), OpenResult::kOpened);
  }
  void TearDown() override { CloseComm(port); }

  PtyPair pty;
  CommHandle port = nullptr;
};

TEST_F(SerialPortTest, FarSideReceivesExactlyThePacket) {
  ASSERT_EQ(WriteComm(port, kSelectPacket.data(), kSelectPacket.size()), CommResult::kOk);
  EXPECT_EQ(pty.ReadFromSlave(8, milliseconds(1000)), kSelectPacket);
  // Nothing after the packet: no echo, no line-ending translation.
  EXPECT_TRUE(pty.ReadFromSlave(1, milliseconds(50)).empty());
}

TEST_F(SerialPortTest, ReadsTheReplyByte) {
  pty.WriteToSlave({0x06});
  std::uint8_t reply = 0;
  ASSERT_EQ(ReadComm(port, &reply, 1), CommResult::kOk);
  EXPECT_EQ(reply, 0x06);
}

TEST_F(SerialPortTest, GathersBytesThatArriveInPieces) {
  std::thread far([&] {
    pty.WriteToSlave({0x11});
    std::this_thread::sleep_for(milliseconds(100));
    pty.WriteToSlave({0x22, 0x0D});  // a CR stays a CR on a raw line
  });
  std::uint8_t bytes[3] = {};
  EXPECT_EQ(ReadComm(port, bytes, 3), CommResult::kOk);
  far.join();
  EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0x11, 0x22, 0x0D}));
}

TEST_F(SerialPortTest, MissingReplyFailsAfterTheReadTimeout) {
  std::uint8_t reply = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(ReadComm(port, &reply, 1), CommResult::kFailed);
  const long long elapsed = ElapsedMs(start);
  EXPECT_GE(elapsed, 450);  // 50 ms per byte + 500 ms
  EXPECT_LE(elapsed, 1500);
}

TEST_F(SerialPortTest, ShortReplyFailsAfterTheReadTimeout) {
  pty.WriteToSlave({0x06});
  std::uint8_t reply[2] = {};
  const auto start = SteadyClock::now();
  EXPECT_EQ(ReadComm(port, reply, 2), CommResult::kFailed);
  EXPECT_GE(ElapsedMs(start), 500);  // 2 × 50 ms + 500 ms
}

TEST_F(SerialPortTest, PurgeDiscardsAStaleByte) {
  pty.WriteToSlave({0x15});
  ASSERT_TRUE(pty.WaitSlaveReadable(milliseconds(1000)));
  PurgeCommInput(port);
  pty.WriteToSlave({0x06});
  std::uint8_t reply = 0;
  ASSERT_EQ(ReadComm(port, &reply, 1), CommResult::kOk);
  EXPECT_EQ(reply, 0x06);
}

TEST_F(SerialPortTest, HangUpFailsTheReadAtOnce) {
  pty.CloseMaster();
  std::uint8_t reply = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(ReadComm(port, &reply, 1), CommResult::kFailed);
  EXPECT_LT(ElapsedMs(start), 300);
}

TEST_F(SerialPortTest, SecondOpenOfTheSameDeviceFailsUntilTheFirstCloses) {
  CommHandle second = nullptr;
  EXPECT_EQ(OpenComm(&second, pty.SlavePath(), 4800, 8, kNoParity, kOneStopBit), OpenResult::kFailed);
  EXPECT_EQ(second, nullptr);
  CloseComm(port);
  port = nullptr;
  EXPECT_EQ(OpenComm(&second, pty.SlavePath(), 4800, 8, kNoParity, kOneStopBit), OpenResult::kOpened);
  port = second;
}

// The transmitter's port: 4800 baud, 8 data bits, held until its channel goes.
TEST(TransmitterPort, HasTheLineSettingsAndClosesWithItsChannel) {
  PtyPair pty;
  std::unique_ptr<SerialChannel> channel = OpenTransmitterPort(pty.SlavePath());
  ASSERT_TRUE(channel);
  termios tio{};
  ASSERT_EQ(tcgetattr(pty.Slave(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B4800));
  EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
  EXPECT_FALSE(OpenTransmitterPort(pty.SlavePath()));
  channel.reset();
  EXPECT_TRUE(OpenTransmitterPort(pty.SlavePath()));
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
  EXPECT_EQ(WriteComm(port, big.data(), big.size()), CommResult::kOk);
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
  EXPECT_EQ(WriteComm(port, kSelectPacket.data(), kSelectPacket.size()), CommResult::kFailed);
  const long long elapsed = ElapsedMs(start);
  EXPECT_GE(elapsed, 70);  // 5 ms per byte + 50 ms
  EXPECT_LE(elapsed, 1000);
}

TEST(SerialPortOpen, MissingDeviceFailsAndLeavesNoPort) {
  CommHandle port = reinterpret_cast<CommHandle>(&port);  // must be overwritten
  EXPECT_EQ(OpenComm(&port, "/dev/vrellix-no-such-device", 4800, 8, kNoParity, kOneStopBit),
            OpenResult::kFailed);
  EXPECT_EQ(port, nullptr);
}

TEST(SerialPortOpen, FileThatIsNotATerminalFails) {
  testing::ScratchDir dir;
  testing::WriteBytes(dir.File("plain"), "x");
  CommHandle port = nullptr;
  EXPECT_EQ(OpenComm(&port, dir.File("plain"), 4800, 8, kNoParity, kOneStopBit), OpenResult::kFailed);
  EXPECT_EQ(port, nullptr);
}

TEST(SerialPortOpen, NoPortMeansNoPortForEveryOperation) {
  std::uint8_t byte = 0;
  EXPECT_EQ(WriteComm(nullptr, &byte, 1), CommResult::kNoPort);
  EXPECT_EQ(ReadComm(nullptr, &byte, 1), CommResult::kNoPort);
  PurgeCommInput(nullptr);
  CloseComm(nullptr);
}

// What another program sees that opens the line as an ordinary user and
// relies on the terminal's exclusive flag alone (no lock): 0 when it gets the
// line, else its errno; -1 when the child could not run.
int PlainOpenErrorAsOtherUser(const std::string& path) {
  const auto said = testing::RunAsOtherUser([&] {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd == -1) return std::to_string(errno);
    close(fd);
    return std::string("0");
  });
  return said ? std::stoi(*said) : -1;
}

// The holder is another instance of this program (exclusive flag and lock) or
// a program that sets only the terminal's exclusive flag.
TEST(SerialPortLock, RefusedOpensLeaveTheHoldersClaimAlone) {
  for (const bool flagOnly : {false, true}) {
    SCOPED_TRACE(flagOnly ? "held with the exclusive flag alone" : "held by OpenComm");
    PtyPair pty;
    const std::string& path = pty.SlavePath();
    // Only the holder's claim may keep the other user out, not the permission bits.
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(PlainOpenErrorAsOtherUser(path), 0);

    CommHandle holder = nullptr;
    if (flagOnly) {
      ASSERT_EQ(ioctl(pty.Slave(), TIOCEXCL), 0);
    } else {
      ASSERT_EQ(OpenComm(&holder, path, 4800, 8, kNoParity, kOneStopBit), OpenResult::kOpened);
    }
    for (const char* attempt : {"second open", "third open"}) {
      CommHandle refused = nullptr;
      PortFailure failure;
      EXPECT_EQ(OpenComm(&refused, path, 4800, 8, kNoParity, kOneStopBit, &failure), OpenResult::kFailed)
          << attempt;
      EXPECT_EQ(failure.cause, PortFailureCause::kBusy) << attempt;
      CloseComm(refused);
      EXPECT_EQ(PlainOpenErrorAsOtherUser(path), EBUSY) << "after the " << attempt;
    }
    if (flagOnly) {
      ASSERT_EQ(ioctl(pty.Slave(), TIOCNXCL), 0);
    } else {
      CloseComm(holder);
    }
    EXPECT_EQ(PlainOpenErrorAsOtherUser(path), 0) << "the holder's release frees the line";
  }
}

// Every way an open can fail, each with its cause and the line that tells the
// user why.
TEST(SerialPortOpen, FailuresSayWhy) {
  testing::ScratchDir dir;
  testing::WriteBytes(dir.File("plain"), "x");
  std::filesystem::create_directory(dir.File("folder"));
  std::filesystem::create_symlink(dir.File("loop"), dir.File("loop"));
  PtyPair held;
  CommHandle holder = nullptr;
  ASSERT_EQ(OpenComm(&holder, held.SlavePath(), 4800, 8, kNoParity, kOneStopBit), OpenResult::kOpened);
  // Root gets past the terminal's exclusive flag and meets the holder's lock.
  const int heldError = testing::RunsAsRoot() ? EWOULDBLOCK : EBUSY;

  using Cause = PortFailureCause;
  const struct {
    const char* name;
    std::string device;
    PortFailureCause cause;
    int osError;
    std::string reasonStart;
  } cases[] = {
      {"missing",   dir.File("no-such-tty"), Cause::kNotFound,    ENOENT,      "原因: この名前の通信ポートはありません。"},
      {"file",      dir.File("plain"),       Cause::kNotSerial,   ENOTTY,      "原因: 指定されたものはシリアル通信ポートではありません"},
      {"directory", dir.File("folder"),      Cause::kNotSerial,   EISDIR,      "原因: 指定されたものはシリアル通信ポートではありません"},
      {"no tty",    "/dev/null",             Cause::kNotSerial,   ENOTTY,      "原因: 指定されたものはシリアル通信ポートではありません"},
      {"held",      held.SlavePath(),        Cause::kBusy,        heldError,   "原因: 他のプログラムがこの通信ポートを使用中です。"},
      {"loop",      dir.File("loop"),        Cause::kSystemError, ELOOP,       "原因: " + SystemErrorText(ELOOP) + "(エラーコード "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CommHandle port = reinterpret_cast<CommHandle>(&port);  // must be overwritten
    PortFailure failure;
    EXPECT_EQ(OpenComm(&port, c.device, 4800, 8, kNoParity, kOneStopBit, &failure), OpenResult::kFailed);
    EXPECT_EQ(port, nullptr);
    EXPECT_EQ(failure.cause, c.cause);
    EXPECT_EQ(failure.osError, c.osError);
    EXPECT_EQ(PortFailureReason(failure, {}).rfind(c.reasonStart, 0), 0u) << PortFailureReason(failure, {});
  }
  CloseComm(holder);
}

// A device the user may not open: the reason names the group to join when its
// members may use the device, and only then.
TEST(SerialPortOpen, NoPermissionNamesTheGroupToJoin) {
  if (!testing::RunsAsRoot()) GTEST_SKIP() << "needs root to give a device to another owner";
  const group* dialout = getgrnam("dialout");
  if (!dialout) GTEST_SKIP() << "no dialout group on this machine";
  const struct {
    const char* name;
    gid_t group;
    mode_t mode;
    std::string reason;
  } cases[] = {
      {"group may use it", dialout->gr_gid, 0660,
       "原因: この通信ポートを使う権限がありません。ユーザーをグループ「dialout」に加えて"
       "(sudo usermod -aG dialout $USER)、ログインし直して下さい"},
      {"group may not",    dialout->gr_gid, 0600,
       "原因: この通信ポートを使う権限がありません。管理者に使用の許可を求めて下さい"},
      {"root's group",     0,               0660,
       "原因: この通信ポートを使う権限がありません。管理者に使用の許可を求めて下さい"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PtyPair pty;
    ASSERT_EQ(chown(pty.SlavePath().c_str(), 0, c.group), 0);
    ASSERT_EQ(chmod(pty.SlavePath().c_str(), c.mode), 0);
    const auto said = testing::RunAsOtherUser([&] {
      CommHandle port = nullptr;
      PortFailure failure;
      OpenComm(&port, pty.SlavePath(), 4800, 8, kNoParity, kOneStopBit, &failure);
      CloseComm(port);
      return std::to_string(static_cast<int>(failure.cause)) + " " + std::to_string(failure.osError) + " " +
             PortFailureReason(failure, {});
    });
    ASSERT_TRUE(said.has_value());
    const int cause = static_cast<int>(PortFailureCause::kNoPermission);
    EXPECT_EQ(*said, std::to_string(cause) + " " + std::to_string(EACCES) + " " + c.reason);
  }
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
  const OpenResult opened = OpenComm(&port, pty.SlavePath(), c.baud, c.dataBits, c.parity, c.stopBits);
  if (!c.opensOnPty) {
    EXPECT_EQ(opened, OpenResult::kFailed);
    EXPECT_EQ(port, nullptr);
    return;
  }
  ASSERT_EQ(opened, OpenResult::kOpened);
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
  EXPECT_EQ(OpenComm(&port, pty.SlavePath(), 14400, 8, kNoParity, kOneStopBit), OpenResult::kFailed);
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
    EXPECT_EQ(PortNumberNamesAPort(c.number), c.number >= 1 && c.number <= 9) << c.number;
  }
}

}  // namespace
}  // namespace vrellix
