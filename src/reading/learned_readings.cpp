#include "reading/learned_readings.h"

#include <algorithm>
#include <utility>

#include "fileio/file_platform.h"
#include "fileio/file_replace.h"
#include "fileio/whole_file.h"
#include "reading/alignment.h"
#include "reading/kana.h"
#include "reading/suggestions.h"
#include "text/lines.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {
namespace {

using reading::IsKanjiLike;

bool AllKanji(std::u32string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsKanjiLike); }

// A line of the store: "name<TAB>reading"; anything else is skipped.
std::optional<LearnedPair> ParseLine(std::string_view line) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos) return std::nullopt;
  return Learnable(line.substr(0, tab), line.substr(tab + 1));
}

struct StoreLine {
  std::string text;
  std::string ending;
};

struct StoreText {
  bool bom = false;
  std::vector<StoreLine> lines;
};

StoreText SplitStore(std::string_view bytes) {
  StoreText store;
  store.bom = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  if (store.bom) bytes.remove_prefix(kUtf8Bom.size());
  while (!bytes.empty()) {
    const TextLine line = TakeLine(bytes);
    store.lines.push_back(StoreLine{std::string(line.text), std::string(line.ending)});
  }
  return store;
}

// The store's bytes with the pairs learned: a name's last line rewritten, a
// new name's line added at the end.
std::string Merged(std::string_view bytes, const std::vector<LearnedPair>& pairs) {
  StoreText store = SplitStore(bytes);
  std::unordered_map<std::string, size_t> lineOf;
  for (size_t i = 0; i < store.lines.size(); ++i) {
    if (const std::optional<LearnedPair> pair = ParseLine(store.lines[i].text)) lineOf[pair->name] = i;
  }
  for (const LearnedPair& pair : pairs) {
    const std::string text = pair.name + "\t" + pair.reading;
    if (const auto found = lineOf.find(pair.name); found != lineOf.end()) {
      store.lines[found->second].text = text;
      continue;
    }
    if (!store.lines.empty() && store.lines.back().ending.empty()) store.lines.back().ending = "\n";
    lineOf[pair.name] = store.lines.size();
    store.lines.push_back(StoreLine{text, "\n"});
  }
  std::string merged(store.bom ? kUtf8Bom : std::string_view());
  for (const StoreLine& line : store.lines) merged += line.text + line.ending;
  return merged;
}

// The folder a file is in; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

}  // namespace

std::optional<LearnedPair> Learnable(std::string_view name, std::string_view reading) {
  LearnedPair pair{TrimWhite(name), TrimWhite(reading)};
  if (!IsValidUtf8(pair.name) || pair.name.find_first_of("\t\r\n") != std::string::npos) return std::nullopt;
  if (!reading::HasKanji(Utf8ToCodePoints(pair.name)) || !FitsReadingField(pair.reading)) return std::nullopt;
  return pair;
}

ReadingPath LearnedPath(std::string_view name, std::string_view reading) {
  const ReadingPath whole{ReadingSegment{std::string(name), std::string(reading)}};
  if (!IsValidUtf8(name) || !IsValidUtf8(reading)) return whole;
  const std::u32string text = Utf8ToCodePoints(name);
  const std::u32string read = Utf8ToCodePoints(reading);
  // Runs of kanji, and of everything else, which stands in the reading as read.
  std::vector<reading::NamePart> parts;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool kanji = IsKanjiLike(text[i]);
    if (!parts.empty() && parts.back().kanji == kanji) {
      parts.back().end = i + 1;
    } else {
      parts.push_back(reading::NamePart{i, i + 1, kanji, {}});
    }
  }
  for (reading::NamePart& part : parts) {
    if (part.kanji) continue;
    const std::optional<std::u32string> anchor =
        reading::ReadingOfKanaAndSigns(std::u32string_view(text).substr(part.begin, part.end - part.begin));
    if (!anchor) return whole;
    part.anchor = *anchor;
  }
  const std::optional<std::vector<size_t>> cuts = reading::AlignReading(parts, read);
  if (!cuts) return whole;
  ReadingPath path;
  bool join = false;
  for (size_t p = 0; p < parts.size(); ++p) {
    const reading::NamePart& part = parts[p];
    const std::string surface = CodePointsToUtf8(std::u32string_view(text).substr(part.begin, part.end - part.begin));
    const std::string share = CodePointsToUtf8(std::u32string_view(read).substr((*cuts)[p], (*cuts)[p + 1] - (*cuts)[p]));
    // Signs read as nothing between two runs of kanji leave unknown where the
    // first run's reading ends: the runs and the signs make one segment.
    const bool between = !part.kanji && part.anchor.empty() && p > 0 && p + 1 < parts.size();
    if (join || between) {
      path.back().surface += surface;
      path.back().reading += share;
    } else {
      path.push_back(ReadingSegment{surface, part.kanji ? share : std::string()});
    }
    join = between;
  }
  return path;
}

LearnedReadings::LearnedReadings(std::string path) : m_path(std::move(path)) {}

FileResult LearnedReadings::Load() {
  if (m_path.empty()) return FileResult{};
  std::string bytes;
  const FileResult read = ReadWholeFile(m_path, kMaxFileBytes, bytes);
  if (read.cause == FileCause::kNotFound) return FileResult{};
  if (read.Ok()) Take(bytes);
  return read;
}

const std::string* LearnedReadings::Reading(std::string_view name) const {
  const auto found = m_names.find(std::string(TrimWhiteView(name)));
  return found == m_names.end() ? nullptr : &found->second;
}

const std::string* LearnedReadings::WordReading(std::string_view kanji) const {
  const auto found = m_words.find(std::string(kanji));
  return found == m_words.end() ? nullptr : &found->second;
}

void LearnedReadings::Take(std::string_view bytes) {
  m_text = bytes;
  m_names.clear();
  m_words.clear();
  m_longestWord = 0;
  for (const StoreLine& line : SplitStore(bytes).lines) {
    std::optional<LearnedPair> pair = ParseLine(line.text);
    if (!pair) continue;
    for (ReadingSegment& segment : LearnedPath(pair->name, pair->reading)) {
      const std::u32string word = Utf8ToCodePoints(segment.surface);
      if (!AllKanji(word)) continue;
      m_longestWord = std::max(m_longestWord, word.size());
      m_words[std::move(segment.surface)] = std::move(segment.reading);
    }
    m_names[std::move(pair->name)] = std::move(pair->reading);
  }
}

FileResult LearnedReadings::Learn(const std::vector<LearnedPair>& pairs, std::size_t* learned) {
  std::vector<LearnedPair> good;
  for (const LearnedPair& pair : pairs) {
    if (std::optional<LearnedPair> taken = Learnable(pair.name, pair.reading)) good.push_back(std::move(*taken));
  }
  if (learned) *learned = good.size();
  if (good.empty()) return FileResult{};
  // What this program knows, for the names it learns even when the file
  // cannot be written; the file as it is now, with what others wrote since.
  const std::string known = m_text;
  if (m_path.empty()) {
    Take(Merged(known, good));
    return FileResult{};
  }
  std::string bytes;
  FileResult result = ReadWholeFile(m_path, kMaxFileBytes, bytes);
  if (result.cause == FileCause::kNotFound) {
    bytes.clear();
    result = FileResult{};
  }
  if (!result.Ok()) {
    Take(Merged(known, good));
    return result;
  }
  const std::string merged = Merged(bytes, good);
  if (const std::string folder = FolderOf(m_path); !folder.empty()) result = file_platform::MakeFolders(folder);
  if (result.Ok()) result = ReplaceFileContents(m_path, merged);
  Take(result.Ok() ? merged : Merged(known, good));
  return result;
}

std::vector<ReadingPath> LearningReadingProvider::ReadPaths(std::string_view utf8, std::size_t maxPaths) {
  maxPaths = std::max<std::size_t>(maxPaths, 1);
  std::vector<ReadingPath> paths;
  if (IsValidUtf8(utf8)) {
    const std::string_view name = TrimWhiteView(utf8);
    if (const std::string* reading = m_learned.Reading(name)) {
      // White space around the name stays a segment of its own.
      const size_t lead = static_cast<size_t>(name.data() - utf8.data());
      ReadingPath path;
      if (lead > 0) path.push_back(ReadingSegment{std::string(utf8.substr(0, lead)), std::string()});
      for (ReadingSegment& segment : LearnedPath(name, *reading)) path.push_back(std::move(segment));
      if (lead + name.size() < utf8.size()) {
        path.push_back(ReadingSegment{std::string(utf8.substr(lead + name.size())), std::string()});
      }
      paths.push_back(std::move(path));
    }
    // Half of what is left, so that the base's own readings still come.
    const std::size_t words = (maxPaths - std::min(maxPaths, paths.size()) + 1) / 2;
    if (words > 0 && m_learned.LongestWord() > 0 && m_base.Available()) {
      for (ReadingPath& path : WithLearnedWords(Utf8ToCodePoints(utf8), words)) paths.push_back(std::move(path));
    }
  }
  const std::size_t left = maxPaths - std::min(maxPaths, paths.size());
  if (left > 0 || paths.empty()) {
    for (ReadingPath& path : m_base.ReadPaths(utf8, std::max<std::size_t>(left, 1))) paths.push_back(std::move(path));
  }
  return paths;
}

std::vector<ReadingPath> LearningReadingProvider::WithLearnedWords(const std::u32string& text, std::size_t maxPaths) {
  const auto utf8 = [&](size_t begin, size_t end) {
    return CodePointsToUtf8(std::u32string_view(text).substr(begin, end - begin));
  };
  // Where a word may begin or end: the best analysis's cuts, and where kanji
  // meet anything else.
  std::vector<bool> edge(text.size() + 1, false);
  edge[0] = edge[text.size()] = true;
  size_t at = 0;
  for (const ReadingSegment& segment : m_base.Read(utf8(0, text.size()))) {
    at += Utf8ToCodePoints(segment.surface).size();
    if (at <= text.size()) edge[at] = true;
  }
  for (size_t i = 1; i < text.size(); ++i) {
    if (IsKanjiLike(text[i - 1]) != IsKanjiLike(text[i])) edge[i] = true;
  }

  struct Found {
    size_t begin;
    size_t end;
    const std::string* reading;
  };
  std::vector<Found> found;
  for (size_t i = 0; i < text.size();) {
    size_t run = i;
    while (run < text.size() && IsKanjiLike(text[run])) ++run;
    const std::string* reading = nullptr;
    size_t end = std::min(run, i + m_learned.LongestWord());
    for (; edge[i] && end > i; --end) {
      if (edge[end] && (reading = m_learned.WordReading(utf8(i, end)))) break;
    }
    if (reading) {
      found.push_back(Found{i, end, reading});
      i = end;
    } else {
      ++i;
    }
  }
  if (found.empty()) return {};

  std::vector<std::vector<ReadingPath>> pieces;
  at = 0;
  for (const Found& word : found) {
    if (word.begin > at) pieces.push_back(m_base.ReadPaths(utf8(at, word.begin), maxPaths));
    pieces.push_back({ReadingPath{ReadingSegment{utf8(word.begin, word.end), *word.reading}}});
    at = word.end;
  }
  if (at < text.size()) pieces.push_back(m_base.ReadPaths(utf8(at, text.size()), maxPaths));
  return CombinePaths(pieces, maxPaths);
}

}  // namespace vrellix
