// The window program's command line: help and the version first, --simulate,
// and anything else a usage error.
#include "window/program_arguments.h"

#include <gtest/gtest.h>

#include "version/version.h"

namespace vrellix {
namespace {

TEST(ProgramArguments, HelpAndVersionPrintAndAnythingUnknownIsAUsageError) {
  using Action = ProgramStart::Action;
  const std::string usage = "usage: vrellix [--simulate]\n       vrellix --help | --version\n";
  const struct {
    std::vector<std::string> args;
    Action action;
    std::string text;  // a usage error's whole text, or what printing starts with
  } cases[] = {
      {{}, Action::kRun, ""},
      {{"--simulate"}, Action::kRun, ""},
      {{"-h", "--bogus"}, Action::kPrint, usage + "\n"},
      {{"--simulate", "--version"}, Action::kPrint, std::string("vrellix ") + kVersion + "\n"},
      {{"--simulat"}, Action::kUsageError, "vrellix: unknown option '--simulat'\n" + usage},
      {{"--simulate", "a.csv"}, Action::kUsageError, "vrellix: unexpected argument 'a.csv'\n" + usage},
  };
  for (const auto& c : cases) {
    const ProgramStart start = ReadProgramArguments(c.args);
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
    EXPECT_EQ(start.action, c.action);
    EXPECT_EQ(start.simulate, c.args == std::vector<std::string>{"--simulate"});
    EXPECT_EQ(c.action == Action::kUsageError ? start.text : start.text.substr(0, c.text.size()), c.text);
    EXPECT_EQ(start.exitCode, c.action == Action::kUsageError ? 2 : 0);
  }
}

}  // namespace
}  // namespace vrellix
