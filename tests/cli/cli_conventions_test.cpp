// The command line's conventions seen from outside: both option forms, help,
// the version, a suggestion for a mistyped command, a typed value error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_process.h"

namespace vrellix {
namespace {

using testing::ProcessResult;
using testing::RunCli;
using testing::ScratchDir;

const std::string kAlbum = std::string(VRELLIX_EXAMPLES) + "/album.csv";

// The value after "=" reaches the command as the next argument would.
TEST(CliConventionsTest, OptionValueAfterEqualsSignActsAsTheNextArgument) {
  const struct {
    std::vector<std::string> spaced, joined;
    int exitCode;
    const char* seen;  // in stderr of both
  } cases[] = {
      {{"enter", kAlbum, "--port", "/nonexistent/vrellix"}, {"enter", kAlbum, "--port=/nonexistent/vrellix"}, 1,
       "(/nonexistent/vrellix)"},
      {{"enter", kAlbum, "--simulate", "--delay", "7"}, {"enter", kAlbum, "--simulate", "--delay=7"}, 0,
       "at 7 ms command delay"},
  };
  for (const auto& c : cases) {
    ScratchDir a, b;
    const ProcessResult spaced = RunCli(c.spaced, a);
    const ProcessResult joined = RunCli(c.joined, b);
    EXPECT_EQ(spaced.exitCode, c.exitCode) << spaced.err;
    EXPECT_EQ(joined.exitCode, c.exitCode) << joined.err;
    EXPECT_NE(joined.err.find(c.seen), std::string::npos) << joined.err;
    EXPECT_EQ(joined.err, spaced.err);
    EXPECT_EQ(joined.out, spaced.out);
  }
}

TEST(CliConventionsTest, HelpOfACommandInEveryForm) {
  ScratchDir dir;
  const ProcessResult help = RunCli({"help", "enter"}, dir);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("usage: vrellix-cli enter FILE [--port NAME] [--delay MS] [--yes] [--from WHERE]\n"
                           "       vrellix-cli enter FILE --simulate [--old TEXT] [--delay MS] [--from WHERE]\n"
                           "                         [--silent-at N] [--nak-at N] [--nak-rate P --seed S] [--close-at N]\n",
                           0),
            0u)
      << help.out;
  for (const char* part :
       {"\noptions:\n", "\n  --port NAME ", "\n  -h, --help ", "\nexamples:\n  vrellix-cli enter "}) {
    EXPECT_NE(help.out.find(part), std::string::npos) << part;
  }
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"enter", "--help"}, {"enter", "-h"}, {"enter", "a.csv", "--yes", "--help"}, {"--help", "enter"}}) {
    const ProcessResult other = RunCli(args, dir);
    EXPECT_EQ(other.exitCode, 0) << args[1];
    EXPECT_EQ(other.out, help.out) << args[1];
  }
  // help and version are commands with a help of their own, in every form too.
  for (const std::string command : {"help", "version"}) {
    const ProcessResult own = RunCli({"help", command}, dir);
    EXPECT_EQ(own.out.rfind("usage: vrellix-cli " + command, 0), 0u) << own.err;
    EXPECT_EQ(RunCli({command, "--help"}, dir).out, own.out);
    EXPECT_EQ(RunCli({"--help", command}, dir).out, own.out);
  }
  // The overview: on request to stdout, with no command to stderr as a usage error.
  const ProcessResult overview = RunCli({"help"}, dir);
  EXPECT_EQ(overview.exitCode, 0);
  EXPECT_NE(overview.out.find("\n  simulate "), std::string::npos) << overview.out;
  const ProcessResult bare = RunCli({}, dir);
  EXPECT_EQ(bare.exitCode, 2);
  EXPECT_EQ(bare.err, overview.out);
}

TEST(CliConventionsTest, VersionIsTheProjectVersion) {
  ScratchDir dir;
  for (const char* form : {"--version", "version"}) {
    const ProcessResult run = RunCli({form}, dir);
    EXPECT_EQ(run.exitCode, 0) << form;
    EXPECT_EQ(run.out, "vrellix-cli " VRELLIX_PROJECT_VERSION "\n") << form;
  }
}

TEST(CliConventionsTest, UsageErrorsNameWhatIsWrong) {
  ScratchDir dir;
  const struct {
    std::vector<std::string> args;
    const char* firstLine;
  } cases[] = {
      {{"entr", "a.csv"}, "vrellix-cli: unknown command 'entr'; did you mean 'enter'?"},
      {{"help", "plna"}, "vrellix-cli: unknown command 'plna'; did you mean 'plan'?"},
      {{"plan", kAlbum, "--delay", "abc"}, "vrellix-cli plan: --delay: 'abc' is not a number of milliseconds"},
      {{"enter", kAlbum, "--simulate", "--yes", "--dealy=5"},
       "vrellix-cli enter: unknown option '--dealy'; did you mean '--delay'?"},
      {{"simulate", "--late-at", "3"}, "vrellix-cli simulate: --late-at needs 2 values (N MS)"},
      {{"enter", kAlbum, "--simulate", "--port", "x"},
       "vrellix-cli enter: --simulate and --port cannot be used together"},
  };
  for (const auto& c : cases) {
    const ProcessResult run = RunCli(c.args, dir);
    EXPECT_EQ(run.exitCode, 2) << c.firstLine;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.firstLine);
  }
}

}  // namespace
}  // namespace vrellix
