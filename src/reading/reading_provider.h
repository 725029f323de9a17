// Readings of Japanese text: MeCab with the IPA dictionary (the system's on
// Linux and macOS, the one beside the programs on Windows). Readings are only
// ever offered as suggestions (see reading/suggestions.h); proper names are
// often misread.
#pragma once

#include <cstddef>
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

// One analysis of a text: segments whose surfaces, joined, are the text.
using ReadingPath = std::vector<ReadingSegment>;

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

  // Up to maxPaths (at least 1) analyses of the text as Read gives one, best
  // first, the first being Read's; two may give the same readings (MeCab's
  // n-best paths differ in parts of speech too). A provider with one analysis
  // gives that one.
  virtual std::vector<ReadingPath> ReadPaths(std::string_view utf8, std::size_t maxPaths) {
    (void)maxPaths;
    return {Read(utf8)};
  }
};

// Paths of a text cut into pieces, from each piece's own paths (best first):
// one path of each piece joined, in the order of the sum of their ranks, the
// best of every piece first; up to maxPaths. A piece without paths gives none.
std::vector<ReadingPath> CombinePaths(const std::vector<std::vector<ReadingPath>>& pieces, std::size_t maxPaths);

// The provider of this system; never null (check Available()).
std::unique_ptr<ReadingProvider> MakeSystemReadingProvider();

}  // namespace vrellix
