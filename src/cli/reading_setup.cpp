#include "cli/reading_setup.h"

#include <cstdio>

#include "cli/console.h"
#include "fileio/user_folders.h"
#include "messages/messages.h"

namespace vrellix::cli {

LearnedReadings OpenLearnedReadings() {
  LearnedReadings learned(LearnedReadingsFile());
  if (const FileResult loaded = learned.Load(); !loaded.Ok()) {
    Print(stderr, "%s\n", messages::LearnedReadingsNotRead(learned.Path(), FileFailureReason(loaded)).c_str());
  }
  return learned;
}

ReadingSetup::ReadingSetup()
    : m_system(MakeSystemReadingProvider()), m_learned(OpenLearnedReadings()), m_provider(*m_system, m_learned) {}

}  // namespace vrellix::cli
