// vrellix-cli: the command-line front end over the core.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>& args);
  const char* usage;
};

const Command kCommands[] = {
    {"key", vrellix::cli::RunKey, "key KEY... [--port NAME] [--delay MS]"},
    {"check", vrellix::cli::RunCheck, "check FILE"},
    {"normalize", vrellix::cli::RunNormalize, "normalize IN [-o OUT]"},
    {"simulate", vrellix::cli::RunSimulate,
     "simulate [--old TEXT] [--silent-at N] [--nak-at N] [--nak-rate P --seed S] [--close-at N]\n"
     "                       [--late-at N MS] [--double-at N] [--junk-at N HEX]"},
    {"plan", vrellix::cli::RunPlan, "plan FILE [--delay MS]"},
    {"enter", vrellix::cli::RunEnter, "enter FILE [--port NAME | --simulate [--old TEXT]] [--delay MS] [--yes]"},
    {"ports", vrellix::cli::RunPorts, "ports"},
};

int Usage(FILE* out) {
  std::fprintf(out, "usage: vrellix-cli COMMAND [ARGS]\n\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  vrellix-cli %s\n", c.usage);
  return out == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  vrellix::cli::UseUtf8Output();
  if (argc < 2) return Usage(stderr);
  const std::string name = argv[1];
  if (name == "-h" || name == "--help" || name == "help") return Usage(stdout);
  for (const Command& c : kCommands) {
    if (name == c.name) return c.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "vrellix-cli: unknown command '%s'\n", name.c_str());
  return Usage(stderr);
}
