// Runs vrellix-cli as a child process in a directory of its own and collects
// what it printed. POSIX only, like the pseudo-terminal tests that use it.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace vrellix::testing {

inline ProcessResult RunCli(const std::vector<std::string>& args, const ScratchDir& dir) {
  ChildProcess child(VRELLIX_CLI_PATH, args, dir.Path());
  return child.Wait();
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace vrellix::testing
