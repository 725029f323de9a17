#include "cli/simulator_faults.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

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

const char* const kFaultOptionNames[] = {"--silent-at", "--nak-at",    "--nak-rate",  "--seed",
                                         "--close-at",  "--late-at",   "--double-at", "--junk-at"};

}  // namespace

std::vector<OptionSpec> WithFaultOptions(std::vector<OptionSpec> options) {
  std::vector<OptionSpec> faults{
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
          .Repeatable()};
  options.insert(options.end(), std::make_move_iterator(faults.begin()), std::make_move_iterator(faults.end()));
  return options;
}

const char* FirstFaultOption(const ParsedArgs& args) {
  for (const OptionUse& use : args.uses) {
    for (const char* name : kFaultOptionNames) {
      if (use.option->name == std::string(name)) return name;
    }
  }
  return nullptr;
}

void ApplyFaultOptions(const ParsedArgs& args, sim::SimulatorOptions* options) {
  if (const auto packet = args.Integer("--silent-at")) options->silentAt = static_cast<int>(*packet);
  if (const auto packet = args.Integer("--nak-at")) options->nakAt = static_cast<int>(*packet);
  if (const auto packet = args.Integer("--close-at")) options->closeAt = static_cast<int>(*packet);
  if (const auto rate = args.Real("--nak-rate")) options->nakRate = *rate;
  if (const auto seed = args.Integer("--seed")) options->seed = static_cast<std::uint32_t>(*seed);
  for (const OptionUse& use : args.uses) {
    sim::PacketFault fault;
    if (use.option->name == std::string("--late-at")) {
      fault.kind = sim::PacketFault::Kind::kLate;
      fault.lateMs = static_cast<int>(use.values[1].integer);
    } else if (use.option->name == std::string("--double-at")) {
      fault.kind = sim::PacketFault::Kind::kDoubled;
    } else if (use.option->name == std::string("--junk-at")) {
      fault.kind = sim::PacketFault::Kind::kJunk;
      ParseHexBytes(use.values[1].text, &fault.junk);
    } else {
      continue;
    }
    fault.packet = PacketOf(use);
    options->faults.push_back(std::move(fault));
  }
}

}  // namespace vrellix::cli
