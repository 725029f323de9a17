// A reading provider from a word table, cutting text the way a dictionary
// does: the longest known word at each place; the text between known words is
// one segment without a reading.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reading/reading_provider.h"

namespace vrellix::testing {

class TableReadingProvider final : public ReadingProvider {
 public:
  using Words = std::vector<std::pair<std::string, std::string>>;  // surface, katakana reading

  explicit TableReadingProvider(Words words) : m_words(std::move(words)) {}
  // An unavailable provider that says reason.
  static TableReadingProvider Unavailable(std::string reason) {
    TableReadingProvider provider({});
    provider.m_reason = std::move(reason);
    return provider;
  }

  bool Available() const override { return m_reason.empty(); }
  const std::string& UnavailableReason() const override { return m_reason; }

  std::vector<ReadingSegment> Read(std::string_view text) override {
    std::vector<ReadingSegment> segments;
    std::string unknown;
    while (!text.empty()) {
      const std::pair<std::string, std::string>* best = nullptr;
      for (const auto& word : m_words) {
        if (text.substr(0, word.first.size()) == word.first && (!best || word.first.size() > best->first.size())) {
          best = &word;
        }
      }
      if (!best) {
        const unsigned char lead = static_cast<unsigned char>(text[0]);
        const size_t length = std::min<size_t>(lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4, text.size());
        unknown += text.substr(0, length);
        text.remove_prefix(length);
        continue;
      }
      if (!unknown.empty()) segments.push_back(ReadingSegment{std::exchange(unknown, {}), {}});
      segments.push_back(ReadingSegment{best->first, best->second});
      text.remove_prefix(best->first.size());
    }
    if (!unknown.empty()) segments.push_back(ReadingSegment{unknown, {}});
    return segments;
  }

 private:
  Words m_words;
  std::string m_reason;
};

}  // namespace vrellix::testing
