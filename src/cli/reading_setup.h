// The readings the commands suggest: the system's, with what the user taught
// first (reading/learned_readings.h).
#pragma once

#include <memory>

#include "reading/learned_readings.h"
#include "reading/reading_provider.h"

namespace vrellix::cli {

class ReadingSetup {
 public:
  // Reads the user's store; one that cannot be read is said on stderr and
  // left out.
  ReadingSetup();

  ReadingProvider& Provider() { return m_provider; }
  LearnedReadings& Learned() { return m_learned; }

 private:
  std::unique_ptr<ReadingProvider> m_system;
  LearnedReadings m_learned;
  LearningReadingProvider m_provider;
};

// Opens the user's store and says on stderr why it cannot be read, if it cannot.
LearnedReadings OpenLearnedReadings();

}  // namespace vrellix::cli
