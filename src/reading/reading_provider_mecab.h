// The MeCab provider with a chosen dictionary; the system provider (one file
// per platform) knows where the dictionary is.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "reading/reading_provider.h"

namespace vrellix {

// MeCab's command-line arguments, one string each (a path may hold spaces).
using MecabArguments = std::vector<std::string>;

// The arguments that open the dictionary in the folder dicdir (UTF-8) and no
// other, whatever MeCab's own configuration says.
MecabArguments MecabDictionaryArguments(const std::string& dicdir);

// Tries each set of arguments in turn (none: MeCab's own configuration) and
// keeps the first that opens a UTF-8 dictionary with readings in the IPA
// dictionary's place; unavailable, with the reason, when none does.
std::unique_ptr<ReadingProvider> MakeMecabReadingProvider(const std::vector<MecabArguments>& attempts);

}  // namespace vrellix
