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
        return;
      }
      otherCharset = true;
      mecab_destroy(mecab);
    }
    m_reason = otherCharset ? messages::kReadingsDictionaryNotUtf8 : messages::kReadingsNoDictionary;
  }
  ~MecabReadingProvider() override {
    if (m_mecab) mecab_destroy(m_mecab);
  }
  MecabReadingProvider(const MecabReadingProvider&) = delete;
  MecabReadingProvider& operator=(const MecabReadingProvider&) = delete;

  bool Available() const override { return m_mecab != nullptr; }
  const std::string& UnavailableReason() const override { return m_reason; }

  std::vector<ReadingSegment> Read(std::string_view utf8) override {
    const std::string text(utf8);
    const mecab_node_t* node = nullptr;
    if (m_mecab && IsValidUtf8(text)) node = mecab_sparse_tonode2(m_mecab, text.data(), text.size());
    if (!node) return {ReadingSegment{text, std::string()}};

    // MeCab skips white space between words; it becomes a segment of its own.
    std::vector<ReadingSegment> segments;
    size_t done = 0;
    for (; node; node = node->next) {
      if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
      const size_t begin = static_cast<size_t>(node->surface - text.data());
      if (begin < done || begin + node->length > text.size()) continue;
      if (begin > done) segments.push_back(ReadingSegment{text.substr(done, begin - done), std::string()});
      segments.push_back(ReadingSegment{text.substr(begin, node->length), ReadingOf(node->feature)});
      done = begin + node->length;
    }
    if (done < text.size()) segments.push_back(ReadingSegment{text.substr(done), std::string()});
    return segments;
  }

 private:
  static mecab_t* Open(MecabArguments arguments) {
    arguments.insert(arguments.begin(), "mecab");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    return mecab_new(static_cast<int>(argv.size()), argv.data());
  }

  mecab_t* m_mecab = nullptr;
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
