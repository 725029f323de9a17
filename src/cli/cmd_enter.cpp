// vrellix-cli enter FILE [--port NAME] [--delay MS] [--yes] [--from WHERE]:
// checks the album, opens the port, asks, and types the album (or its tracks
// from N on) into the device through the transmitter, with a progress line.
// With --simulate [--old TEXT] [faults] the job runs against the simulated device instead.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/enter_resume.h"
#include "cli/link_setup.h"
#include "cli/progress_line.h"
#include "cli/simulated_enter.h"
#include "cli/simulator_faults.h"
#include "job/job_plan.h"
#include "job/job_progress.h"
#include "job/job_runner.h"
#include "keys/key_link.h"
#include "messages/messages.h"
#include "serial/serial_port.h"
#include "timing/clock.h"

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

// Runs the job on its worker thread and follows it until its result or Ctrl-C;
// after a failure or a stop, says where it was and how to continue.
ExitCode RunJob(const ParsedArgs& args, std::unique_ptr<SerialChannel> port, const CheckedAlbum& input,
                int commandDelay) {
  JobRunner runner(std::move(port), std::make_unique<SystemClock>(), commandDelay);
  const AlbumToEnter entry{input.album, input.checks, input.tracksBefore};
  runner.SetAlbum(entry);
  // The same plan as the window's: keys sent of keys planned, on the job's clock.
  JobProgress measured(PlanJob(entry, commandDelay), commandDelay, runner.JobClock());
  runner.SetObserver(&measured);
  ProgressLine progress(measured, stderr, StderrIsTerminal());

  // Ctrl-C sets the stop event at once: the key under way finishes, no other is sent.
  InterruptToStop interrupt(runner.StopSignal());
  if (!runner.Start(progress)) {
    Print(stderr, "%s\n", messages::kThreadStartFailed);
    return ExitCode::kFailed;
  }

  std::optional<bool> result;
  while (!result && !runner.StopSignal().IsSet()) {
    result = runner.WaitForResult(kRedrawPeriod);
    if (!result) progress.Draw();
  }
  // Ends the worker's wait after its result, or stops it mid-job.
  runner.Stop();

  // A result posted just before Ctrl-C still counts.
  result = runner.Result();
  const bool succeeded = result && *result;
  // Where a failed or stopped job ended; a finished one says how long it took.
  if (!succeeded) progress.Draw();
  progress.Finish(succeeded);
  if (succeeded) {
    Print(stdout, "%s\n", messages::kJobSucceeded);
    return ExitCode::kDone;
  }
  Print(stderr, "%s\n", result ? messages::kJobFailed : "vrellix-cli: interrupted");
  if (const std::optional<JobPlace> place = runner.StoppedAt()) PrintWhereItStopped(args, *place, true);
  return result ? ExitCode::kFailed : ExitCode::kInterrupted;
}

ExitCode Run(const ParsedArgs& args) {
  const std::string& path = args.arguments[0];
  LinkOverrides overrides;
  overrides.port = args.Text("--port");
  if (const std::optional<long long> delay = args.Integer("--delay")) overrides.commandDelay = static_cast<int>(*delay);
  const bool confirmed = args.Has("--yes");
  const bool simulate = args.Has("--simulate");
  // The simulated device has no port, and only it has old texts to set.
  if (simulate && overrides.port) return UsageError(EnterCommand(), "--simulate and --port cannot be used together");
  if (!simulate && args.Has("--old")) return UsageError(EnterCommand(), "--old needs --simulate");
  if (const char* fault = FirstFaultOption(args); fault && !simulate) {
    return UsageError(EnterCommand(), std::string(fault) + " needs --simulate");
  }
  // Nothing real is touched, so there is nothing to confirm.
  if (simulate) return RunSimulatedEnter(args);

  const JobPlace from = ParseFromValue(args.Text("--from").value_or("start")).value_or(JobPlace{});
  const std::optional<CheckedAlbum> input = LoadAlbumToEnter(path, from);
  if (!input) return ExitCode::kFailed;
  // The port first: a wrong port is told before the user is asked anything.
  std::optional<OpenLink> link = OpenConfiguredLink(overrides);
  if (!link) return ExitCode::kFailed;
  if (!confirmed && !AskToStart()) {
    Print(stderr, "vrellix-cli: not started\n");
    return ExitCode::kFailed;
  }
  return RunJob(args, std::move(link->port), *input, link->settings.m_nCommandDelay);
}

}  // namespace

const Command& EnterCommand() {
  static const Command command{
      "enter",
      "keys an album into the device, or into the built-in simulator",
      {"enter FILE [--port NAME] [--delay MS] [--yes] [--from WHERE]",
       "enter FILE --simulate [--old TEXT] [--delay MS] [--from WHERE]",
       "      [--silent-at N] [--nak-at N] [--nak-rate P --seed S] [--close-at N]",
       "      [--late-at N MS] [--double-at N] [--junk-at N HEX]"},
      "Checks FILE as 'check' does, opens the port (a port that cannot be opened is\n"
      "reported, with the reason, before any question), asks for confirmation, and\n"
      "keys the album through the transmitter with a one-line progress display.\n"
      "Ctrl-C stops after the key under way. rzt_input.ini is read, and created when\n"
      "missing, as at start-up. After a failure or a stop it says which field the\n"
      "job was in, what to do on the device first, and the command that continues:\n"
      "--from track:N enters the ticked tracks from N on and leaves out the title,\n"
      "reading and artist; the interrupted field is entered again, whole.\n"
      "With --simulate the same job runs against the built-in model of the device,\n"
      "at once: no port, no question, no settings file written. It prints what the\n"
      "device holds for each field the album sets and exits 0 only when every field\n"
      "equals the album. A field the album leaves empty is not entered: each one\n"
      "that still holds the old text (--old) is named, and the album is not held.\n"
      "The line faults of 'simulate' may be given with it: they act on the same\n"
      "virtual clock, so what they do to a whole job shows at once.\n",
      {{AlbumFileArgument()},
       WithFaultOptions({
           Option("--port", {PortValue()},
                  "the serial device (a path or name, or a port number)\n"
                  "instead of the one in rzt_input.ini, for this run only"),
           Option("--delay", {DelayValue()},
                  "milliseconds to wait after each acknowledged key\n"
                  "instead of ｺﾏﾝﾄﾞDELAY, for this run only"),
           Flag("--yes", "starts without asking"),
           Flag("--simulate", "enters into the built-in simulator of the device"),
           Option("--old", {TextOrEmpty("TEXT", "a text")},
                  "what the simulated device's fields hold before the job\n"
                  "(OLD unless given; at most 16 characters; with --simulate)"),
           Option("--from", {FromValue()},
                  "where to begin: 'start' (the default) or 'track:N',\n"
                  "the ticked tracks from track N on only"),
       })},
      {"vrellix-cli enter examples/album.csv --simulate", "vrellix-cli enter my-album.csv --port /dev/ttyUSB0",
       "vrellix-cli enter my-album.csv --port /dev/ttyUSB0 --from track:3",
       "vrellix-cli enter my-album.csv --simulate --late-at 60 1900 --silent-at 62"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
