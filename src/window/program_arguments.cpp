#include "window/program_arguments.h"

#include <utility>

#include "version/version.h"

namespace vrellix {

namespace {

constexpr char kUsage[] = "usage: vrellix [--simulate]\n       vrellix --help | --version\n";

constexpr char kHelp[] =
    "\n"
    "Opens the window in which an album's title, reading, artist and tracks are\n"
    "typed or loaded from a CSV file, checked, and entered into the device through\n"
    "the infrared transmitter on the serial port that rzt_input.ini names (the\n"
    "window's menu item 通信設定 chooses it).\n"
    "\n"
    "options:\n"
    "  --simulate  enters into the built-in device simulator instead of the port\n"
    "              and shows what the simulated device holds after each job\n"
    "  -h, --help  shows this help\n"
    "  --version   prints the version\n";

ProgramStart Print(std::string text) {
  ProgramStart start;
  start.action = ProgramStart::Action::kPrint;
  start.text = std::move(text);
  return start;
}

ProgramStart UsageError(const std::string& problem) {
  ProgramStart start;
  start.action = ProgramStart::Action::kUsageError;
  start.text = "vrellix: " + problem + "\n" + kUsage;
  start.exitCode = 2;
  return start;
}

}  // namespace

ProgramStart ReadProgramArguments(const std::vector<std::string>& args) {
  ProgramStart start;
  for (const std::string& arg : args) {
    // Help and the version win over whatever else is given, as in vrellix-cli.
    if (arg == "--help" || arg == "-h") return Print(std::string(kUsage) + kHelp);
    if (arg == "--version") return Print(std::string("vrellix ") + kVersion + "\n");
  }
  for (const std::string& arg : args) {
    if (arg == "--simulate") {
      start.simulate = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option '" + arg + "'");
    } else {
      return UsageError("unexpected argument '" + arg + "'");
    }
  }
  return start;
}

}  // namespace vrellix
