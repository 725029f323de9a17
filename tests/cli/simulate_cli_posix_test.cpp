// vrellix-cli simulate as a separate process: the port line, packets through
// the pseudo-terminal, and the dump after a signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <vector>

#include "keys/keys.h"
#include "support/child_process.h"
#include "support/pty_pair.h"

namespace vrellix {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::ChildProcess;
using testing::ProcessResult;
using testing::PacketOf;
using testing::PtyClient;

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
  ChildProcess process(VRELLIX_CLI_PATH, {"simulate", "--old", "古い", "--nak-at", "2"});
  const std::string first = process.ReadLine(5000ms);
  ASSERT_EQ(first.rfind("port /", 0), 0u) << first;
  const PtyClient client(first.substr(5));
  ASSERT_TRUE(client.Ok());
  EXPECT_EQ(Exchange(client, KEY_SELECT), ACK);
  EXPECT_EQ(Exchange(client, KEY_SELECT), NAK);  // --nak-at 2: the device never sees it
  for (int key : {KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT, KEY_SELECT, KEY_ERASE, KEY_FINISH, KEY_ERASE}) {
    EXPECT_EQ(Exchange(client, key), ACK) << KeyName(key);
  }
  process.Signal(GetParam().signal);
  const ProcessResult end = process.Wait(5000ms);
  EXPECT_EQ(end.out,
            "title 古\n"
            "yomi 古い\n"
            "artist 古い\n"
            "error 8 album menu, item 0: KEY_ERASE has no use here\n");
  EXPECT_EQ(end.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Sim, SimulateCli,
                         ::testing::Values(SignalCase{"Interrupt", SIGINT}, SignalCase{"Terminate", SIGTERM}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimulateCliOptions, SilentAndCloseFaults) {
  ChildProcess process(VRELLIX_CLI_PATH, {"simulate", "--silent-at", "1", "--close-at", "2"});
  const std::string first = process.ReadLine(5000ms);
  ASSERT_EQ(first.rfind("port /", 0), 0u) << first;
  const PtyClient client(first.substr(5));
  ASSERT_TRUE(client.Ok());
  EXPECT_EQ(Exchange(client, KEY_SELECT), -1);
  EXPECT_EQ(Exchange(client, KEY_SELECT), ACK);
  EXPECT_EQ(Exchange(client, KEY_BACK), -1);  // the line is gone
  process.Signal(SIGINT);
  const ProcessResult end = process.Wait(5000ms);
  EXPECT_EQ(end.out, "title OLD\nyomi OLD\nartist OLD\n");
  EXPECT_EQ(end.exitCode, 0);
}

TEST(SimulateCliOptions, JunkAndLateAnswers) {
  ChildProcess process(VRELLIX_CLI_PATH, {"simulate", "--junk-at", "1", "0600", "--late-at", "2", "400"});
  const std::string first = process.ReadLine(5000ms);
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
  const ProcessResult end = process.Wait(5000ms);
  EXPECT_EQ(end.out, "title OLD\nyomi OLD\nartist OLD\n");
  EXPECT_EQ(end.exitCode, 0);
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
    std::vector<std::string> words{"simulate"};
    words.insert(words.end(), args.begin(), args.end());
    ChildProcess process(VRELLIX_CLI_PATH, words);
    const ProcessResult end = process.Wait(5000ms);
    EXPECT_EQ(end.out, "") << args[0];
    EXPECT_EQ(end.exitCode, 2) << args[0];
  }
}

}  // namespace
}  // namespace vrellix
