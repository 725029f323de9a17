// Shared pieces of the entry engine tests: text written as UTF-8 and turned
// into code page 932 (support/cp932.h), key sequences, and the routine of each
// character class; the engine itself runs on support/engine_rig.h.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "entry/char_class.h"
#include "entry/entry_engine.h"
#include "keys/key_link.h"
#include "keys/keys.h"
#include "support/bytes.h"
#include "support/cp932.h"
#include "support/engine_rig.h"
#include "timing/stop_event.h"

namespace vrellix::testing {

inline std::string TwoBytes(unsigned code) {
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

inline std::string OneByte(unsigned byte) { return std::string(1, static_cast<char>(byte)); }

// {{KEY_PAL_LEFT, 13}, {KEY_PAL_UP, 4}} -> thirteen KEY_PAL_LEFT, then four KEY_PAL_UP.
inline std::vector<int> Presses(std::initializer_list<std::pair<int, int>> runs) {
  std::vector<int> keys;
  for (const auto& [key, times] : runs) keys.insert(keys.end(), times, key);
  return keys;
}

inline std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> keys;
  for (const auto& part : parts) keys.insert(keys.end(), part.begin(), part.end());
  return keys;
}

// The ten keys that bring the cursor from the function cells to symbol cell 0.
inline std::vector<int> ResetSymbolCursorKeys() {
  return Presses({{KEY_PAL_RIGHT, 1}, {KEY_PAL_UP, 2}, {KEY_PAL_LEFT, 2}, {KEY_PAL_UP, 4}, {KEY_PAL_RIGHT, 1}});
}

// Runs the routine that the driver would run for a character of this class.
inline int EnterWithRoutineOfClass(EntryEngine& engine, int charClass, const std::string& piece) {
  switch (charClass) {
    case CHARCLASS_HIRAGANA: return engine.HiraganaInputProcess(piece);
    case CHARCLASS_ZKATAKANA: return engine.ZKatakanaInputProcess(piece);
    case CHARCLASS_HKATAKANA: return engine.HKatakanaInputProcess(piece);
    case CHARCLASS_ZEIZI: return engine.ZEiziInputProcess(piece);
    case CHARCLASS_HEIZI: return engine.HEiziInputProcess(piece);
    case CHARCLASS_ZSUHZI: return engine.ZSuhziInputProcess(piece);
    case CHARCLASS_HSUHZI: return engine.HSuhziInputProcess(piece);
    case CHARCLASS_ZSYMBOL: return engine.ZSymbolInputProcess(piece);
    case CHARCLASS_HSYMBOL: return engine.HSymbolInputProcess(piece);
    case CHARCLASS_ZSPACE: return engine.SetSpace(0);
    case CHARCLASS_HSPACE: return engine.SetSpace(1);
    default: return 0;
  }
}

}  // namespace vrellix::testing
