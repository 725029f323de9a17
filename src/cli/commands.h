// The subcommands of vrellix-cli, one file each.
#pragma once

#include "cli/command.h"

namespace vrellix::cli {

const Command& KeyCommand();
const Command& CheckCommand();
const Command& NormalizeCommand();
const Command& PlanCommand();
const Command& EnterCommand();
const Command& PortsCommand();
const Command& SimulateCommand();
const Command& ReadingsCommand();
const Command& ReadingCommand();
const Command& LearnCommand();
const Command& ImportCueCommand();

}  // namespace vrellix::cli
