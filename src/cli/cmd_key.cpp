// vrellix-cli key: sends remote-control keys through the transmitter, one
// acknowledged exchange at a time, exactly as the entry job does.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/link_setup.h"
#include "keys/key_link.h"
#include "keys/keys.h"
#include "serial/serial_port.h"
#include "timing/clock.h"
#include "timing/stop_event.h"

namespace vrellix::cli {

namespace {

// The key codes, or the first name that is no key.
std::vector<int> ParseKeys(const std::vector<std::string>& names, std::string* unknown) {
  std::vector<int> keys;
  for (const std::string& name : names) {
    const std::optional<int> key = ParseKey(name);
    if (!key) {
      *unknown = name;
      return {};
    }
    keys.push_back(*key);
  }
  return keys;
}

void PrintKeyLine(int key, const char* outcome) {
  Print(stdout, "%s %s\n", KeyName(key).c_str(), outcome);
  std::fflush(stdout);  // one line per exchange, as it happens
}

ExitCode Run(const ParsedArgs& args) {
  // Every key is checked before the settings file or the port is touched.
  std::string unknown;
  const std::vector<int> keys = ParseKeys(args.arguments, &unknown);
  if (!unknown.empty()) {
    return UsageError(KeyCommand(), "unknown key '" + unknown + "' (a name such as KEY_SELECT or a decimal code)");
  }
  LinkOverrides overrides;
  overrides.port = args.Text("--port");
  if (const std::optional<long long> delay = args.Integer("--delay")) overrides.commandDelay = static_cast<int>(*delay);

  StopEvent stop;
  InterruptToStop interrupt(stop);

  const std::optional<OpenLink> opened = OpenConfiguredLink(overrides);
  if (!opened) return ExitCode::kFailed;

  SystemClock clock;
  KeyLink link(*opened->port, clock, stop, opened->settings.m_nCommandDelay);

  bool allAcknowledged = true;
  std::size_t next = 0;
  for (; next < keys.size(); ++next) {
    const int key = keys[next];
    const KeyResult result = link.PutCommand(key);
    if (result == KeyResult::kStopped) {
      // Stopped before its first try, the key was not sent and is listed so
      // below; after one, it may have reached the device unconfirmed.
      if (link.LastKeyWasTried()) {
        PrintKeyLine(key, "stopped before it was acknowledged; it may have reached the device");
        ++next;
      }
      break;
    }
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
  for (; next < keys.size(); ++next) PrintKeyLine(keys[next], "not sent");
  // A reply after the last key belongs to no packet: a key went through twice.
  if (allAcknowledged && !stop.IsSet() && !link.LineSettled() && !stop.IsSet()) {
    Print(stderr, "vrellix-cli key: a reply came after the last key; a key may have reached the device twice\n");
    allAcknowledged = false;
  }

  if (stop.IsSet()) {
    Print(stderr, "vrellix-cli key: interrupted; nothing more was sent\n");
    return ExitCode::kInterrupted;
  }
  return allAcknowledged ? ExitCode::kDone : ExitCode::kFailed;
}

}  // namespace

const Command& KeyCommand() {
  static const Command command{
      "key",
      "sends remote-control keys through the transmitter",
      {"key KEY... [--port NAME] [--delay MS]"},
      "Sends the keys one acknowledged exchange at a time, exactly as the entry job\n"
      "does, and prints one line per key. Exits 0 when every key was acknowledged\n"
      "and no reply came after the last one within a second; the first key that is\n"
      "not acknowledged ends the run. This is how to check that the transmitter\n"
      "answers. rzt_input.ini is read, and created when missing, as at start-up.\n",
      {{{Text("KEY", "a key"), "a key name (KEY_SELECT, select, MENU_DOWN, ...) or a decimal\nkey code", true}},
       {Option("--port", {PortValue()},
               "the serial device (a path or name, or a port number)\n"
               "instead of the one in rzt_input.ini, for this run only"),
        Option("--delay", {DelayValue()},
               "milliseconds to wait after each acknowledged key\n"
               "instead of ｺﾏﾝﾄﾞDELAY, for this run only")}},
      {"vrellix-cli key select MENU_DOWN --port /dev/ttyUSB0"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
