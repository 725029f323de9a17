// Writing one value into any settings file: the value reads back, every other
// value reads as before, and every other line keeps its bytes and line end in
// the file's own encoding. A file that cannot be read, or a value that a
// Unicode file cannot hold, is not written at all.
//
// Input: the first byte picks the section and key, the rest of the first line
// is the value (or, with the first byte's top bit, a number made from it); the
// bytes after the first '\n' are the file.
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings/ini_file.h"
#include "support/scratch_dir.h"
#include "text/text_codec.h"

namespace {

using vrellix::fuzz::Escaped;
using vrellix::fuzz::Require;
using vrellix::testing::ReadBytes;
using vrellix::testing::ScratchDir;
using vrellix::testing::WriteBytes;

struct Name {
  const char* section;
  const char* key;
};

// The program's own names ("シリアル通信設定" "ｼﾘｱﾙﾎﾟｰﾄ番号", "ｼﾘｱﾙﾎﾟｰﾄ名",
// "赤外線通信設定" "ｺﾏﾝﾄﾞDELAY", in code page 932) and an ASCII pair.
const Name kNames[] = {
    {"\x83\x56\x83\x8A\x83\x41\x83\x8B\x92\xCA\x90\x4D\x90\xDD\x92\xE8", "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x94\xD4\x8D\x86"},
    {"\x83\x56\x83\x8A\x83\x41\x83\x8B\x92\xCA\x90\x4D\x90\xDD\x92\xE8", "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x96\xBC"},
    {"\x90\xD4\x8A\x4F\x90\xFC\x92\xCA\x90\x4D\x90\xDD\x92\xE8", "\xBA\xCF\xDD\xC4\xDE" "DELAY"},
    {"Port", "Name"},
};
constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

// A value that the file can hold as it is: one line, no white space or quotes
// around it (reading removes those).
bool IsPlainValue(const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) return false;
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) return false;
  return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front());
}

// Lines, each with its line end: CR LF, LF, a lone CR, or none at the end.
std::vector<std::string> Lines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", start);
    std::size_t next = end == std::string::npos ? content.size() : end + 1;
    if (end != std::string::npos && content.compare(end, 2, "\r\n") == 0) ++next;
    lines.push_back(content.substr(start, next - start));
    start = next;
  }
  return lines;
}

std::string Ending(const std::string& line) {
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) return "\r\n";
  if (!line.empty() && (line.back() == '\n' || line.back() == '\r')) return line.substr(line.size() - 1);
  return "";
}

// The old and new file differ only where the value went: one key line changed
// after its '=', or a key line (after a new section line) added, after a last
// line that may have got the line end it lacked. Texts and names as the file
// holds them.
void CheckOnlyTheValueChanged(const std::string& before, const std::string& after, const Name& name,
                              const std::string& value) {
  const std::vector<std::string> a = Lines(before);
  const std::vector<std::string> b = Lines(after);
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
  std::vector<std::string> removed(a.begin() + static_cast<long>(head), a.end() - static_cast<long>(tail));
  std::vector<std::string> added(b.begin() + static_cast<long>(head), b.end() - static_cast<long>(tail));
  const std::string context = " in " + Escaped(before) + " -> " + Escaped(after);

  if (removed.size() == 1 && added.size() >= 2 && Ending(removed[0]).empty() && added[0] == removed[0] + "\r\n") {
    removed.clear();
    added.erase(added.begin());
  }
  if (removed.empty()) {
    const std::string keyLine = std::string(name.key) + "=" + value + "\r\n";
    const std::string sectionLine = "[" + std::string(name.section) + "]\r\n";
    const bool keyAdded = added.size() == 1 && added[0] == keyLine;
    const bool sectionAdded = added.size() == 2 && added[0] == sectionLine && added[1] == keyLine;
    Require(added.empty() || keyAdded || sectionAdded, "lines other than the value's were added" + context);
    return;
  }
  Require(removed.size() == 1 && added.size() == 1, "more than the value's line changed" + context);
  const std::string& old = removed[0];
  const std::string& now = added[0];
  const std::size_t equals = old.find('=');
  const std::string ending = Ending(old);
  Require(equals != std::string::npos && now.compare(0, equals + 1, old, 0, equals + 1) == 0 &&
              now == old.substr(0, equals + 1) + value + ending,
          "the value's line lost its key or line end" + context);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchDir files(vrellix::fuzz::ScratchBase());
  const std::string path = files.File("rzt_input.ini");

  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string header = input.substr(0, newline);
  if (header.empty()) return 0;
  const std::string before = newline == std::string::npos ? std::string() : input.substr(newline + 1);
  const auto selector = static_cast<unsigned char>(header[0]);
  const Name& name = kNames[(selector & 0x7F) % kNameCount];
  std::string value = header.substr(1);
  std::optional<int> number;
  if (selector & 0x80) {
    unsigned long long bits = 0;
    for (unsigned char c : value) bits = (bits * 131 + c) % (1ULL << 31);
    number = static_cast<int>(bits);
    value = std::to_string(*number);
  }
  if (!IsPlainValue(value)) return 0;

  Require(WriteBytes(path, before), "cannot write " + path);
  std::vector<std::optional<std::string>> others;
  for (const Name& other : kNames) others.push_back(vrellix::ReadIniString(path, other.section, other.key));

  const vrellix::IniFile old = vrellix::ReadIniFile(path);
  const bool cp932 = old.encoding == vrellix::IniEncoding::kCodePage932;
  const bool written = vrellix::WriteIniString(path, name.section, name.key, value).Ok();
  const std::string after = ReadBytes(path);
  if (old.state == vrellix::IniFile::State::kNotRead || (!cp932 && !vrellix::IsValidUtf8(value))) {
    Require(!written && after == before, "an unreadable file or a value it cannot hold was written");
    return 0;
  }
  Require(written, "the write failed");

  const std::optional<std::string> read = vrellix::ReadIniString(path, name.section, name.key);
  Require(read == value, "wrote " + Escaped(value) + ", read " + (read ? Escaped(*read) : "nothing") + " from " +
                             Escaped(after));
  if (number) Require(vrellix::ReadIniInt(path, name.section, name.key, -1) == *number, "the number reads differently");
  for (std::size_t i = 0; i < kNameCount; ++i) {
    const Name& other = kNames[i];
    if (&other == &name) continue;
    Require(vrellix::ReadIniString(path, other.section, other.key) == others[i],
            "another value changed: " + Escaped(other.key) + " in " + Escaped(before) + " -> " + Escaped(after));
  }
  const std::string section = cp932 ? name.section : *vrellix::Cp932ToUtf8(name.section);
  const std::string key = cp932 ? name.key : *vrellix::Cp932ToUtf8(name.key);
  CheckOnlyTheValueChanged(old.text, vrellix::ReadIniFile(path).text, Name{section.c_str(), key.c_str()}, value);
  return 0;
}
