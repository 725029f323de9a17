// Continuing an entry job from where it stopped: the --from option of enter,
// and what enter prints after a failure or a stop.
#pragma once

#include <optional>
#include <string>

#include "cli/arg_parser.h"
#include "job/job_place.h"

namespace vrellix::cli {

// "start" → the start of the album; "track:N" (N from 1 to 50) → track N.
// Anything else → nothing.
std::optional<JobPlace> ParseFromValue(const std::string& text);

// The value of --from.
ValueSpec FromValue();

// The command line that continues the job of args (a parsed enter command)
// from place: the same file and options, with "--from track:N" for a track,
// without --from for a header field. Words are quoted for the shell.
std::string ContinueCommand(const ParsedArgs& args, const JobPlace& place);

// Writes, to stderr, where the job was, what to do on the device first (unless
// there is no device to put back, as with the simulator), and the command that
// continues it.
void PrintWhereItStopped(const ParsedArgs& args, const JobPlace& place, bool deviceInstruction);

}  // namespace vrellix::cli
