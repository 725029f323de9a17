#include <mecab.h>

#include <cctype>
#include <cstddef>

#include "messages/messages.h"
#include "reading/reading_provider.h"
#include "reading/reading_provider_mecab.h"
#include "text/text_codec.h"

namespace vrellix {
namespace {

// The IPA dictionary's features: part of speech (4), conjugation (2), base
// form, reading, pronunciation. Unknown words stop before the reading.
constexpr int kReadingField = 7;

bool IsUtf8Charset(const char* charset) {
  std::string name;
  for (const char* c = charset; *c; ++c) {
    if (*c != '-' && *c != '_') name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  }
  return name == "utf8";
}

std::string ReadingOf(const char* feature) {
  std::string_view rest = feature;
  for (int field = 0; field < kReadingField; ++field) {
    const size_t comma = rest.find(',');
    if (comma == std::string_view::npos) return {};
    rest.remove_prefix(comma + 1);
  }
  const std::string_view reading = rest.substr(0, rest.find(','));
  return reading == "*" ? std::string() : std::string(reading);
}

class MecabReadingProvider final : public ReadingProvider {
 public:
  explicit MecabReadingProvider(const std::vector<MecabArguments>& attempts) {
    bool otherCharset = false;
    for (const MecabArguments& arguments : attempts) {
      mecab_t* mecab = Open(arguments);
      if (!mecab) continue;
      const mecab_dictionary_info_t* info = mecab_dictionary_info(mecab);
      if (info && info->charset && IsUtf8Charset(info->charset)) {
        m_mecab = mecab;
        m_lattice = mecab_lattice_new();
        return;
      }
      otherCharset = true;
      mecab_destroy(mecab);
    }
    m_reason = otherCharset ? messages::kReadingsDictionaryNotUtf8 : messages::kReadingsNoDictionary;
  }
  ~MecabReadingProvider() override {
    if (m_lattice) mecab_lattice_destroy(m_lattice);
    if (m_mecab) mecab_destroy(m_mecab);
  }
  MecabReadingProvider(const MecabReadingProvider&) = delete;
  MecabReadingProvider& operator=(const MecabReadingProvider&) = delete;

  bool Available() const override { return m_mecab != nullptr; }
  const std::string& UnavailableReason() const override { return m_reason; }

  std::vector<ReadingSegment> Read(std::string_view utf8) override { return ReadPaths(utf8, 1).front(); }

  std::vector<ReadingPath> ReadPaths(std::string_view utf8, size_t maxPaths) override {
    const std::string text(utf8);
    if (!m_mecab || !m_lattice || !IsValidUtf8(text)) return {{ReadingSegment{text, std::string()}}};
    mecab_lattice_set_request_type(m_lattice, maxPaths > 1 ? MECAB_NBEST : MECAB_ONE_BEST);
    mecab_lattice_set_sentence2(m_lattice, text.data(), text.size());
    std::vector<ReadingPath> paths;
    if (mecab_parse_lattice(m_mecab, m_lattice)) {
      do {
        paths.push_back(Segments(mecab_lattice_get_bos_node(m_lattice), mecab_lattice_get_sentence(m_lattice), text));
      } while (paths.size() < maxPaths && mecab_lattice_next(m_lattice));
    }
    mecab_lattice_clear(m_lattice);
    if (paths.empty()) paths.push_back({ReadingSegment{text, std::string()}});
    return paths;
  }

 private:
  // The nodes of one path as segments of text, which the lattice holds a copy
  // of at sentence. MeCab skips white space between words; it becomes a
  // segment of its own.
  static ReadingPath Segments(const mecab_node_t* node, const char* sentence, const std::string& text) {
    ReadingPath segments;
    size_t done = 0;
    for (; node; node = node->next) {
      if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
      const size_t begin = static_cast<size_t>(node->surface - sentence);
      if (begin < done || begin + node->length > text.size()) continue;
      if (begin > done) segments.push_back(ReadingSegment{text.substr(done, begin - done), std::string()});
      segments.push_back(ReadingSegment{text.substr(begin, node->length), ReadingOf(node->feature)});
      done = begin + node->length;
    }
    if (done < text.size()) segments.push_back(ReadingSegment{text.substr(done), std::string()});
    return segments;
  }

  static mecab_t* Open(MecabArguments arguments) {
    arguments.insert(arguments.begin(), "mecab");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    return mecab_new(static_cast<int>(argv.size()), argv.data());
  }

  mecab_t* m_mecab = nullptr;
  mecab_lattice_t* m_lattice = nullptr;  // n-best paths are taken from it one by one
  std::string m_reason;
};

}  // namespace

MecabArguments MecabDictionaryArguments(const std::string& dicdir) {
  // The dictionary's own settings stand in for MeCab's resource file, which
  // would otherwise be looked for (and may name another dictionary).
  return {"-r", dicdir + "/dicrc", "-d", dicdir};
}

std::unique_ptr<ReadingProvider> MakeMecabReadingProvider(const std::vector<MecabArguments>& attempts) {
  return std::make_unique<MecabReadingProvider>(attempts);
}

}  // namespace vrellix
