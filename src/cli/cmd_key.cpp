// Stand-in so that vrellix-cli links on this branch; the key command itself
// comes with the device link's branch, whose cmd_key.cpp replaces this file.
#include <cstdio>

#include "cli/commands.h"

namespace vrellix::cli {

int RunKey(const std::vector<std::string>&) {
  std::fprintf(stderr, "vrellix-cli: the key command is not part of this build\n");
  return 2;
}

}  // namespace vrellix::cli
