// vrellix-cli enter FILE --simulate: the whole job against the simulated
// device in process, instantly, instead of through a transmitter.
#pragma once

#include <optional>
#include <string>

namespace vrellix::cli {

// Loads and checks the album, runs the job against a simulated device whose
// fields start holding oldUtf8 (the simulator's default when not given), prints
// what the device holds for each field the album sets and every model error,
// and returns 0 only when the job succeeded, every field equals the album and
// no model error occurred. No port is opened and no settings file is created;
// the command delay is commandDelay, else the settings file's when present.
int RunSimulatedEnter(const std::string& path, const std::optional<std::string>& oldUtf8,
                      std::optional<int> commandDelay);

}  // namespace vrellix::cli
