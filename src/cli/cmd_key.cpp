// vrellix-cli key: sends remote-control keys through the transmitter, one
// acknowledged exchange at a time, exactly as the entry job does.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/link_setup.h"
#include "link/clock.h"
#include "link/key_link.h"
#include "link/keys.h"
#include "link/serial_port.h"
#include "link/stop_event.h"

namespace vrellix::cli {

namespace {

constexpr int kExitAllAcknowledged = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;  // the shell's code for "ended by SIGINT"

const char kUsage[] =
    "usage: vrellix-cli key KEY... [--port NAME] [--delay MS]\n"
    "  KEY      a key name (KEY_SELECT, select, MENU_DOWN, ...) or a decimal key code\n"
    "  --port   the serial device (a path or name, or a port number) instead of the\n"
    "           one in rzt_input.ini, for this run only\n"
    "  --delay  milliseconds to wait after each acknowledged key, for this run only\n";

struct KeyOptions {
  std::vector<int> keys;
  std::optional<std::string> port;
  std::optional<int> delayMs;
};

// Splits "--name=value" or takes the value from the next argument.
bool OptionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
                 std::string* value, bool* matched) {
  const std::string& arg = args[i];
  *matched = false;
  if (arg == name) {
    *matched = true;
    if (i + 1 >= args.size()) return false;
    *value = args[++i];
    return true;
  }
  if (arg.compare(0, name.size() + 1, name + "=") == 0) {
    *matched = true;
    *value = arg.substr(name.size() + 1);
    return true;
  }
  return true;
}

// Returns an exit code when the arguments cannot be run.
std::optional<int> ParseArguments(const std::vector<std::string>& args, KeyOptions* options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return kExitAllAcknowledged;
    }
    std::string value;
    bool matched = false;
    if (!OptionValue(args, i, "--port", &value, &matched) || (matched && value.empty())) {
      std::fprintf(stderr, "vrellix-cli key: --port needs a device name or port number\n");
      return kExitUsage;
    }
    if (matched) {
      options->port = value;
      continue;
    }
    if (!OptionValue(args, i, "--delay", &value, &matched) || (matched && !IsDecimal(value))) {
      std::fprintf(stderr, "vrellix-cli key: --delay needs a number of milliseconds (0 or more)\n");
      return kExitUsage;
    }
    if (matched) {
      options->delayMs = std::stoi(value);
      continue;
    }
    if (arg.compare(0, 2, "--") == 0) {
      std::fprintf(stderr, "vrellix-cli key: unknown option '%s'\n%s", arg.c_str(), kUsage);
      return kExitUsage;
    }
    const std::optional<int> key = ParseKey(arg);
    if (!key) {
      std::fprintf(stderr,
                   "vrellix-cli key: unknown key '%s' (a name such as KEY_SELECT or a decimal code)\n",
                   arg.c_str());
      return kExitUsage;
    }
    options->keys.push_back(*key);
  }
  if (options->keys.empty()) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  return std::nullopt;
}

void PrintKeyLine(int key, const char* outcome) {
  std::printf("%s %s\n", KeyName(key).c_str(), outcome);
  std::fflush(stdout);  // one line per exchange, as it happens
}

}  // namespace

int RunKey(const std::vector<std::string>& args) {
  // Every argument is checked before the settings file or the port is touched.
  KeyOptions options;
  if (const std::optional<int> exitCode = ParseArguments(args, &options)) return *exitCode;

  StopEvent stop;
  InterruptToStop interrupt(stop);

  const std::optional<OpenLink> opened = OpenConfiguredLink({options.port, options.delayMs});
  if (!opened) return kExitFailed;

  SystemClock clock;
  KeyLink link(*opened->port, clock, stop, opened->settings.m_nCommandDelay);

  bool allAcknowledged = true;
  std::size_t next = 0;
  for (; next < options.keys.size(); ++next) {
    const int key = options.keys[next];
    const KeyResult result = link.PutCommand(key);
    if (result == KeyResult::kStopped) break;  // this key was not sent
    if (result == KeyResult::kAcknowledged) {
      PrintKeyLine(key, "acknowledged");
      continue;
    }
    PrintKeyLine(key, link.LastKeyOutOfStep() ? "out of step: a reply came that belongs to no packet"
                                               : "not acknowledged after 2 tries");
    allAcknowledged = false;
    // Like the entry job, the first failure ends the run: later keys would act
    // on a device in an unknown state.
    ++next;
    break;
  }
  for (; next < options.keys.size(); ++next) PrintKeyLine(options.keys[next], "not sent");
  // A reply after the last key belongs to no packet: a key went through twice.
  if (allAcknowledged && !stop.IsSet() && !link.LineSettled() && !stop.IsSet()) {
    std::fprintf(stderr, "vrellix-cli key: a reply came after the last key; a key may have reached the device twice\n");
    allAcknowledged = false;
  }

  if (stop.IsSet()) {
    std::fprintf(stderr, "vrellix-cli key: interrupted; nothing more was sent\n");
    return kExitInterrupted;
  }
  return allAcknowledged ? kExitAllAcknowledged : kExitFailed;
}

}  // namespace vrellix::cli
