#include <cstdio>
#include <string>

#include "cli/album_input.h"
#include "cli/console.h"
#include "cli/enter_resume.h"
#include "cli/link_setup.h"
#include "cli/simulated_enter.h"
#include "cli/simulator_faults.h"
#include "job/job_plan.h"
#include "messages/messages.h"
#include "sim/device_model.h"
#include "sim/simulated_run.h"
#include "text/text_codec.h"

namespace vrellix::cli {

namespace {

// A reading field holds at most 16 characters, so no field can start with more
// (the job's 16 erase keys would leave the rest in front of the new text).
constexpr std::size_t kOldTextMostCharacters = 16;

}  // namespace

ExitCode RunSimulatedEnter(const ParsedArgs& args) {
  const std::optional<std::string> oldUtf8 = args.Text("--old");
  const std::optional<long long> commandDelay = args.Integer("--delay");
  const JobPlace from = ParseFromValue(args.Text("--from").value_or("start")).value_or(JobPlace{});
  sim::SimulatorOptions options;
  if (oldUtf8) {
    const std::optional<std::string> cp932 = Utf8ToCp932(*oldUtf8);
    if (!cp932) {
      Print(stderr, "vrellix-cli enter: --old holds a character that code page 932 cannot hold\n");
      return ExitCode::kUsage;
    }
    if (SplitCp932(*cp932).size() > kOldTextMostCharacters) {
      Print(stderr, "vrellix-cli enter: --old holds more than %s characters, more than a field can hold\n",
                   std::to_string(kOldTextMostCharacters).c_str());
      return ExitCode::kUsage;
    }
    options.oldText = *cp932;
  }
  ApplyFaultOptions(args, &options);

  const std::optional<CheckedAlbum> input = LoadAlbumToEnter(args.arguments[0], from);
  if (!input) return ExitCode::kFailed;

  // Nothing real is touched: the settings file is read when present, never created.
  const int delay = commandDelay ? static_cast<int>(*commandDelay) : ConfiguredCommandDelay();
  // Continued from a track, the job leaves the header fields out.
  const sim::SimulatedRun run = sim::RunSimulatedJob(input->album, input->checks, options, delay, from.IsStart());

  const std::string held = sim::FormatHeldFields(run);
  Write(stdout, held);
  std::fflush(stdout);

  Write(stderr, sim::FormatMismatches(run));
  Write(stderr, sim::FormatLeftAsTheyWere(run));
  if (!run.jobSucceeded) {
    Print(stderr, "%s\n", messages::kJobFailed);
    // A new simulated device each run: there is nothing to put back.
    if (run.stoppedAt) PrintWhereItStopped(args, *run.stoppedAt, false);
  }
  if (!run.modelErrors.empty()) {
    Print(stderr, "vrellix-cli enter: the simulated device met %s key(s) it could not take\n",
                 std::to_string(run.modelErrors.size()).c_str());
  }
  if (run.Passed() && !run.HoldsAlbum()) {
    Print(stderr, "simulated: every field the job entered holds the album's text, but the device does not hold the "
                  "album: an empty field is not entered (--old '' starts from empty fields)\n");
  }
  if (!run.HoldsAlbum()) return ExitCode::kFailed;
  Print(stderr, "simulated: the device holds the album (%d packets, %s of device time at %d ms command delay)\n",
               run.packets, FormatMinutesSeconds(run.deviceMs).c_str(), delay);
  return ExitCode::kDone;
}

}  // namespace vrellix::cli
