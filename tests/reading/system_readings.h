// For the tests that read with MeCab's real dictionary.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "reading/reading_provider.h"

namespace vrellix::testing {

// Why provider cannot read (skip the test); empty when it can. A failure
// where this build has MeCab and the dictionary is there (Windows: always).
inline std::string WhyNoReadings(const ReadingProvider& provider) {
  if (provider.Available()) return {};
  EXPECT_FALSE(VRELLIX_TEST_READINGS) << provider.UnavailableReason();
  return provider.UnavailableReason();
}

}  // namespace vrellix::testing
