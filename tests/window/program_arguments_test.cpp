// The window program's command line: help and the version before anything
// else, --simulate, and every other argument a usage error.
#include "window/program_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "version/version.h"

namespace vrellix {
namespace {

using Action = ProgramStart::Action;

TEST(ProgramArguments, HelpAndVersionPrintAndAnythingUnknownIsAUsageError) {
  const std::string usage = "usage: vrellix [--simulate]\n       vrellix --help | --version\n";
  const struct {
    std::vector<std::string> args;
    Action action;
    bool simulate;
    std::string textStart;
  } cases[] = {
      {{}, Action::kRun, false, ""},
      {{"--simulate"}, Action::kRun, true, ""},
      {{"--help"}, Action::kPrint, false, usage + "\n"},
      {{"-h", "--bogus"}, Action::kPrint, false, usage + "\n"},
      {{"--simulate", "--version"}, Action::kPrint, false, std::string("vrellix ") + kVersion + "\n"},
      {{"--simulat"}, Action::kUsageError, false, "vrellix: unknown option '--simulat'\n" + usage},
      {{"--simulate", "album.csv"}, Action::kUsageError, false, "vrellix: unexpected argument 'album.csv'\n" + usage},
      {{"-"}, Action::kUsageError, false, "vrellix: unexpected argument '-'\n" + usage},
  };
  for (const auto& c : cases) {
    const ProgramStart start = ReadProgramArguments(c.args);
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
    EXPECT_EQ(start.action, c.action);
    EXPECT_EQ(start.simulate, c.simulate);
    // A usage error's text is the whole of it; help goes on after the usage.
    EXPECT_EQ(c.action == Action::kUsageError ? start.text : start.text.substr(0, c.textStart.size()), c.textStart);
    EXPECT_EQ(start.exitCode, c.action == Action::kUsageError ? 2 : 0);
  }
}

}  // namespace
}  // namespace vrellix
