// The MeCab provider with a chosen dictionary (the system provider tries the
// configured one, then the usual places).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "reading/reading_provider.h"

namespace vrellix {

// Tries each MeCab argument string in turn ("" for MeCab's own configuration)
// and keeps the first that opens a UTF-8 dictionary with readings in the IPA
// dictionary's place; unavailable, with the reason, when none does.
std::unique_ptr<ReadingProvider> MakeMecabReadingProvider(const std::vector<std::string>& attempts);

}  // namespace vrellix
