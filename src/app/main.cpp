// vrellix: the window program. `vrellix --simulate` types into the built-in
// device simulator instead of the serial port; --help and --version print and
// end before anything needs a display.
#include <cstdio>
#include <string>
#include <vector>

#include "app/titler_app.h"
#include "sim/simulator_line.h"
#include "window/program_arguments.h"

int main(int argc, char** argv) {
  // Read before Qt, which would take its own options and needs a display.
  const vrellix::ProgramStart start = vrellix::ReadProgramArguments(std::vector<std::string>(argv + 1, argv + argc));
  using Action = vrellix::ProgramStart::Action;
  if (start.action != Action::kRun) {
    std::fputs(start.text.c_str(), start.action == Action::kPrint ? stdout : stderr);
    return start.exitCode;
  }
  vrellix::TitlerOptions options;
  if (start.simulate) options.openLine = vrellix::sim::SimulatorLines();
  vrellix::CTitlerApp app(argc, argv, options);
  app.InitInstance();
  return 0;
}
