// vrellix-cli enter FILE [--port NAME] [--delay MS] [--yes]: checks the album,
// opens the port, asks, and types the album into the device through the
// transmitter, with a progress line on the terminal.
// With --simulate [--old TEXT] the job runs against the simulated device instead.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/link_setup.h"
#include "cli/simulated_enter.h"
#include "job/job_plan.h"
#include "job/job_runner.h"
#include "link/clock.h"
#include "link/key_link.h"
#include "link/serial_port.h"
#include "messages/messages.h"

namespace vrellix::cli {

namespace {

constexpr auto kRedrawPeriod = std::chrono::milliseconds(200);

bool AskToStart() {
  Print(stdout, "%s [y/N] ", messages::kStartQuestion);
  std::fflush(stdout);
  std::string answer;
  // No terminal, or end of input, means No.
  if (!std::getline(std::cin, answer)) {
    Print(stdout, "\n");
    return false;
  }
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "YES" || answer == "Yes";
}

// The job's reports, kept for the terminal line that the main thread draws.
class TerminalProgress final : public JobReporter, public LinkObserver {
 public:
  TerminalProgress(const JobPlan& plan, int commandDelayMs)
      : m_nPlannedKeys(plan.keys), m_nPlannedPauseMs(plan.pauseMs), m_nCommandDelay(commandDelayMs) {}

  void SetRange(int max) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nRange = max;
  }
  void SetPosition(int position) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nPosition = position;
  }
  void SetStatus(const std::string& text) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_strStatus = text;
  }
  // The runner keeps the result; the main thread asks it.
  bool PostResult(bool) override { return true; }
  void ShowWarning(const std::string& text) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Print(stderr, "\n%s\n", text.c_str());
  }
  void OnKey(int, KeyResult) override { m_nKeysDone.fetch_add(1); }
  void OnPause(int ms) override { m_nPauseDoneMs.fetch_add(ms); }

  // One line: bar, position, status, elapsed time and the estimate of what is left.
  void Draw(std::chrono::steady_clock::duration elapsed) {
    std::lock_guard<std::mutex> lock(m_mutex);
    constexpr int kBarWidth = 20;
    const int filled = m_nRange > 0 ? m_nPosition * kBarWidth / m_nRange : 0;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
    const int keysLeft = m_nPlannedKeys - m_nKeysDone.load();
    const std::int64_t pauseLeft = m_nPlannedPauseMs - m_nPauseDoneMs.load();
    const std::int64_t leftMs = EstimateJobMs(keysLeft > 0 ? keysLeft : 0, pauseLeft > 0 ? pauseLeft : 0,
                                              m_nCommandDelay);
    const std::int64_t elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    Print(stderr, "\r[%s] %d/%d %s  %s, about %s left\x1b[K", bar.c_str(), m_nPosition, m_nRange,
                 m_strStatus.c_str(), FormatMinutesSeconds(elapsedMs).c_str(),
                 FormatMinutesSeconds(leftMs).c_str());
    std::fflush(stderr);
  }

 private:
  const int m_nPlannedKeys;
  const std::int64_t m_nPlannedPauseMs;
  const int m_nCommandDelay;
  std::mutex m_mutex;
  int m_nRange = 0;
  int m_nPosition = 0;
  std::string m_strStatus;
  std::atomic<int> m_nKeysDone{0};
  std::atomic<std::int64_t> m_nPauseDoneMs{0};
};

// Runs the job on its worker thread and follows it until its result or Ctrl-C.
int RunJob(std::unique_ptr<SerialChannel> port, const CheckedAlbum& input, int commandDelay) {
  JobRunner runner(std::move(port), std::make_unique<SystemClock>(), commandDelay);
  TerminalProgress progress(PlanJob(input.album, input.checks, commandDelay), commandDelay);
  runner.SetObserver(&progress);
  runner.SetAlbum(input.album, input.checks);

  // Ctrl-C sets the stop event at once: the key under way finishes, no other is sent.
  InterruptToStop interrupt(runner.StopSignal());
  if (!runner.Start(progress)) {
    Print(stderr, "%s\n", messages::kThreadStartFailed);
    return 1;
  }

  const auto started = std::chrono::steady_clock::now();
  std::optional<bool> result;
  while (!result && !runner.StopSignal().IsSet()) {
    result = runner.WaitForResult(kRedrawPeriod);
    progress.Draw(std::chrono::steady_clock::now() - started);
  }
  Print(stderr, "\n");
  // Ends the worker's wait after its result, or stops it mid-job.
  runner.Stop();

  // A result posted just before Ctrl-C still counts.
  result = runner.Result();
  if (!result) {
    Print(stderr, "vrellix-cli: interrupted\n");
    return kExitInterrupted;
  }
  if (*result) {
    Print(stdout, "%s\n", messages::kJobSucceeded);
    return 0;
  }
  Print(stderr, "%s\n", messages::kJobFailed);
  return 1;
}

int Run(const ParsedArgs& args) {
  const std::string& path = args.arguments[0];
  LinkOverrides overrides;
  overrides.port = args.Text("--port");
  if (const std::optional<long long> delay = args.Integer("--delay")) overrides.commandDelay = static_cast<int>(*delay);
  const bool confirmed = args.Has("--yes");
  const bool simulate = args.Has("--simulate");
  // The simulated device has no port, and only it has old texts to set.
  if (simulate && overrides.port) return UsageError(EnterCommand(), "--simulate and --port cannot be used together");
  if (!simulate && args.Has("--old")) return UsageError(EnterCommand(), "--old needs --simulate");
  // Nothing real is touched, so there is nothing to confirm.
  if (simulate) return RunSimulatedEnter(path, args.Text("--old"), overrides.commandDelay);

  const std::optional<CheckedAlbum> input = LoadCheckedAlbum(path);
  if (!input) return 1;
  // The port first: a wrong port is told before the user is asked anything.
  std::optional<OpenLink> link = OpenConfiguredLink(overrides);
  if (!link) return 1;
  if (!confirmed && !AskToStart()) {
    Print(stderr, "vrellix-cli: not started\n");
    return 1;
  }
  return RunJob(std::move(link->port), *input, link->settings.m_nCommandDelay);
}

}  // namespace

const Command& EnterCommand() {
  static const Command command{
      "enter",
      "keys an album into the device, or into the built-in simulator",
      {"enter FILE [--port NAME] [--delay MS] [--yes]", "enter FILE --simulate [--old TEXT] [--delay MS]"},
      "Checks FILE as 'check' does, opens the port (a port that cannot be opened is\n"
      "reported, with the reason, before any question), asks for confirmation, and\n"
      "keys the album through the transmitter with a one-line progress display.\n"
      "Ctrl-C stops after the key under way. rzt_input.ini is read, and created when\n"
      "missing, as at start-up.\n"
      "With --simulate the same job runs against the built-in model of the device,\n"
      "at once: no port, no question, no settings file written. It prints what the\n"
      "device holds for each field the album sets and exits 0 only when every field\n"
      "equals the album.\n",
      {{AlbumFileArgument()},
       {Option("--port", {PortValue()},
               "the serial device (a path or name, or a port number)\n"
               "instead of the one in rzt_input.ini, for this run only"),
        Option("--delay", {DelayValue()},
               "milliseconds to wait after each acknowledged key\n"
               "instead of ｺﾏﾝﾄﾞDELAY, for this run only"),
        Flag("--yes", "starts without asking"),
        Flag("--simulate", "enters into the built-in simulator of the device"),
        Option("--old", {TextOrEmpty("TEXT", "a text")},
               "what the simulated device's fields hold before the job\n"
               "(at most 16 characters; with --simulate)")}},
      {"vrellix-cli enter examples/album.csv --simulate", "vrellix-cli enter my-album.csv --port /dev/ttyUSB0"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
