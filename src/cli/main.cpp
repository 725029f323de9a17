// vrellix-cli: the command-line front end over the core.
#include "cli/command.h"
#include "cli/console.h"

int main(int argc, char** argv) {
  vrellix::cli::UseUtf8Output();
  return vrellix::cli::RunCommandLine(vrellix::cli::CommandLineArguments(argc, argv));
}
