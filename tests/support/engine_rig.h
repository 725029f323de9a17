// The entry engine on a fake link in virtual time: every key is recorded and
// acknowledged unless scripted otherwise, every pause passes at once.
#pragma once

#include <cstddef>
#include <ostream>
#include <vector>

#include "entry/entry_engine.h"
#include "job/job_events.h"
#include "keys/key_link.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"
#include "timing/stop_event.h"

namespace vrellix::testing {

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

// The engine as the string driver finds it, a freshly opened title field,
// with every key and pause of the link in the log.
struct DriverRig : EngineRig {
  DriverRig() {
    link.SetObserver(&log);
    engine.ResetEntryState();
    engine.m_nSymbolPos = 0;
  }

  JobEventLog log;
};

}  // namespace vrellix::testing
