// vrellix-cli key, end to end: the built program as a subprocess, a pseudo-
// terminal as its serial line and a responder thread as the transmitter.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "messages/messages.h"
#include "settings/link_settings.h"
#include "support/child_process.h"
#include "support/real_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_transmitter.h"
#include "support/settings_file.h"

namespace vrellix {
namespace {

using testing::ChildProcess;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::ScriptedTransmitter;
using testing::SettingsText;
using testing::WriteBytes;
using Bytes = ScriptedTransmitter::Bytes;
using Reply = ScriptedTransmitter::Reply;

const Bytes kSelect = {0x02, 0x04, 0x05, 0xB5, 0x98, 0xF5, 0xC6, 0x1D};
const Bytes kMenuDown = {0x02, 0x04, 0x05, 0xB5, 0x82, 0x00, 0x00, 0x34};
const Bytes kCode12 = {0x02, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00, 0x03};

// A command delay in the settings file that a run must not wait: one that did
// takes this long at least, many times what a run takes, even under a sanitizer.
constexpr std::chrono::milliseconds kFileDelay{kMaxCommandDelayMs};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class CliKeyTest : public ::testing::Test {
 protected:
  void WriteSettings(const std::string& portName, int delayMs) {
    WriteBytes(ini, SettingsText(delayMs, portName));
  }

  // Runs vrellix-cli with the temporary directory as its current directory.
  // onStart sees the child's process id.
  ProcessResult Run(const std::vector<std::string>& args, std::function<void(pid_t)> onStart = {}) {
    ChildProcess child(VRELLIX_CLI_PATH, args, dir.Path());
    if (onStart && child.Started()) onStart(child.Pid());
    return child.Wait();
  }

  ScratchDir dir;
  const std::string ini = dir.File("rzt_input.ini");
};

TEST_F(CliKeyTest, EveryKeyAcknowledgedExitsZero) {
  ScriptedTransmitter responder;
  WriteSettings(responder.SlavePath(), 0);
  const ProcessResult r = Run({"key", "select", "KEY_MENU_DOWN", "12"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "KEY_SELECT acknowledged\nKEY_MENU_DOWN acknowledged\n12 acknowledged\n");
  EXPECT_EQ(responder.Received(), Concat({kSelect, kMenuDown, kCode12}));
}

TEST_F(CliKeyTest, RefusedFirstTryIsSentAgain) {
  ScriptedTransmitter responder({Reply{NAK}, Reply{ACK}});
  WriteSettings(responder.SlavePath(), 0);
  const ProcessResult r = Run({"key", "SELECT"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "KEY_SELECT acknowledged\n");
  EXPECT_EQ(responder.Received(), Concat({kSelect, kSelect}));
}

// A second ACK for a packet: the next key is not sent; after the last key, the run fails.
TEST_F(CliKeyTest, ReplyForNoPacketFailsTheRun) {
  for (std::size_t doubled : {0, 1}) {
    std::vector<Reply> script(doubled + 1, Reply{ACK});
    script[doubled] = Reply{ACK, ACK};
    ScriptedTransmitter responder(script);
    WriteSettings(responder.SlavePath(), 0);
    const ProcessResult r = Run({"key", "select", "menu_down"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, doubled == 0 ? "KEY_SELECT acknowledged\nKEY_MENU_DOWN out of step: a reply came that belongs to no packet\n"
                                  : "KEY_SELECT acknowledged\nKEY_MENU_DOWN acknowledged\n");
    EXPECT_EQ(r.err, doubled == 0 ? "" : "vrellix-cli key: a reply came after the last key; a key may have reached the device twice\n");
  }
}

TEST_F(CliKeyTest, SilenceIsNotAcknowledgedAndEndsTheRun) {
  ScriptedTransmitter responder({Reply{}, Reply{}});
  WriteSettings(responder.SlavePath(), 0);
  const ProcessResult r = Run({"key", "select", "menu_down"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "KEY_SELECT not acknowledged after 2 tries\nKEY_MENU_DOWN not sent\n");
  EXPECT_EQ(responder.Received(), Concat({kSelect, kSelect}));
}

TEST_F(CliKeyTest, PortThatCannotBeOpenedShowsTheStartupMessage) {
  if (testing::ListingWouldOpenARealPort()) GTEST_SKIP() << "a ttyS port without a sysfs record";
  WriteSettings("/dev/vrellix-no-such-port", 0);
  const ProcessResult r = Run({"key", "select"});
  EXPECT_EQ(r.exitCode, 1);
  // The start-up message, then why (the ports listed are this machine's).
  const std::string message =
      "通信ポートの初期化に失敗しました。環境を確認して再起動して下さい(/dev/vrellix-no-such-port)\n"
      "通信ポートを変更する場合はINIファイルを編集して下さい\n"
      "原因: この名前の通信ポートはありません。";
  ASSERT_EQ(r.err.rfind(message, 0), 0u) << r.err;
  EXPECT_EQ(r.err.find('\n', message.size()), r.err.size() - 1) << "one line of reason";
  EXPECT_EQ(r.out, "");
}

TEST_F(CliKeyTest, UnknownKeyIsRefusedBeforeAnythingIsTouched) {
  ScriptedTransmitter responder;
  const ProcessResult r = Run({"key", "select", "KEY_NOPE", "--port", responder.SlavePath()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("KEY_NOPE"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(ini)) << "the settings file must not be created";
  EXPECT_TRUE(responder.Received().empty());
}

TEST_F(CliKeyTest, BadOptionsAreUsageErrors) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"key"}, {"key", "select", "--delay"}, {"key", "select", "--delay", "-5"},
           {"key", "select", "--delay=soon"}, {"key", "select", "--port"}, {"key", "select", "--speed", "9"}}) {
    const ProcessResult r = Run(args);
    EXPECT_EQ(r.exitCode, 2) << args.back();
    EXPECT_FALSE(std::filesystem::exists(ini));
  }
}

// The options win for this run only; the settings file is still loaded and
// written back as at start-up, and its device name is left as it was.
TEST_F(CliKeyTest, OptionsOverrideTheSettingsForThisRunOnly) {
  WriteSettings("/dev/vrellix-no-such-port", kMaxCommandDelayMs);
  ScriptedTransmitter responder;
  const auto start = std::chrono::steady_clock::now();
  const ProcessResult r = Run({"key", "--port=" + responder.SlavePath(), "select", "--delay", "0", "select"});
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(responder.Received(), Concat({kSelect, kSelect}));
  EXPECT_LT(elapsed, kFileDelay) << "the delay of the file was used";
  EXPECT_EQ(ReadBytes(ini), SettingsText(kMaxCommandDelayMs, "/dev/vrellix-no-such-port"));
}

TEST_F(CliKeyTest, CreatesTheSettingsFileInTheCurrentDirectory) {
  ScriptedTransmitter responder;
  const ProcessResult r = Run({"key", "select", "--port", responder.SlavePath(), "--delay", "0"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadBytes(ini), SettingsText(100));
}

// A settings file that cannot be read (here a folder in its place) is reported
// on stderr and left alone; the run goes on with the defaults.
TEST_F(CliKeyTest, SettingsThatCannotBeReadAreReportedAndTheRunGoesOn) {
  std::filesystem::create_directory(ini);
  ScriptedTransmitter responder;
  const ProcessResult r = Run({"key", "select", "--port", responder.SlavePath(), "--delay", "0"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, messages::SettingsNotRead(ini, "Is a directory") + "\n");
  EXPECT_EQ(r.out, "KEY_SELECT acknowledged\n");
  EXPECT_TRUE(std::filesystem::is_directory(ini));
}

// Ctrl-C while a key is under way: that exchange finishes, nothing more is
// sent. A key whose first try went unanswered may have reached the device.
TEST_F(CliKeyTest, InterruptLetsTheExchangeFinishAndSendsNothingMore) {
  for (const bool answered : {true, false}) {
    // The command delay gives the interrupt time to land before the next key;
    // a stop cuts the delay short, so it costs nothing.
    ScriptedTransmitter responder({answered ? Reply{ACK} : Reply{}});
    WriteSettings(responder.SlavePath(), kMaxCommandDelayMs);
    std::atomic<pid_t> child{0};
    responder.OnPacket([&](std::size_t) {
      // The child may send its first packet before the spawn has told its pid;
      // 0 would signal the test itself.
      while (child == 0) std::this_thread::yield();
      kill(child, SIGINT);
    });
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult r = Run({"key", "select", "menu_down", "back"}, [&](pid_t pid) { child = pid; });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    responder.Stop();
    EXPECT_EQ(r.exitCode, 130) << r.err;
    EXPECT_EQ(r.out, std::string(answered ? "KEY_SELECT acknowledged\n"
                                          : "KEY_SELECT stopped before it was acknowledged; it may have reached the device\n") +
                         "KEY_MENU_DOWN not sent\nKEY_BACK not sent\n");
    EXPECT_EQ(responder.Received(), kSelect);
    EXPECT_LT(elapsed, kFileDelay) << "the stop did not cut the command delay short";
  }
}

}  // namespace
}  // namespace vrellix
