// Which part of a reading belongs to which part of a name: the kana, letters
// and signs of the name stand in the reading as they are read, and each run of
// kanji takes what lies between them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrellix::reading {

struct NamePart {
  std::size_t begin = 0;  // code points of the name; end excluded
  std::size_t end = 0;
  bool kanji = false;
  std::u32string anchor;  // not kanji: what stands for it in the reading (kana in either script)
};

// Where each part's reading starts in reading (cuts[p]; cuts[parts.size()] is
// the reading's end): each anchor where it stands, each run of kanji at least
// one character, the shortest first. Nothing when the reading does not fit,
// or a part or the reading is longer than a name and a reading could be.
std::optional<std::vector<std::size_t>> AlignReading(const std::vector<NamePart>& parts, std::u32string_view reading);

}  // namespace vrellix::reading
