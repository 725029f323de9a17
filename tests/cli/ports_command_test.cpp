// vrellix-cli ports on this machine: whatever it lists must exist, and an empty
// list is said, not printed as nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_process.h"
#include "support/real_ports.h"

namespace vrellix {
namespace {

using testing::ProcessResult;
using testing::RunCli;
using testing::ScratchDir;
using testing::SplitLines;

TEST(PortsCommandTest, ListsDevicesThatExist) {
  if (testing::ListingWouldOpenARealPort()) GTEST_SKIP() << "a ttyS port without a sysfs record";
  ScratchDir dir;
  const ProcessResult run = RunCli({"ports"}, dir);
  const std::vector<std::string> lines = SplitLines(run.out);
  if (lines.empty()) {
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vrellix-cli: no serial port found\n");
  } else {
    EXPECT_EQ(run.exitCode, 0) << run.err;
  }
  for (const std::string& line : lines) {
    const std::string device = line.substr(0, line.find('\t'));
    EXPECT_TRUE(std::filesystem::exists(device)) << line;
  }
  EXPECT_EQ(RunCli({"ports", "extra"}, dir).exitCode, 2);
}

}  // namespace
}  // namespace vrellix
