// vrellix-cli plan FILE [--delay MS] [--summary]: every key, pause, status and progress
// step that entering the album would take, without touching the device.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/link_setup.h"
#include "job/job_plan.h"

namespace vrellix::cli {

namespace {

ExitCode Run(const ParsedArgs& args) {
  const std::optional<CheckedAlbum> checked = LoadCheckedAlbum(args.arguments[0]);
  if (!checked) return ExitCode::kFailed;

  // A preview: the settings file is read when present, never created.
  const std::optional<long long> delay = args.Integer("--delay");
  const int commandDelay = delay ? static_cast<int>(*delay) : ConfiguredCommandDelay();
  const JobPlan plan = PlanJob(checked->album, checked->checks, commandDelay);
  if (!args.Has("--summary")) {
    for (const JobEvent& event : plan.events) Print(stdout, "%s\n", FormatJobEvent(event).c_str());
  }
  Print(stdout, "%s\n", FormatPlanSummary(plan, commandDelay).c_str());
  return ExitCode::kDone;
}

}  // namespace

const Command& PlanCommand() {
  static const Command command{
      "plan",
      "prints every step that entering an album would take",
      {"plan FILE [--delay MS] [--summary]"},
      "Checks FILE as 'check' does, then prints, one per line, every step that\n"
      "entering it would take (range, status, key, pause, progress, result) and a\n"
      "last line with the number of keys, the pauses and about how long it takes\n"
      "(with --summary only that line).\n"
      "It touches no device; rzt_input.ini is read when present, never written.\n",
      {{AlbumFileArgument()},
       {Option("--delay", {DelayValue()}, "the command delay to plan with instead of ｺﾏﾝﾄﾞDELAY\nin rzt_input.ini"),
        Flag("--summary", "prints only the last line")}},
      {"vrellix-cli plan examples/album.csv --delay 50"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
