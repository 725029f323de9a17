// vrellix-cli plan FILE [--delay MS]: every key, pause, status and progress
// step that entering the album would take, without touching the device.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/album_input.h"
#include "cli/commands.h"
#include "cli/link_setup.h"
#include "job/job_plan.h"
#include "link/settings.h"

namespace vrellix::cli {

namespace {

int PlanUsage() {
  std::fprintf(stderr, "usage: vrellix-cli plan FILE [--delay MS]\n");
  return 2;
}

}  // namespace

int RunPlan(const std::vector<std::string>& args) {
  std::string path;
  std::optional<int> delay;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--delay") {
      if (i + 1 == args.size() || !(delay = ParseMilliseconds(args[i + 1]))) return PlanUsage();
      ++i;
    } else if (path.empty() && !args[i].empty() && args[i][0] != '-') {
      path = args[i];
    } else {
      return PlanUsage();
    }
  }
  if (path.empty()) return PlanUsage();

  const std::optional<CheckedAlbum> checked = LoadCheckedAlbum(path);
  if (!checked) return 1;

  // A preview: the settings file is read when present, never created.
  const int commandDelay = delay ? *delay : ReadIniSettings(SettingsPath()).m_nCommandDelay;
  const JobPlan plan = PlanJob(checked->album, checked->checks, commandDelay);
  for (const JobEvent& event : plan.events) std::printf("%s\n", FormatJobEvent(event).c_str());
  std::printf("%s\n", FormatPlanSummary(plan, commandDelay).c_str());
  return 0;
}

}  // namespace vrellix::cli
