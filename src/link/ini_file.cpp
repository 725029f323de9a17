#include "link/ini_file.h"

#include <climits>

#include "fileio/whole_file.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {

namespace {

const char kNewLine[] = "\r\n";

// Settings take a few hundred bytes; a larger file is not this program's.
constexpr std::size_t kMaxIniBytes = 1024 * 1024;

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares two code page 932 names, ignoring ASCII case in single-byte
// characters only.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsCp932LeadByte(static_cast<unsigned char>(a[i]))) {
      if (i + 1 >= a.size() || a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

// Position of the first single-byte c at or after from, skipping the second
// bytes of two-byte characters (which may equal ']' and the like).
std::size_t FindSingleByte(const std::string& text, char c, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == c) return i;
    if (IsCp932LeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return std::string::npos;
}

struct Line {
  std::string text;    // without the line ending
  std::string ending;  // "\r\n", "\n", "\r" or "" for a last line without one

  enum Kind { Other, Section, Key } kind = Other;
  std::string name;       // section or key name, trimmed
  std::size_t valueAt = 0;  // for a key: where the text after '=' starts
};

Line ParseLine(std::string text, std::string ending) {
  Line line;
  line.text = std::move(text);
  line.ending = std::move(ending);

  const std::string trimmed = TrimWhite(line.text);
  if (trimmed.empty() || trimmed[0] == ';') return line;
  if (trimmed[0] == '[') {
    const std::size_t close = FindSingleByte(trimmed, ']', 1);
    if (close != std::string::npos) {
      line.kind = Line::Section;
      line.name = TrimWhite(trimmed.substr(1, close - 1));
    }
    return line;
  }
  const std::size_t equals = FindSingleByte(line.text, '=', 0);
  if (equals != std::string::npos) {
    line.kind = Line::Key;
    line.name = TrimWhite(line.text.substr(0, equals));
    line.valueAt = equals + 1;
  }
  return line;
}

// A line ends at CR LF, LF or a lone CR, as in album files; neither byte is ever
// the second byte of a two-byte character.
std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(ParseLine(content.substr(start), ""));
      break;
    }
    const std::size_t endingSize = content.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back(ParseLine(content.substr(start, end - start), content.substr(end, endingSize)));
    start = end + endingSize;
  }
  return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
  std::string content;
  for (const Line& line : lines) content += line.text + line.ending;
  return content;
}

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadIniFile(const std::string& path, std::string* content) {
  // Only a file that is not there counts as empty; anything else that cannot be
  // read (a FIFO, a file far larger than any settings) must not lead to the file
  // being overwritten.
  switch (ReadWholeFile(path, kMaxIniBytes, *content)) {
    case ReadOutcome::kRead: return ReadResult::Ok;
    case ReadOutcome::kMissing: return ReadResult::Missing;
    case ReadOutcome::kNotReadable:
    case ReadOutcome::kTooLarge: break;
  }
  return ReadResult::Failed;
}

// Index of the section's header line, or lines.size().
std::size_t FindSection(const std::vector<Line>& lines, const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::Section && SameName(lines[i].name, section)) return i;
  }
  return lines.size();
}

// Index of the key's line inside the section that starts at header, or lines.size().
std::size_t FindKey(const std::vector<Line>& lines, std::size_t header, const std::string& key) {
  for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Line::Section; ++i) {
    if (lines[i].kind == Line::Key && SameName(lines[i].name, key)) return i;
  }
  return lines.size();
}

std::optional<std::string> ValueIn(const std::string& content, const std::string& section,
                                   const std::string& key) {
  const std::vector<Line> lines = SplitLines(content);
  const std::size_t header = FindSection(lines, section);
  if (header == lines.size()) return std::nullopt;
  const std::size_t at = FindKey(lines, header, key);
  if (at == lines.size()) return std::nullopt;
  std::string value = TrimWhite(lines[at].text.substr(lines[at].valueAt));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

int ParseProfileInt(const std::string& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  long long number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = number * 10 + (value[i] - '0');
    if (number > INT_MAX) number = INT_MAX + 1LL;  // stays out of range, never overflows
  }
  if (negative) return 0;
  return number > INT_MAX ? INT_MAX : static_cast<int>(number);
}

// Sets one value in the lines, adding its section or key where missing.
void SetValue(std::vector<Line>& lines, const IniValue& set) {
  const std::string keyLine = set.key + "=" + set.value;
  const std::size_t header = FindSection(lines, set.section);
  if (header == lines.size()) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kNewLine;
    lines.push_back(ParseLine("[" + set.section + "]", kNewLine));
    lines.push_back(ParseLine(keyLine, kNewLine));
    return;
  }
  const std::size_t at = FindKey(lines, header, set.key);
  if (at != lines.size()) {
    Line& line = lines[at];
    if (TrimWhite(std::string_view(line.text).substr(line.valueAt)) != set.value) {
      line.text = line.text.substr(0, line.valueAt) + set.value;
    }
    return;
  }
  // After the section's last non-blank line, so blank lines that part it from
  // the next section stay where they are.
  std::size_t last = header;
  for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Line::Section; ++i) {
    if (!TrimWhite(lines[i].text).empty()) last = i;
  }
  if (lines[last].ending.empty()) lines[last].ending = kNewLine;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last) + 1, ParseLine(keyLine, kNewLine));
}

}  // namespace

int ReadIniInt(const std::string& path, const std::string& section, const std::string& key,
               int defaultValue) {
  const std::optional<std::string> value = ReadIniString(path, section, key);
  if (!value || value->empty()) return defaultValue;
  return ParseProfileInt(*value);
}

std::optional<std::string> ReadIniString(const std::string& path, const std::string& section,
                                         const std::string& key) {
  std::string content;
  if (ReadIniFile(path, &content) != ReadResult::Ok) return std::nullopt;
  return ValueIn(content, section, key);
}

bool WriteIniStrings(const std::string& path, const std::vector<IniValue>& values, FileOperations& files) {
  std::string content;
  const ReadResult read = ReadIniFile(path, &content);
  if (read == ReadResult::Failed) return false;

  std::vector<Line> lines = SplitLines(content);
  for (const IniValue& value : values) SetValue(lines, value);
  const std::string updated = JoinLines(lines);
  if (read == ReadResult::Ok && updated == content) return true;
  return ReplaceFileContents(path, updated, files) == ReplaceOutcome::kReplaced;
}

bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
  FileOperations files;
  return WriteIniStrings(path, {IniValue{section, key, value}}, files);
}

}  // namespace vrellix
