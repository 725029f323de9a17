#include "reading/alignment.h"

namespace vrellix::reading {
namespace {

// A word is a few characters; the bound keeps the recursion and the table
// small whatever a provider makes one segment.
constexpr std::size_t kMaxAlignedCharacters = 256;

// Hiragana as katakana, for matching kana of either script.
char32_t Folded(char32_t c) { return c >= 0x3041 && c <= 0x3096 ? c + 0x60 : c; }

// Memoised, so a long text cannot take long.
class Aligner {
 public:
  Aligner(const std::vector<NamePart>& parts, std::u32string_view reading)
      : m_parts(parts), m_reading(reading), m_failed((parts.size() + 1) * (reading.size() + 1)) {}

  bool Align(std::size_t p, std::size_t pos, std::vector<std::size_t>& cuts) {
    cuts[p] = pos;
    if (p == m_parts.size()) return pos == m_reading.size();
    const std::size_t state = p * (m_reading.size() + 1) + pos;
    if (m_failed[state]) return false;
    const NamePart& part = m_parts[p];
    if (!part.kanji) {
      if (Stands(part.anchor, pos) && Align(p + 1, pos + part.anchor.size(), cuts)) return true;
    } else {
      for (std::size_t end = pos + 1; end <= m_reading.size(); ++end) {
        if (Align(p + 1, end, cuts)) return true;
      }
    }
    m_failed[state] = true;
    return false;
  }

 private:
  bool Stands(const std::u32string& anchor, std::size_t pos) const {
    if (pos + anchor.size() > m_reading.size()) return false;
    for (std::size_t i = 0; i < anchor.size(); ++i) {
      if (Folded(m_reading[pos + i]) != Folded(anchor[i])) return false;
    }
    return true;
  }

  const std::vector<NamePart>& m_parts;
  std::u32string_view m_reading;
  std::vector<bool> m_failed;
};

}  // namespace

std::optional<std::vector<std::size_t>> AlignReading(const std::vector<NamePart>& parts, std::u32string_view reading) {
  if (parts.size() > kMaxAlignedCharacters || reading.size() > 4 * kMaxAlignedCharacters) return std::nullopt;
  for (const NamePart& part : parts) {
    if (part.anchor.size() > 4 * kMaxAlignedCharacters) return std::nullopt;
  }
  std::vector<std::size_t> cuts(parts.size() + 1);
  if (!Aligner(parts, reading).Align(0, 0, cuts)) return std::nullopt;
  return cuts;
}

}  // namespace vrellix::reading
