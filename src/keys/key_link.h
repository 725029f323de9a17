// PutCommand: one remote-control key press, as an 8-byte packet answered by ACK.
#pragma once

#include <cstdint>

#include "keys/byte_channel.h"
#include "timing/clock.h"
#include "timing/stop_event.h"

namespace vrellix {

// Time between the end of a packet's write and the read of the reply.
constexpr int kReplyWaitMs = 142;
// The latest a reply may come after its packet's write: the link is honest
// for any reply up to this late (see PutCommand).
constexpr int kLateReplyLimitMs = 3000;
// After the last key of a run, the time in which a second reply to it would
// show up (a key answered twice may have been pressed twice).
constexpr int kLineSettleMs = 1000;

// The outcome of one key press.
enum class KeyResult : int {
  kStopped = -1,      // the stop event ended the exchange; it counts as no success
  kFailed = 0,
  kAcknowledged = 1,
};

// Sees every key that was sent and every pause of the engine and the job (not
// the link's own reply wait and command delay). Used to print plans and progress.
class LinkObserver {
 public:
  virtual ~LinkObserver() = default;
  virtual void OnKey(int code, KeyResult result) = 0;  // not called for kStopped
  virtual void OnPause(int ms) = 0;
};

class KeyLink {
 public:
  KeyLink(ByteChannel& channel, Clock& clock, StopEvent& stop, int commandDelayMs);

  // kAcknowledged: the command delay already waited out. kFailed: both tries
  // failed, or the line is out of step (LastKeyOutOfStep). kStopped: the stop
  // event was set when the call began (nothing sent), after a first try that
  // failed (no second try), or during the quiet wait below.
  // A byte waiting before the first try is a reply for no packet: nothing is
  // sent. Before the second try a waiting ACK is the first try's late reply:
  // the key is not sent again; other waiting bytes are discarded. Two ACKs for
  // the one packet fail the exchange.
  // An exchange whose first try was not answered ACK in time is irregular (a
  // second try, or a late ACK taken): it counts as acknowledged only once the
  // line has stayed quiet until kLateReplyLimitMs after its last write, when
  // every reply to its packets has come. A byte then is a second reply: a
  // packet went through twice, or an ACK was taken for the wrong packet
  // (kFailed, out of step). A clean exchange waits no longer than its tries.
  KeyResult PutCommand(int key);

  // After the last key of a run: waits ms (ending early on a stop), then takes
  // what is waiting on the line. True when nothing was: no reply came that
  // belongs to no packet, so no key reached the device twice unseen.
  bool LineSettled(int ms = kLineSettleMs);

  // True when the last PutCommand failed because a reply came that belonged
  // to no packet (the line is out of step; a key may have gone through twice).
  bool LastKeyOutOfStep() const { return m_bOutOfStep; }

  // True when the last PutCommand wrote its packet at least once (a failed
  // write included): a key that then ended kStopped may have reached the device.
  bool LastKeyWasTried() const { return m_bTried; }

  // A pause of the engine or the job. Ends at once when a stop is requested;
  // returns true when the whole time passed.
  bool Pause(int ms);

  void SetObserver(LinkObserver* observer) { m_pObserver = observer; }
  void SetCommandDelay(int ms) { m_nCommandDelay = ms; }
  StopEvent& Stop() { return m_stop; }

 private:
  struct Waiting {
    std::size_t bytes = 0;
    int acks = 0;
  };
  // Takes everything already received, without waiting.
  Waiting TakeWaiting();
  enum class Try { kAck, kRefused, kNoReply, kNotSent };
  KeyResult Exchange(const std::uint8_t* packet);
  // Writes the packet and reads one reply byte.
  Try TryOnce(const std::uint8_t* packet);
  // How long until no reply to the packets written so far can still come.
  int MsUntilNoReplyCanCome();
  KeyResult Acknowledged();
  KeyResult OutOfStep();

  ByteChannel& m_channel;
  Clock& m_clock;
  StopEvent& m_stop;
  int m_nCommandDelay;
  LinkObserver* m_pObserver = nullptr;
  bool m_bOutOfStep = false;
  bool m_bTried = false;
  std::int64_t m_nLastWriteMs = 0;  // when the last write (even a failed one) returned
};

}  // namespace vrellix
