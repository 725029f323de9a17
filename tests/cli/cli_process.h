// Runs vrellix-cli as a child process in a directory of its own and collects
// what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace vrellix::testing {

inline ProcessResult RunCliIn(const std::filesystem::path& dir, const std::vector<std::string>& args) {
  ChildProcess child(VRELLIX_CLI_PATH, args, dir);
  return child.Wait();
}

inline ProcessResult RunCli(const std::vector<std::string>& args, const ScratchDir& dir) {
  return RunCliIn(dir.Path(), args);
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace vrellix::testing
