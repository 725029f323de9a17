// How good the system's readings are on real names, and what learned readings
// cost. Not a test: what a dictionary reads changes with its version.
//
//   vrellix-reading-bench [--learned N]
//
// For each kind of name in tests/reading/reading_test_names.h: how often the
// first reading offered is the right one, and how often the right one is among
// the five offered. Then the time to read a store of N learned lines (10,000
// by default) and what a store that size adds to each name's readings.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "reading/learned_readings.h"
#include "reading/reading_provider.h"
#include "reading/reading_test_names.h"
#include "reading/suggestions.h"

using namespace vrellix;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Tally {
  int names = 0;
  int first = 0;
  int withinFive = 0;
};

bool Contains(const std::vector<std::string>& readings, const std::string& reading) {
  for (const std::string& offered : readings) {
    if (offered == reading) return true;
  }
  return false;
}

// Names of two to four kanji with readings of two to eight kana, none of them
// a real name's.
std::string LearnedLines(std::size_t count) {
  static const char* const kanji[] = {"青", "森", "川", "田", "空", "海", "星", "風", "花", "雪",
                                      "光", "夢", "林", "谷", "村", "原", "坂", "野", "橋", "島"};
  static const char* const kana[] = {"あ", "い", "う", "え", "お", "か", "き", "く", "さ", "し",
                                     "た", "な", "の", "は", "ま", "も", "や", "ら", "り", "わ"};
  std::mt19937 random(10000);
  std::uniform_int_distribution<int> pick(0, 19);
  std::string lines;
  for (std::size_t line = 0; line < count; ++line) {
    std::string name;
    std::string reading;
    for (int k = 2 + static_cast<int>(line % 3); k > 0; --k) {
      name += kanji[pick(random)];
      reading += std::string(kana[pick(random)]) + kana[pick(random)];
    }
    lines += name + std::to_string(line) + "\t" + reading + "\n";
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t learnedCount = 10000;
  if (argc == 3 && std::string(argv[1]) == "--learned") learnedCount = std::strtoul(argv[2], nullptr, 10);
  const std::unique_ptr<ReadingProvider> system = MakeSystemReadingProvider();
  if (!system->Available()) {
    std::fprintf(stderr, "no readings: %s\n", system->UnavailableReason().c_str());
    return 1;
  }

  std::map<std::string, Tally> kinds;
  Tally all;
  for (const testing::RealName& real : testing::kRealNames) {
    const ReadingSuggestion offered = SuggestReadings(*system, real.name, 5);
    const bool first = !offered.readings.empty() && offered.readings.front() == real.reading;
    const bool five = Contains(offered.readings, real.reading);
    for (Tally* tally : {&kinds[real.kind], &all}) {
      ++tally->names;
      tally->first += first;
      tally->withinFive += five;
    }
    if (!first) {
      std::string line;
      for (const std::string& reading : offered.readings) line += " " + reading;
      std::printf("  %s %s (%s):%s\n", real.kind, real.name, real.reading, line.c_str());
    }
  }
  kinds["all"] = all;
  std::printf("%-7s %5s %12s %12s\n", "kind", "names", "right first", "within five");
  for (const auto& [kind, tally] : kinds) {
    std::printf("%-7s %5d %5d (%3d%%) %5d (%3d%%)\n", kind.c_str(), tally.names, tally.first,
                100 * tally.first / tally.names, tally.withinFive, 100 * tally.withinFive / tally.names);
  }

  const std::filesystem::path store = std::filesystem::temp_directory_path() / "vrellix-reading-bench.tsv";
  {
    std::ofstream out(store, std::ios::binary);
    out << LearnedLines(learnedCount);
  }
  constexpr int kRounds = 10;
  double loadMs = 0;
  LearnedReadings learned(store.u8string());
  for (int round = 0; round < kRounds; ++round) {
    const Clock::time_point start = Clock::now();
    learned = LearnedReadings(store.u8string());
    learned.Load();
    loadMs += MsSince(start);
  }
  // Both timed after the first pass above, with the dictionary in memory.
  const Clock::time_point plain = Clock::now();
  for (const testing::RealName& real : testing::kRealNames) SuggestReadings(*system, real.name, 5);
  const double plainMs = MsSince(plain);
  LearningReadingProvider withLearned(*system, learned);
  const Clock::time_point learning = Clock::now();
  for (const testing::RealName& real : testing::kRealNames) SuggestReadings(withLearned, real.name, 5);
  const double learningMs = MsSince(learning);
  std::filesystem::remove(store);
  const double names = static_cast<double>(testing::kRealNames.size());
  std::printf("%zu learned lines (%zu names): read in %.1f ms\n", learnedCount, learned.Size(), loadMs / kRounds);
  std::printf("five readings a name: %.2f ms without learned readings, %.2f ms with them\n", plainMs / names,
              learningMs / names);
  return 0;
}
