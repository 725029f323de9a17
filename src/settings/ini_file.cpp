#include "settings/ini_file.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "fileio/whole_file.h"
#include "text/lines.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {

namespace {

const char kNewLine[] = "\r\n";

// Settings take a few hundred bytes; a larger file is not this program's.
constexpr std::size_t kMaxIniBytes = 1024 * 1024;

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Whether c begins a two-byte character whose second byte may look like ASCII:
// so in code page 932; in UTF-8 no byte of a longer character is ASCII.
bool TakesNextByte(unsigned char c, bool cp932) { return cp932 && IsCp932LeadByte(c); }

// Compares two names, ignoring ASCII case in single-byte characters only.
bool SameName(const std::string& a, const std::string& b, bool cp932) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (TakesNextByte(static_cast<unsigned char>(a[i]), cp932)) {
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
std::size_t FindSingleByte(const std::string& text, char c, std::size_t from, bool cp932) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == c) return i;
    if (TakesNextByte(static_cast<unsigned char>(text[i]), cp932)) ++i;
  }
  return std::string::npos;
}

struct Line {
  std::string text;    // without the line ending
  std::string ending;  // "\r\n", "\n", "\r" or "" for a last line without one

  enum class Kind { kOther, kSection, kKey } kind = Kind::kOther;
  std::string name;       // section or key name, trimmed
  std::size_t valueAt = 0;  // for a key: where the text after '=' starts
};

Line ParseLine(std::string text, std::string ending, bool cp932) {
  Line line;
  line.text = std::move(text);
  line.ending = std::move(ending);

  const std::string trimmed = TrimWhite(line.text);
  if (trimmed.empty() || trimmed[0] == ';') return line;
  if (trimmed[0] == '[') {
    const std::size_t close = FindSingleByte(trimmed, ']', 1, cp932);
    if (close != std::string::npos) {
      line.kind = Line::Kind::kSection;
      line.name = TrimWhite(trimmed.substr(1, close - 1));
    }
    return line;
  }
  const std::size_t equals = FindSingleByte(line.text, '=', 0, cp932);
  if (equals != std::string::npos) {
    line.kind = Line::Kind::kKey;
    line.name = TrimWhite(line.text.substr(0, equals));
    line.valueAt = equals + 1;
  }
  return line;
}

// Lines end as in album files.
std::vector<Line> SplitLines(std::string_view content, bool cp932) {
  std::vector<Line> lines;
  while (!content.empty()) {
    const TextLine line = TakeLine(content);
    lines.push_back(ParseLine(std::string(line.text), std::string(line.ending), cp932));
  }
  return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
  std::string content;
  for (const Line& line : lines) content += line.text + line.ending;
  return content;
}

bool IsCp932(const IniFile& file) { return file.encoding == IniEncoding::kCodePage932; }

// A code page 932 name as the file holds it; nothing when it cannot.
std::optional<std::string> InFile(const IniFile& file, const std::string& name) {
  return IsCp932(file) ? std::optional<std::string>(name) : Cp932ToUtf8(name);
}

// The text in the file's encoding, its byte-order mark included.
std::string Encoded(const IniFile& file) {
  switch (file.encoding) {
    case IniEncoding::kCodePage932:
    case IniEncoding::kUtf8: return file.text;
    case IniEncoding::kUtf8WithBom: return std::string(kUtf8Bom) + file.text;
    case IniEncoding::kUtf16Le: return std::string(kUtf16LeBom) + Utf8ToUtf16(file.text, false);
    case IniEncoding::kUtf16Be: return std::string(kUtf16BeBom) + Utf8ToUtf16(file.text, true);
  }
  return file.text;
}

// Index of the section's header line, or lines.size().
std::size_t FindSection(const std::vector<Line>& lines, const std::string& section, bool cp932) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::Kind::kSection && SameName(lines[i].name, section, cp932)) return i;
  }
  return lines.size();
}

// Index of the key's line inside the section that starts at header, or lines.size().
std::size_t FindKey(const std::vector<Line>& lines, std::size_t header, const std::string& key, bool cp932) {
  for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Line::Kind::kSection; ++i) {
    if (lines[i].kind == Line::Kind::kKey && SameName(lines[i].name, key, cp932)) return i;
  }
  return lines.size();
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
void SetValue(std::vector<Line>& lines, const IniValue& set, bool cp932) {
  const std::string keyLine = set.key + "=" + set.value;
  const std::size_t header = FindSection(lines, set.section, cp932);
  if (header == lines.size()) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kNewLine;
    lines.push_back(ParseLine("[" + set.section + "]", kNewLine, cp932));
    lines.push_back(ParseLine(keyLine, kNewLine, cp932));
    return;
  }
  const std::size_t at = FindKey(lines, header, set.key, cp932);
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
  for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Line::Kind::kSection; ++i) {
    if (!TrimWhite(lines[i].text).empty()) last = i;
  }
  if (lines[last].ending.empty()) lines[last].ending = kNewLine;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last) + 1, ParseLine(keyLine, kNewLine, cp932));
}

}  // namespace

IniFile ReadIniFile(const std::string& path) {
  IniFile file;
  std::string bytes;
  // Only a file that is not there counts as empty; anything else that cannot be
  // read (a FIFO, a file far larger than any settings) must not be overwritten.
  const FileResult read = ReadWholeFile(path, kMaxIniBytes, bytes);
  if (read.cause == FileCause::kNotFound) return file;
  if (!read.Ok()) {
    file.state = IniFile::State::kNotRead;
    file.why = read;
    return file;
  }
  file.state = IniFile::State::kRead;
  const std::string_view view = bytes;
  const bool bigEndian = view.substr(0, 2) == kUtf16BeBom;
  if (bigEndian || view.substr(0, 2) == kUtf16LeBom) {
    file.encoding = bigEndian ? IniEncoding::kUtf16Be : IniEncoding::kUtf16Le;
    std::optional<std::string> text = Utf16ToUtf8(view.substr(2), bigEndian);
    if (!text) {
      file.state = IniFile::State::kNotRead;
      file.why = FileResult{FileCause::kNotText};
      return file;
    }
    file.text = std::move(*text);
  } else if (view.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    file.encoding = IniEncoding::kUtf8WithBom;
    file.text = bytes.substr(kUtf8Bom.size());
  } else {
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    file.encoding = !ascii && IsValidUtf8(bytes) ? IniEncoding::kUtf8 : IniEncoding::kCodePage932;
    file.text = std::move(bytes);
  }
  return file;
}

std::optional<std::string> IniString(const IniFile& file, const std::string& section, const std::string& key) {
  const std::optional<std::string> sectionName = InFile(file, section);
  const std::optional<std::string> keyName = InFile(file, key);
  if (file.state != IniFile::State::kRead || !sectionName || !keyName) return std::nullopt;
  const bool cp932 = IsCp932(file);
  const std::vector<Line> lines = SplitLines(file.text, cp932);
  const std::size_t header = FindSection(lines, *sectionName, cp932);
  if (header == lines.size()) return std::nullopt;
  const std::size_t at = FindKey(lines, header, *keyName, cp932);
  if (at == lines.size()) return std::nullopt;
  std::string value = TrimWhite(lines[at].text.substr(lines[at].valueAt));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

int IniInt(const IniFile& file, const std::string& section, const std::string& key, int defaultValue) {
  const std::optional<std::string> value = IniString(file, section, key);
  if (!value || value->empty()) return defaultValue;
  return ParseProfileInt(*value);
}

FileResult WriteIniValues(const std::string& path, IniFile& file, const std::vector<IniValue>& values,
                          FileOperations& files) {
  if (file.state == IniFile::State::kNotRead) return file.why;
  const bool cp932 = IsCp932(file);
  std::vector<Line> lines = SplitLines(file.text, cp932);
  for (const IniValue& value : values) {
    const std::optional<std::string> section = InFile(file, value.section);
    const std::optional<std::string> key = InFile(file, value.key);
    // A Unicode file stays text in its encoding.
    if (!section || !key || (!cp932 && !IsValidUtf8(value.value))) return FileResult{FileCause::kNotText};
    SetValue(lines, IniValue{*section, *key, value.value}, cp932);
  }
  const std::string updated = JoinLines(lines);
  if (file.state == IniFile::State::kRead && updated == file.text) return FileResult{};
  IniFile written = file;
  written.text = updated;
  const FileResult replaced = ReplaceFileContents(path, Encoded(written), files);
  if (!replaced.Ok()) return replaced;
  file = std::move(written);
  file.state = IniFile::State::kRead;
  return replaced;
}

int ReadIniInt(const std::string& path, const std::string& section, const std::string& key, int defaultValue) {
  return IniInt(ReadIniFile(path), section, key, defaultValue);
}

std::optional<std::string> ReadIniString(const std::string& path, const std::string& section,
                                         const std::string& key) {
  return IniString(ReadIniFile(path), section, key);
}

FileResult WriteIniStrings(const std::string& path, const std::vector<IniValue>& values, FileOperations& files) {
  IniFile file = ReadIniFile(path);
  return WriteIniValues(path, file, values, files);
}

FileResult WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value) {
  FileOperations files;
  return WriteIniStrings(path, {IniValue{section, key, value}}, files);
}

}  // namespace vrellix
