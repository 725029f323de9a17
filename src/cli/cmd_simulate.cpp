// vrellix-cli simulate: serves the simulated transmitter and device on a
// pseudo-terminal until SIGINT or SIGTERM, then prints what the device holds.
#include <cctype>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console.h"
#include "sim/pty_server.h"
#include "sim/simulated_device.h"
#include "text/text_codec.h"

namespace vrellix::cli {
namespace {

constexpr double kMostPacket = 1000000000;
constexpr double kMostLateMs = 600000;
constexpr std::size_t kMostJunkBytes = 64;

// Pairs of hex digits, one byte each.
bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>* out) {
  if (text.empty() || text.size() % 2 != 0 || text.size() / 2 > kMostJunkBytes) return false;
  out->clear();
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const std::string pair = text.substr(i, 2);
    if (!std::isxdigit(static_cast<unsigned char>(pair[0])) || !std::isxdigit(static_cast<unsigned char>(pair[1]))) {
      return false;
    }
    out->push_back(static_cast<std::uint8_t>(std::strtoul(pair.c_str(), nullptr, 16)));
  }
  return true;
}

bool IsHexBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  return ParseHexBytes(text, &bytes);
}

ValueSpec PacketNumber() { return Integer("N", "a packet number", 1, kMostPacket); }

int PacketOf(const OptionUse& use) { return static_cast<int>(use.values[0].integer); }

int Run(const ParsedArgs& args) {
  sim::SimulatorOptions options;
  if (const std::optional<std::string> old = args.Text("--old")) {
    const std::optional<std::string> cp932 = Utf8ToCp932(*old);
    if (!cp932) return UsageError(SimulateCommand(), "--old holds a character that code page 932 cannot hold");
    options.oldText = *cp932;
  }
  if (const auto packet = args.Integer("--silent-at")) options.silentAt = static_cast<int>(*packet);
  if (const auto packet = args.Integer("--nak-at")) options.nakAt = static_cast<int>(*packet);
  if (const auto packet = args.Integer("--close-at")) options.closeAt = static_cast<int>(*packet);
  if (const auto rate = args.Real("--nak-rate")) options.nakRate = *rate;
  if (const auto seed = args.Integer("--seed")) options.seed = static_cast<std::uint32_t>(*seed);
  // The faults in the order given, as the simulator looks them up by packet.
  for (const OptionUse& use : args.uses) {
    sim::PacketFault fault;
    if (use.option->name == std::string("--late-at")) {
      fault.kind = sim::PacketFault::kLate;
      fault.lateMs = static_cast<int>(use.values[1].integer);
    } else if (use.option->name == std::string("--double-at")) {
      fault.kind = sim::PacketFault::kDoubled;
    } else if (use.option->name == std::string("--junk-at")) {
      fault.kind = sim::PacketFault::kJunk;
      ParseHexBytes(use.values[1].text, &fault.junk);
    } else {
      continue;
    }
    fault.packet = PacketOf(use);
    options.faults.push_back(std::move(fault));
  }

  sim::SimulatedDevice device(options);
  sim::PtyServer server(device);
  std::string error;
  if (!server.Open(&error)) {
    Print(stderr, "vrellix-cli simulate: %s\n", error.c_str());
    return 1;
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
  return kExitDone;
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
       {Option("--old", {TextOrEmpty("TEXT", "a text")}, "what the device's fields hold at the start"),
        Option("--silent-at", {PacketNumber()}, "packet N gets no answer"),
        Option("--nak-at", {PacketNumber()}, "packet N is answered with NAK"),
        Option("--nak-rate", {Real("P", "a probability", 0, 1)}, "each packet is answered with NAK with probability P"),
        Option("--seed", {Integer("S", "a whole number", 0, 4294967295.0)}, "the seed of the --nak-rate draws"),
        Option("--close-at", {PacketNumber()}, "the line hangs up after packet N's answer"),
        Option("--late-at", {PacketNumber(), Integer("MS", "a number of milliseconds", 0, kMostLateMs)},
               "the ACK of packet N comes MS milliseconds late (may be repeated)")
            .Repeatable(),
        Option("--double-at", {PacketNumber()}, "packet N is answered with two ACKs (may be repeated)").Repeatable(),
        Option("--junk-at", {PacketNumber(), CheckedText("HEX", "1 to 64 bytes in hex", IsHexBytes)},
               "packet N is answered with these bytes (e.g. 0600) instead of\nan ACK (may be repeated)")
            .Repeatable()}},
      {"vrellix-cli simulate --nak-at 3 --late-at 5 400"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
