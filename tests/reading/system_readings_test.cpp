// The system's own readings, as the program takes them. What any dictionary
// reads for a name changes with its version; the suggestions built on a
// reading are tested on a table of words (suggestions_test.cpp).
#include <gtest/gtest.h>

#include "reading/suggestions.h"
#include "reading/system_readings.h"

namespace vrellix {
namespace {

TEST(SystemReadings, ReadACommonWord) {
  const std::unique_ptr<ReadingProvider> provider = MakeSystemReadingProvider();
  if (const std::string why = testing::WhyNoReadings(*provider); !why.empty()) GTEST_SKIP() << why;
  const ReadingSuggestion suggestion = SuggestReadings(*provider, "東京", 5);
  EXPECT_EQ(suggestion.outcome, ReadingSuggestion::kOffered);
  ASSERT_FALSE(suggestion.readings.empty());
  EXPECT_EQ(suggestion.readings.front(), "とうきょう");
}

}  // namespace
}  // namespace vrellix
