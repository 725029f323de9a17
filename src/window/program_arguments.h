// The window program's command line, the same for both window programs: read
// before any window or port exists, so --help and --version work without a
// display.
#pragma once

#include <string>
#include <vector>

namespace vrellix {

struct ProgramStart {
  enum class Action {
    kRun,         // open the window
    kPrint,       // print text to standard output and end with exitCode 0
    kUsageError,  // print text to standard error and end with exitCode 2
  };
  Action action = Action::kRun;
  bool simulate = false;  // --simulate: the built-in device simulator instead of the port
  std::string text;
  int exitCode = 0;
};

// args: the arguments after the program's name (UTF-8).
ProgramStart ReadProgramArguments(const std::vector<std::string>& args);

}  // namespace vrellix
