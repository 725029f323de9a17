// Readings of Japanese text: MeCab with the IPA dictionary (the system's on
// Linux and macOS, the one beside the programs on Windows). Readings are only
// ever offered as suggestions (see reading/suggestions.h); proper names are
// often misread.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vrellix {

// One piece of a text with its reading.
struct ReadingSegment {
  std::string surface;  // UTF-8, as it stands in the text
  std::string reading;  // UTF-8 kana (katakana as the systems give it); empty when unknown
};

class ReadingProvider {
 public:
  virtual ~ReadingProvider() = default;

  // False when this system cannot give readings; UnavailableReason() says why
  // (UTF-8, to show to the user).
  virtual bool Available() const = 0;
  virtual const std::string& UnavailableReason() const = 0;

  // Cuts the UTF-8 text into segments whose surfaces, joined, are the text
  // exactly (white space included). Without readings (unavailable, or text that
  // is not valid UTF-8) the whole text is one segment with no reading. Call it
  // from one thread at a time (a MeCab tagger is not shared).
  virtual std::vector<ReadingSegment> Read(std::string_view utf8) = 0;
};

// The provider of this system; never null (check Available()).
std::unique_ptr<ReadingProvider> MakeSystemReadingProvider();

}  // namespace vrellix
