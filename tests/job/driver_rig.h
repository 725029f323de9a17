// An engine on a scripted transmitter in virtual time, with every key and
// pause recorded, the entry state as a freshly opened title field leaves it.
#pragma once

#include "entry/entry_engine.h"
#include "job/job_events.h"
#include "support/fake_clock.h"
#include "support/fake_transmitter.h"

namespace vrellix::testing {

struct DriverRig {
  DriverRig() {
    link.SetObserver(&log);
    engine.ResetEntryState();
    engine.m_nSymbolPos = 0;
  }

  FakeTransmitter transmitter;
  FakeClock clock;
  StopEvent stop;
  KeyLink link{transmitter, clock, stop, 100};
  EntryEngine engine{link};
  JobEventLog log;
};

}  // namespace vrellix::testing
