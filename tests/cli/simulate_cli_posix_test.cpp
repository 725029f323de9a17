// vrellix-cli simulate as a separate process: the port line, packets through
// the pseudo-terminal, and the dump after a signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "link/keys.h"
#include "support/pty_pair.h"

namespace vrellix {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::PacketOf;
using testing::PtyClient;

// The command running with its standard output on a pipe.
class SimulateProcess {
 public:
  explicit SimulateProcess(std::vector<std::string> args) {
    args.insert(args.begin(), {VRELLIX_CLI_PATH, "simulate"});
    int out[2];
    if (pipe(out) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      dup2(out[1], STDOUT_FILENO);
      const int devnull = open("/dev/null", O_WRONLY);
      dup2(devnull, STDERR_FILENO);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    m_out = out[0];
  }
  ~SimulateProcess() {
    if (m_pid > 0 && !m_reaped) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0) close(m_out);
  }

  // The output up to the first newline (without it), or all of it at the end.
  std::string ReadLine(int withinMs) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(withinMs);
    char c;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd pfd{m_out, POLLIN, 0};
      if (poll(&pfd, 1, 50) <= 0) continue;
      if (read(m_out, &c, 1) != 1 || c == '\n') break;
      line += c;
    }
    return line;
  }

  // Everything left on the output until the process closes it.
  std::string ReadRest(int withinMs) {
    std::string rest;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(withinMs);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd pfd{m_out, POLLIN, 0};
      if (poll(&pfd, 1, 50) <= 0) continue;
      const ssize_t n = read(m_out, buffer, sizeof buffer);
      if (n <= 0) break;
      rest.append(buffer, static_cast<std::size_t>(n));
    }
    return rest;
  }

  void Signal(int sig) { kill(m_pid, sig); }

  // The exit code, or -1 if it did not exit normally within the time.
  int Wait(int withinMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(withinMs);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_reaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      poll(nullptr, 0, 10);
    }
    return -1;
  }

 private:
  pid_t m_pid = -1;
  int m_out = -1;
  bool m_reaped = false;
};

// Sends a packet and returns its answer, or -1 when none came within the time.
int Exchange(const PtyClient& client, int key) {
  if (!client.Send(PacketOf(key))) return -1;
  const Bytes reply = client.Receive(1, 2000ms);
  return reply.size() == 1 ? reply[0] : -1;
}

struct SignalCase {
  const char* name;
  int signal;
};
void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

class SimulateCli : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SimulateCli, ServesUntilTheSignalThenPrintsTheDevice) {
  SimulateProcess process({"--old", "古い", "--nak-at", "2"});
  const std::string first = process.ReadLine(5000);
  ASSERT_EQ(first.rfind("port /", 0), 0u) << first;
  const PtyClient client(first.substr(5));
  ASSERT_TRUE(client.Ok());
  EXPECT_EQ(Exchange(client, KEY_SELECT), ACK);
  EXPECT_EQ(Exchange(client, KEY_SELECT), NAK);  // --nak-at 2: the device never sees it
  for (int key : {KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT, KEY_SELECT, KEY_ERASE, KEY_FINISH, KEY_ERASE}) {
    EXPECT_EQ(Exchange(client, key), ACK) << KeyName(key);
  }
  process.Signal(GetParam().signal);
  EXPECT_EQ(process.ReadRest(5000),
            "title 古\n"
            "yomi 古い\n"
            "artist 古い\n"
            "error 8 album menu, item 0: KEY_ERASE has no use here\n");
  EXPECT_EQ(process.Wait(5000), 0);
}

INSTANTIATE_TEST_SUITE_P(Sim, SimulateCli,
                         ::testing::Values(SignalCase{"Interrupt", SIGINT}, SignalCase{"Terminate", SIGTERM}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimulateCliOptions, SilentAndCloseFaults) {
  SimulateProcess process({"--silent-at", "1", "--close-at", "2"});
  const std::string first = process.ReadLine(5000);
  ASSERT_EQ(first.rfind("port /", 0), 0u) << first;
  const PtyClient client(first.substr(5));
  ASSERT_TRUE(client.Ok());
  EXPECT_EQ(Exchange(client, KEY_SELECT), -1);
  EXPECT_EQ(Exchange(client, KEY_SELECT), ACK);
  EXPECT_EQ(Exchange(client, KEY_BACK), -1);  // the line is gone
  process.Signal(SIGINT);
  EXPECT_EQ(process.ReadRest(5000), "title OLD\nyomi OLD\nartist OLD\n");
  EXPECT_EQ(process.Wait(5000), 0);
}

TEST(SimulateCliOptions, JunkAndLateAnswers) {
  SimulateProcess process({"--junk-at", "1", "0600", "--late-at", "2", "400"});
  const std::string first = process.ReadLine(5000);
  ASSERT_EQ(first.rfind("port /", 0), 0u) << first;
  const PtyClient client(first.substr(5));
  ASSERT_TRUE(client.Ok());
  ASSERT_TRUE(client.Send(PacketOf(KEY_BACK)));
  EXPECT_EQ(client.Receive(2, 2000ms), (Bytes{ACK, 0x00}));  // packet 1's junk answer, whole
  const auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.Send(PacketOf(KEY_BACK)));
  EXPECT_EQ(client.Receive(1, 2000ms), Bytes{ACK});  // packet 2's answer, late
  EXPECT_GE(std::chrono::steady_clock::now() - sent, 350ms);
  process.Signal(SIGINT);
  EXPECT_EQ(process.ReadRest(5000), "title OLD\nyomi OLD\nartist OLD\n");
  EXPECT_EQ(process.Wait(5000), 0);
}

TEST(SimulateCliOptions, BadOptionsAreRefusedBeforeAnyPort) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--nak-at", "0"},
                                             {"--silent-at", "x"},
                                             {"--nak-rate", "1.5"},
                                             {"--seed", "-1"},
                                             {"--close-at"},
                                             {"--late-at", "1"},
                                             {"--late-at", "1", "-5"},
                                             {"--double-at", "0"},
                                             {"--junk-at", "1", "6"},
                                             {"--junk-at", "1", "0g"},
                                             {"--bogus", "1"},
                                             {"--old", "\xFF"}}) {
    SimulateProcess process(args);
    EXPECT_EQ(process.ReadRest(5000), "") << args[0];
    EXPECT_EQ(process.Wait(5000), 2) << args[0];
  }
}

}  // namespace
}  // namespace vrellix
