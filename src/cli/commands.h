// The subcommands of vrellix-cli. Each takes the arguments after its name and
// returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace vrellix::cli {

int RunKey(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunNormalize(const std::vector<std::string>& args);
int RunSimulate(const std::vector<std::string>& args);
int RunPlan(const std::vector<std::string>& args);
int RunEnter(const std::vector<std::string>& args);
int RunPorts(const std::vector<std::string>& args);

}  // namespace vrellix::cli
