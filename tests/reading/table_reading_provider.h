// A reading provider from a word table: the longest known word at each place,
// as a dictionary cuts; any other character is a segment without a reading.
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

  // Without words and with a reason: a provider that is not available.
  explicit TableReadingProvider(Words words, std::string reason = {})
      : m_words(std::move(words)), m_reason(std::move(reason)) {}

  bool Available() const override { return m_reason.empty(); }
  const std::string& UnavailableReason() const override { return m_reason; }

  std::vector<ReadingSegment> Read(std::string_view text) override {
    std::vector<ReadingSegment> segments;
    while (!text.empty()) {
      const unsigned char lead = static_cast<unsigned char>(text[0]);
      ReadingSegment segment{std::string(text.substr(0, lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4)), {}};
      for (const auto& [surface, reading] : m_words) {
        if (text.substr(0, surface.size()) == surface && surface.size() >= segment.surface.size()) {
          segment = ReadingSegment{surface, reading};
        }
      }
      text.remove_prefix(std::min(segment.surface.size(), text.size()));
      segments.push_back(std::move(segment));
    }
    return segments;
  }

 private:
  Words m_words;
  std::string m_reason;
};

}  // namespace vrellix::testing
