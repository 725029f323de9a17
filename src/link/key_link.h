// PutCommand: one remote-control key press, as an 8-byte packet answered by ACK.
#pragma once

#include "link/byte_channel.h"
#include "link/clock.h"
#include "link/stop_event.h"

namespace vrellix {

// Time between the end of a packet's write and the read of the reply.
constexpr int kReplyWaitMs = 142;
constexpr int kPutCommandTries = 2;

// Sees every key that was sent and every pause of the engine and the job (not
// the link's own reply wait and command delay). Used to print plans and progress.
class LinkObserver {
 public:
  virtual ~LinkObserver() = default;
  virtual void OnKey(int code, int result) = 0;  // result 1 or 0; not called for -1
  virtual void OnPause(int ms) = 0;
};

class KeyLink {
 public:
  KeyLink(ByteChannel& channel, Clock& clock, StopEvent& stop, int commandDelayMs);

  // 1: acknowledged (the command delay already waited out); 0: both tries
  // failed; -1: the stop event was set when the call began, nothing was sent.
  int PutCommand(int key);

  // A pause of the engine or the job. Ends at once when a stop is requested;
  // returns true when the whole time passed.
  bool Pause(int ms);

  void SetObserver(LinkObserver* observer) { m_pObserver = observer; }
  int CommandDelay() const { return m_nCommandDelay; }
  void SetCommandDelay(int ms) { m_nCommandDelay = ms; }
  StopEvent& Stop() { return m_stop; }
  Clock& GetClock() { return m_clock; }
  ByteChannel& Channel() { return m_channel; }

 private:
  ByteChannel& m_channel;
  Clock& m_clock;
  StopEvent& m_stop;
  int m_nCommandDelay;
  LinkObserver* m_pObserver = nullptr;
};

}  // namespace vrellix
