#include <algorithm>
#include <numeric>
#include <queue>
#include <set>
#include <utility>

#include "reading/reading_provider.h"

namespace vrellix {

std::vector<ReadingPath> CombinePaths(const std::vector<std::vector<ReadingPath>>& pieces, std::size_t maxPaths) {
  std::vector<ReadingPath> paths;
  if (std::any_of(pieces.begin(), pieces.end(), [](const auto& piece) { return piece.empty(); })) return paths;
  // Best first by the sum of the ranks: each path taken leads to those with one
  // piece's rank one higher.
  using Ranks = std::vector<std::size_t>;
  const auto sum = [](const Ranks& ranks) { return std::accumulate(ranks.begin(), ranks.end(), std::size_t{0}); };
  std::priority_queue<std::pair<std::size_t, Ranks>, std::vector<std::pair<std::size_t, Ranks>>, std::greater<>> next;
  std::set<Ranks> seen;
  const Ranks first(pieces.size(), 0);
  next.emplace(0, first);
  seen.insert(first);
  while (!next.empty() && paths.size() < maxPaths) {
    const Ranks ranks = next.top().second;
    next.pop();
    ReadingPath path;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
      const ReadingPath& part = pieces[p][ranks[p]];
      path.insert(path.end(), part.begin(), part.end());
    }
    paths.push_back(std::move(path));
    for (std::size_t p = 0; p < pieces.size(); ++p) {
      if (ranks[p] + 1 >= pieces[p].size()) continue;
      Ranks later = ranks;
      ++later[p];
      if (seen.insert(later).second) next.emplace(sum(later), std::move(later));
    }
  }
  return paths;
}

}  // namespace vrellix
