// vrellix-cli: the command-line front end over the core.
#include <exception>

#include "cli/command.h"
#include "cli/console.h"

int main(int argc, char** argv) {
  vrellix::cli::UseUtf8Output();
  // The commands turn every failure they foresee into a message; anything
  // else still ends as a failure with its reason, never as an abort.
  try {
    return static_cast<int>(vrellix::cli::RunCommandLine(vrellix::cli::CommandLineArguments(argc, argv)));
  } catch (const std::exception& error) {
    vrellix::cli::Print(stderr, "vrellix-cli: %s\n", error.what());
    return static_cast<int>(vrellix::cli::ExitCode::kFailed);
  }
}
