// Plans of small albums: tracks named "ABC", all ticked, with or without a title.
#pragma once

#include <cstddef>

#include "job/job_plan.h"

namespace vrellix::testing {

inline JobPlan PlanOf(int tracks, bool header, int commandDelayMs = 50) {
  Album album;
  std::array<bool, kTrackCount> checks{};
  if (header) album.Title = "T";
  for (int t = 0; t < tracks; ++t) {
    album.Tracks[static_cast<std::size_t>(t)].Name = "ABC";
    checks[static_cast<std::size_t>(t)] = true;
  }
  return PlanJob(album, checks, commandDelayMs);
}

}  // namespace vrellix::testing
