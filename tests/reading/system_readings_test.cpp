// The system's own readings, as the program takes them. What any dictionary
// reads for a name changes with its version; the suggestions built on a
// reading are tested on a table of words (suggestions_test.cpp).
#include <gtest/gtest.h>

#include <set>

#include "reading/suggestions.h"
#include "reading/system_readings.h"

namespace vrellix {
namespace {

TEST(SystemReadings, ReadACommonWord) {
  const std::unique_ptr<ReadingProvider> provider = MakeSystemReadingProvider();
  if (const std::string why = testing::WhyNoReadings(*provider); !why.empty()) GTEST_SKIP() << why;
  const ReadingSuggestion suggestion = SuggestReadings(*provider, "東京", 5);
  EXPECT_EQ(suggestion.outcome, ReadingSuggestion::Outcome::kOffered);
  ASSERT_FALSE(suggestion.readings.empty());
  EXPECT_EQ(suggestion.readings.front(), "とうきょう");
}

// MeCab's n-best paths give more than one reading of a name whose words read
// in more ways than one, each offered once.
TEST(SystemReadings, CandidatesComeFromTheBestAnalyses) {
  const std::unique_ptr<ReadingProvider> provider = MakeSystemReadingProvider();
  if (const std::string why = testing::WhyNoReadings(*provider); !why.empty()) GTEST_SKIP() << why;
  const ReadingSuggestion suggestion = SuggestReadings(*provider, "千本桜", 5);
  EXPECT_GT(suggestion.readings.size(), 1u);
  EXPECT_LE(suggestion.readings.size(), 5u);
  std::set<std::string> distinct(suggestion.readings.begin(), suggestion.readings.end());
  EXPECT_EQ(distinct.size(), suggestion.readings.size());
}

}  // namespace
}  // namespace vrellix
