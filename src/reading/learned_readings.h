// Readings the user gave for names with kanji, kept per user in a plain UTF-8
// file of "name<TAB>reading" lines that the user may edit or delete
// (LearnedReadingsFile). A learned reading comes first for its name, and for
// each run of kanji of that name inside other names: the name is cut at its
// kana, letters and signs, which stand in the reading as they are read, and
// each run of kanji between them takes its share (夜に駆ける よるにかける: 夜
// よる, 駆 か). A run is one word however many words MeCab would make of it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fileio/file_result.h"
#include "reading/reading_provider.h"

namespace vrellix {

struct LearnedPair {
  std::string name;     // UTF-8
  std::string reading;  // hiragana, as a reading field takes it
};

// The pair as it is learned, both texts trimmed: nothing unless the name holds
// kanji and no tab or line break, and the reading is one the reading field
// takes as it is.
std::optional<LearnedPair> Learnable(std::string_view name, std::string_view reading);

class LearnedReadings {
 public:
  // A store larger than this is neither read nor written.
  static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

  // path: the store's file (UTF-8); empty: none, nothing is read or written.
  explicit LearnedReadings(std::string path = {});

  const std::string& Path() const { return m_path; }

  // Reads the store. A missing file holds nothing yet; a broken line is
  // skipped; of two lines for one name the later counts. A file that cannot
  // be read teaches nothing and is reported.
  FileResult Load();

  // How many names the store holds.
  std::size_t Size() const { return m_names.size(); }

  // The reading learned for the whole name (trimmed), or nullptr.
  const std::string* Reading(std::string_view name) const;
  // The reading learned for a run of kanji inside a learned name, or nullptr.
  const std::string* WordReading(std::string_view kanji) const;
  // The most code points a learned run of kanji has.
  std::size_t LongestWord() const { return m_longestWord; }

  // Learns the Learnable pairs, later ones winning, and writes the store anew
  // from the file as it is now: the line of a name learned before takes the
  // new reading, a new name is added, every other line stays as it is. The
  // file is replaced whole or not at all; its folder is made when missing.
  // learned (may be null) gets how many pairs were learnable. Nothing is
  // written when none is, nor without a store.
  FileResult Learn(const std::vector<LearnedPair>& pairs, std::size_t* learned = nullptr);

 private:
  // Takes what the file's bytes teach, in place of what was known.
  void Take(std::string_view bytes);

  std::string m_path;
  std::string m_text;  // the store's bytes last taken
  std::unordered_map<std::string, std::string> m_names;
  std::unordered_map<std::string, std::string> m_words;
  std::size_t m_longestWord = 0;
};

// The name's reading as one analysis: its runs of kanji with their shares of
// the reading, and the rest as segments of their own; the whole name as one
// segment when the reading does not fit the name's kana and signs.
ReadingPath LearnedPath(std::string_view name, std::string_view reading);

// A provider that puts what the user taught first: for a learned name its
// reading, then analyses in which the learned runs of kanji inside the text
// keep their learned readings (at most half the paths asked for), then the
// base provider's own. A learned run
// counts only where the text's best analysis or its kana begin and end a word
// there (東京 inside 東京都, not inside 東京湾岸 read as one word).
class LearningReadingProvider final : public ReadingProvider {
 public:
  // Neither is owned; both outlive the provider.
  LearningReadingProvider(ReadingProvider& base, const LearnedReadings& learned) : m_base(base), m_learned(learned) {}

  bool Available() const override { return m_base.Available(); }
  const std::string& UnavailableReason() const override { return m_base.UnavailableReason(); }
  std::vector<ReadingSegment> Read(std::string_view utf8) override { return ReadPaths(utf8, 1).front(); }
  std::vector<ReadingPath> ReadPaths(std::string_view utf8, std::size_t maxPaths) override;

 private:
  // Paths with the learned runs of kanji inside text read as learned; none
  // when it holds none.
  std::vector<ReadingPath> WithLearnedWords(const std::u32string& text, std::size_t maxPaths);

  ReadingProvider& m_base;
  const LearnedReadings& m_learned;
};

}  // namespace vrellix
