// Enters one whole string into the text field the device has open.
#pragma once

#include <string>

#include "entry/entry_engine.h"

namespace vrellix {

// Walks the code page 932 text character by character: brings the palette to
// the character's page and width, runs its class's routine and, after kana and
// letters, closes the character with KEY_NEXT. Sets m_bHasText after each one.
// 1 when every character was entered (also for an empty text, with no key
// sent); 0 at the first step that fails, with nothing sent after it.
int StringInputProcess(EntryEngine& engine, const std::string& text);

}  // namespace vrellix
