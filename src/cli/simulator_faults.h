// The simulator's line faults as options, the same for `simulate` (on a
// pseudo-terminal, in real time) and `enter --simulate` (in process, at once).
#pragma once

#include <vector>

#include "cli/arg_parser.h"
#include "sim/simulated_device.h"

namespace vrellix::cli {

// The fault options, as the help lists them, after options.
std::vector<OptionSpec> WithFaultOptions(std::vector<OptionSpec> options);

// The first fault option on the command line, or nullptr when there is none.
const char* FirstFaultOption(const ParsedArgs& args);

// Sets the faults args ask for on options; the repeated ones in the order
// given, as the simulator looks them up by packet.
void ApplyFaultOptions(const ParsedArgs& args, sim::SimulatorOptions* options);

}  // namespace vrellix::cli
