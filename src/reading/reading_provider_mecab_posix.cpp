#include "reading/reading_provider.h"
#include "reading/reading_provider_mecab.h"

namespace vrellix {

std::unique_ptr<ReadingProvider> MakeSystemReadingProvider() {
  // MeCab's own configuration first; then the UTF-8 IPA dictionary where
  // Debian puts it, and where this MeCab keeps its dictionaries, without a
  // configuration file (which may be missing or name another dictionary).
  std::vector<MecabArguments> attempts{{}, MecabDictionaryArguments("/var/lib/mecab/dic/ipadic-utf8")};
#ifdef VRELLIX_MECAB_DICDIR
  attempts.push_back(MecabDictionaryArguments(VRELLIX_MECAB_DICDIR "/ipadic-utf8"));
  attempts.push_back(MecabDictionaryArguments(VRELLIX_MECAB_DICDIR "/ipadic"));
#endif
  return MakeMecabReadingProvider(attempts);
}

}  // namespace vrellix
