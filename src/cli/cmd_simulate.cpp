// vrellix-cli simulate: serves the simulated transmitter and device on a
// pseudo-terminal until SIGINT or SIGTERM, then prints what the device holds.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/simulator_faults.h"
#include "sim/pty_server.h"
#include "sim/simulated_device.h"
#include "text/text_codec.h"

namespace vrellix::cli {
namespace {

ExitCode Run(const ParsedArgs& args) {
  sim::SimulatorOptions options;
  if (const std::optional<std::string> old = args.Text("--old")) {
    const std::optional<std::string> cp932 = Utf8ToCp932(*old);
    if (!cp932) return UsageError(SimulateCommand(), "--old holds a character that code page 932 cannot hold");
    options.oldText = *cp932;
  }
  ApplyFaultOptions(args, &options);

  sim::SimulatedDevice device(options);
  sim::PtyServer server(device);
  std::string error;
  if (!server.Open(&error)) {
    Print(stderr, "vrellix-cli simulate: %s\n", error.c_str());
    return ExitCode::kFailed;
  }
  // The handlers go in before the port is announced, so a stop sent at once is not lost.
  server.StopOnSignals();
  Print(stdout, "port %s\n", server.SlavePath().c_str());
  std::fflush(stdout);
  Print(stderr, "simulating the transmitter on %s; Ctrl+C ends and prints what the device holds\n",
               server.SlavePath().c_str());

  server.Serve();

  const std::string dump = device.Dump();
  Write(stdout, dump);
  std::fflush(stdout);
  return ExitCode::kDone;
}

}  // namespace

const Command& SimulateCommand() {
  static const Command command{
      "simulate",
      "serves a simulated transmitter and device on a pseudo-terminal",
      {"simulate [--old TEXT] [--silent-at N] [--nak-at N]",
       "         [--nak-rate P --seed S] [--close-at N]",
       "         [--late-at N MS] [--double-at N] [--junk-at N HEX]"},
      "Serves the transmitter and the device on a pseudo-terminal (Linux, macOS).\n"
      "The first line printed is 'port <path>': point --port or the window\n"
      "program's ｼﾘｱﾙﾎﾟｰﾄ名 at it. Ctrl-C ends it and prints what the device holds.\n"
      "Faults are given by packet number, counted from 1. A late or doubled answer\n"
      "means the key reached the device, junk only when it holds 06; lost and\n"
      "refused packets do not.\n",
      {{},
       WithFaultOptions(
           {Option("--old", {TextOrEmpty("TEXT", "a text")}, "what the device's fields hold at the start")})},
      {"vrellix-cli simulate --nak-at 3 --late-at 5 400"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
