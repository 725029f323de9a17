// vrellix-cli enter FILE --simulate: the whole job against the simulated
// device in process, instantly, instead of through a transmitter.
#pragma once

#include "cli/arg_parser.h"
#include "cli/command.h"

namespace vrellix::cli {

// For the parsed enter command args (FILE, --old, --delay, --from, the
// simulator's faults): loads and checks the album, runs the job from where
// --from says against a simulated device with those faults whose fields start
// holding the --old text (the simulator's default when not given), prints
// what the device holds for each field the job sets and every model error,
// and returns ExitCode::kDone only when the job succeeded, every field
// equals the album and no model error occurred. No port is opened and no
// settings file is created; the command delay is --delay, else the settings
// file's when present. A failed job is followed by where it was and the
// command that continues it.
ExitCode RunSimulatedEnter(const ParsedArgs& args);

}  // namespace vrellix::cli
