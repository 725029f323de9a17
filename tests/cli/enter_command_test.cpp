#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <regex>
#include <thread>

#include "cli/cli_process.h"
#include "support/fake_transmitter.h"

namespace vrellix {
namespace {

using testing::ChildProcess;
using testing::FakeTransmitter;
using testing::ProcessResult;
using testing::RunCli;
using testing::SplitLines;
using testing::TempDir;
using testing::WriteWholeFile;

// The smallest album worth a job: a one-character title (full-width digit:
// no width switch), nothing else. About twenty seconds of real pauses.
const char kTinyAlbumCsv[] = "１\r\nnone\r\nnone\r\n";
const char kSuccessText[] = "入力処理は正常に終了しました";
const char kFailureText[] = "エラーが発生したので入力処理を中止します(たぶんシリアル通信エラー)";

// The transmitter's end of a pseudo-terminal: answers every 8-byte packet with
// one reply byte and records the keys.
class PtyTransmitter {
 public:
  explicit PtyTransmitter(std::uint8_t reply) : m_reply(reply) {
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) return;
    m_name = name;
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    m_thread = std::thread([this] { Serve(); });
  }
  ~PtyTransmitter() {
    m_quit = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_master >= 0) close(m_master);
    if (m_slave >= 0) close(m_slave);
  }

  const std::string& DeviceName() const { return m_name; }

  std::vector<int> Keys() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_keys;
  }

  // Waits until at least count keys have arrived; returns how many have.
  std::size_t WaitForKeys(std::size_t count, std::chrono::seconds limit) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_arrived.wait_for(lock, limit, [&] { return m_keys.size() >= count; });
    return m_keys.size();
  }

 private:
  void Serve() {
    std::vector<std::uint8_t> pending;
    while (!m_quit) {
      pollfd fd{m_master, POLLIN, 0};
      if (poll(&fd, 1, 50) <= 0 || !(fd.revents & POLLIN)) continue;
      std::uint8_t buffer[64];
      const ssize_t got = read(m_master, buffer, sizeof buffer);
      if (got <= 0) continue;
      pending.insert(pending.end(), buffer, buffer + got);
      while (pending.size() >= static_cast<std::size_t>(kPacketSize)) {
        const FakeTransmitter::Packet packet(pending.begin(), pending.begin() + kPacketSize);
        pending.erase(pending.begin(), pending.begin() + kPacketSize);
        {
          std::lock_guard<std::mutex> lock(m_mutex);
          m_keys.push_back(FakeTransmitter::DecodeKey(packet));
        }
        m_arrived.notify_all();
        [[maybe_unused]] const ssize_t written = write(m_master, &m_reply, 1);
      }
    }
  }

  std::uint8_t m_reply;
  int m_master = -1;
  int m_slave = -1;
  std::string m_name;
  std::atomic<bool> m_quit{false};
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::vector<int> m_keys;
};

std::vector<int> PlannedKeys(const TempDir& dir, const std::string& file) {
  const ProcessResult plan = RunCli({"plan", file, "--delay", "0"}, dir);
  EXPECT_EQ(plan.exitCode, 0) << plan.err;
  static const std::regex kKey("key (\\d+) .*");
  std::vector<int> keys;
  std::smatch match;
  for (const std::string& line : SplitLines(plan.out)) {
    if (std::regex_match(line, match, kKey)) keys.push_back(std::stoi(match[1]));
  }
  return keys;
}

TEST(EnterCommandTest, SendsExactlyThePlannedKeys) {
  TempDir dir;
  WriteWholeFile(dir.File("album.csv"), kTinyAlbumCsv);
  const std::vector<int> planned = PlannedKeys(dir, "album.csv");
  ASSERT_FALSE(planned.empty());

  PtyTransmitter transmitter(ACK);
  ASSERT_FALSE(transmitter.DeviceName().empty());
  const ProcessResult run =
      RunCli({"enter", "album.csv", "--port", transmitter.DeviceName(), "--delay", "0", "--yes"}, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(kSuccessText), std::string::npos) << run.out;
  EXPECT_EQ(transmitter.Keys(), planned);
}

TEST(EnterCommandTest, CtrlCStopsAfterTheKeyUnderWay) {
  TempDir dir;
  WriteWholeFile(dir.File("album.csv"), kTinyAlbumCsv);
  PtyTransmitter transmitter(ACK);
  ChildProcess child(VRELLIX_CLI_PATH,
                     {"enter", "album.csv", "--port", transmitter.DeviceName(), "--delay", "0", "--yes"}, dir);
  ASSERT_TRUE(child.Started());
  // Into the erase keys of the title.
  const std::size_t before = transmitter.WaitForKeys(10, std::chrono::seconds(20));
  ASSERT_GE(before, 10u);
  child.Signal(SIGINT);
  const ProcessResult run = child.Wait();
  EXPECT_EQ(run.exitCode, 130) << run.err;
  EXPECT_EQ(run.out.find(kSuccessText), std::string::npos);
  EXPECT_LE(transmitter.Keys().size(), before + 1);
}

TEST(EnterCommandTest, RefusedKeysEndTheJobWithTheFailureMessage) {
  TempDir dir;
  WriteWholeFile(dir.File("album.csv"), kTinyAlbumCsv);
  PtyTransmitter transmitter(NAK);
  const ProcessResult run =
      RunCli({"enter", "album.csv", "--port", transmitter.DeviceName(), "--delay", "0", "--yes"}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(kFailureText), std::string::npos) << run.err;
  EXPECT_EQ(transmitter.Keys(), (std::vector<int>{KEY_SELECT, KEY_SELECT}));
}

TEST(EnterCommandTest, NoAnswerToTheQuestionMeansNo) {
  TempDir dir;
  WriteWholeFile(dir.File("album.csv"), kTinyAlbumCsv);
  PtyTransmitter transmitter(ACK);
  const ProcessResult run = RunCli({"enter", "album.csv", "--port", transmitter.DeviceName()}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("ＲＺＴへ文字入力を開始します\n入力を行うプレイリストが反転表示状態である事を確認して下さい\nよろしいですか？"),
            std::string::npos);
  EXPECT_TRUE(transmitter.Keys().empty());
}

TEST(EnterCommandTest, PortThatCannotBeOpenedIsNamed) {
  TempDir dir;
  WriteWholeFile(dir.File("album.csv"), kTinyAlbumCsv);
  const std::string missing = dir.File("no-such-tty");
  const ProcessResult run = RunCli({"enter", "album.csv", "--port", missing, "--yes"}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("(" + missing + ")"), std::string::npos) << run.err;
}

TEST(EnterCommandTest, BadFileIsRefusedBeforeAnythingElse) {
  TempDir dir;
  WriteWholeFile(dir.File("kanji.csv"), "漢字\r\n");
  const ProcessResult run = RunCli({"enter", "kanji.csv", "--port", dir.File("no-such-tty"), "--yes"}, dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.find("no-such-tty"), std::string::npos);
}

}  // namespace
}  // namespace vrellix
