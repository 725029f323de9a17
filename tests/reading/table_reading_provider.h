// A reading provider from a word table: the longest known word at each place,
// as a dictionary cuts; any other character is a segment without a reading. A
// word listed again with another reading gives later paths, ranked as MeCab's
// n-best are not but as CombinePaths joins pieces.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reading/reading_provider.h"

namespace vrellix::testing {

class TableReadingProvider final : public ReadingProvider {
 public:
  using Words = std::vector<std::pair<std::string, std::string>>;  // surface, katakana reading

  // Without words and with a reason: a provider that is not available.
  explicit TableReadingProvider(Words words, std::string reason = {})
      : m_words(std::move(words)), m_reason(std::move(reason)) {}

  bool Available() const override { return m_reason.empty(); }
  const std::string& UnavailableReason() const override { return m_reason; }

  std::vector<ReadingSegment> Read(std::string_view text) override { return ReadPaths(text, 1).front(); }

  std::vector<ReadingPath> ReadPaths(std::string_view text, std::size_t maxPaths) override {
    std::vector<std::vector<ReadingPath>> pieces;
    while (!text.empty()) {
      const unsigned char lead = static_cast<unsigned char>(text[0]);
      std::string surface(text.substr(0, lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4));
      for (const auto& [word, reading] : m_words) {
        if (text.substr(0, word.size()) == word && word.size() > surface.size()) surface = word;
      }
      std::vector<ReadingPath> readings;
      for (const auto& [word, reading] : m_words) {
        if (word == surface) readings.push_back({ReadingSegment{word, reading}});
      }
      if (readings.empty()) readings.push_back({ReadingSegment{surface, {}}});
      text.remove_prefix(std::min(surface.size(), text.size()));
      pieces.push_back(std::move(readings));
    }
    if (pieces.empty()) return {{}};
    return CombinePaths(pieces, maxPaths);
  }

 private:
  Words m_words;
  std::string m_reason;
};

}  // namespace vrellix::testing
