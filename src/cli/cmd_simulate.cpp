// vrellix-cli simulate: serves the simulated transmitter and device on a
// pseudo-terminal until SIGINT or SIGTERM, then prints what the device holds.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "sim/pty_server.h"
#include "sim/simulated_device.h"
#include "text/text_codec.h"

namespace vrellix::cli {
namespace {

constexpr const char* kSimulateUsage =
    "usage: vrellix-cli simulate [--old TEXT] [--silent-at N] [--nak-at N]\n"
    "                            [--nak-rate P --seed S] [--close-at N]\n"
    "                            [--late-at N MS] [--double-at N] [--junk-at N HEX]\n"
    "  --late-at N MS   the ACK of packet N comes MS milliseconds late\n"
    "  --double-at N    packet N is answered with two ACKs\n"
    "  --junk-at N HEX  packet N is answered with these bytes (hex, e.g. 0600) instead of an ACK\n"
    "  The last three may be given more than once. Packets are counted from 1; a late\n"
    "  or doubled answer means the key reached the device, junk only when it holds 06.\n";

constexpr long kMostLateMs = 600000;
constexpr std::size_t kMostJunkBytes = 64;

bool ParsePacketNumber(const std::string& text, int* out) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || value < 1 || value > 1000000000L) return false;
  *out = static_cast<int>(value);
  return true;
}

bool ParseLateMs(const std::string& text, int* out) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || value < 0 || value > kMostLateMs) return false;
  *out = static_cast<int>(value);
  return true;
}

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

bool ParseRate(const std::string& text, double* out) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end == text.c_str() || *end != '\0' || !(value >= 0.0 && value <= 1.0)) return false;
  *out = value;
  return true;
}

bool ParseSeed(const std::string& text, std::uint32_t* out) {
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || text[0] == '-' || value > 0xFFFFFFFFull) {
    return false;
  }
  *out = static_cast<std::uint32_t>(value);
  return true;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vrellix-cli simulate: %s\n%s", message.c_str(), kSimulateUsage);
  return 2;
}

}  // namespace

int RunSimulate(const std::vector<std::string>& args) {
  sim::SimulatorOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "-h" || option == "--help") {
      std::fputs(kSimulateUsage, stdout);
      return 0;
    }
    if (i + 1 >= args.size()) return Fail("unknown option or missing value: " + option);
    const std::string& value = args[++i];
    if (option == "--late-at" || option == "--double-at" || option == "--junk-at") {
      sim::PacketFault fault;
      if (!ParsePacketNumber(value, &fault.packet)) return Fail(option + " needs a packet number from 1");
      if (option == "--double-at") {
        fault.kind = sim::PacketFault::kDoubled;
      } else if (i + 1 >= args.size()) {
        return Fail("missing value: " + option);
      } else if (option == "--late-at") {
        fault.kind = sim::PacketFault::kLate;
        if (!ParseLateMs(args[++i], &fault.lateMs)) {
          return Fail("--late-at needs milliseconds from 0 to " + std::to_string(kMostLateMs));
        }
      } else {
        fault.kind = sim::PacketFault::kJunk;
        if (!ParseHexBytes(args[++i], &fault.junk)) {
          return Fail("--junk-at needs 1 to " + std::to_string(kMostJunkBytes) + " bytes in hex, e.g. 0600");
        }
      }
      options.faults.push_back(std::move(fault));
    } else if (option == "--old") {
      const std::optional<std::string> cp932 = Utf8ToCp932(value);
      if (!cp932) return Fail("--old holds a character that code page 932 cannot hold");
      options.oldText = *cp932;
    } else if (option == "--silent-at") {
      if (!ParsePacketNumber(value, &options.silentAt)) return Fail("--silent-at needs a packet number from 1");
    } else if (option == "--nak-at") {
      if (!ParsePacketNumber(value, &options.nakAt)) return Fail("--nak-at needs a packet number from 1");
    } else if (option == "--close-at") {
      if (!ParsePacketNumber(value, &options.closeAt)) return Fail("--close-at needs a packet number from 1");
    } else if (option == "--nak-rate") {
      if (!ParseRate(value, &options.nakRate)) return Fail("--nak-rate needs a number from 0 to 1");
    } else if (option == "--seed") {
      if (!ParseSeed(value, &options.seed)) return Fail("--seed needs a number from 0 to 4294967295");
    } else {
      return Fail("unknown option: " + option);
    }
  }

  sim::SimulatedDevice device(options);
  sim::PtyServer server(device);
  std::string error;
  if (!server.Open(&error)) {
    std::fprintf(stderr, "vrellix-cli simulate: %s\n", error.c_str());
    return 1;
  }
  // The handlers go in before the port is announced, so a stop sent at once is not lost.
  server.StopOnSignals();
  std::printf("port %s\n", server.SlavePath().c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "simulating the transmitter on %s; Ctrl+C ends and prints what the device holds\n",
               server.SlavePath().c_str());

  server.Serve();

  const std::string dump = device.Dump();
  std::fwrite(dump.data(), 1, dump.size(), stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace vrellix::cli
