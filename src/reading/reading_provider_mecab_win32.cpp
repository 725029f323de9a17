#include "fileio/program_folder.h"
#include "reading/reading_provider.h"
#include "reading/reading_provider_mecab.h"
#include "text/wide_text.h"

namespace vrellix {

// The IPA dictionary comes with the programs, in the folder "dic" beside them;
// MeCab takes its paths in UTF-8.
std::unique_ptr<ReadingProvider> MakeSystemReadingProvider() {
  const std::wstring folder = ProgramFolder();
  if (folder.empty()) return MakeMecabReadingProvider({});
  return MakeMecabReadingProvider({MecabDictionaryArguments(Utf8FromWide(folder + L"dic"))});
}

}  // namespace vrellix
