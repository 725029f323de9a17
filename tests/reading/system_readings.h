// For the tests that read with MeCab's real dictionary.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "reading/reading_provider.h"

namespace vrellix::testing {

// Why provider cannot read here (to skip the test); empty when it can. Where
// this build has MeCab and the machine the dictionary (on Windows: always),
// an unavailable provider is a failure.
inline std::string WhyNoReadings(const ReadingProvider& provider) {
  if (provider.Available()) return {};
  EXPECT_FALSE(VRELLIX_TEST_READINGS) << provider.UnavailableReason();
  return provider.UnavailableReason();
}

}  // namespace vrellix::testing
