// Shared pieces of the entry engine tests: text written as UTF-8 and turned
// into code page 932 (support/cp932.h), and an engine wired to a fake
// transmitter and a fake clock.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "entry/char_class.h"
#include "entry/entry_engine.h"
#include "link/key_link.h"
#include "link/keys.h"
#include "link/stop_event.h"
#include "support/bytes.h"
#include "support/cp932.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"

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

// An engine on a fake link; every key is acknowledged unless scripted otherwise.
struct EngineRig {
  FakeTransmitter tx;
  FakeClock clock;
  StopEvent stop;
  KeyLink link{tx, clock, stop, 100};
  EntryEngine engine{link};

  std::vector<int> Keys() const { return tx.Keys(); }

  // Requests a stop once `count` packets have been written, so exactly that
  // many keys go out and every later PutCommand returns kStopped.
  void StopAfterPackets(std::size_t count) {
    if (count == 0) {
      stop.Set();
      return;
    }
    tx.OnPacket([this, count](std::size_t index) {
      if (index + 1 == count) stop.Set();
    });
  }

  // Acknowledges `count` keys and refuses the next one on both tries.
  void RefuseAfterKeys(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) tx.Script({FakeTransmitter::Reply::Ack});
    tx.Script({FakeTransmitter::Reply::Nak, FakeTransmitter::Reply::Silent});
  }

  struct State {
    int page, mode, hasText, symbolPos, offGrid;
    bool operator==(const State& o) const {
      return page == o.page && mode == o.mode && hasText == o.hasText && symbolPos == o.symbolPos &&
             offGrid == o.offGrid;
    }
  };
  State Snapshot() const {
    return {engine.m_nPalletPage, engine.m_nHZMode, engine.m_bHasText, engine.m_nSymbolPos,
            engine.m_bCursorOffGrid};
  }
  void Set(const State& s) {
    engine.m_nPalletPage = s.page;
    engine.m_nHZMode = s.mode;
    engine.m_bHasText = s.hasText;
    engine.m_nSymbolPos = s.symbolPos;
    engine.m_bCursorOffGrid = s.offGrid;
  }
};

inline std::ostream& operator<<(std::ostream& os, const EngineRig::State& s) {
  return os << "{page " << s.page << ", mode " << s.mode << ", hasText " << s.hasText << ", symbolPos "
            << s.symbolPos << ", offGrid " << s.offGrid << "}";
}

}  // namespace vrellix::testing
