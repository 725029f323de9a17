// Plays the transmitter's end of a serial line on a pseudo-terminal, so that the
// program (or any serial tool) can open the slave side by its path as if it were
// the transmitter's port. What goes back is up to a LineAnswer: the simulated
// device, or in tests a script. Only where pseudo-terminals exist; elsewhere
// Open fails.
#pragma once

#include <memory>
#include <string>

#include "sim/line_answer.h"

namespace vrellix::sim {

class PtyServer {
 public:
  // answer must outlive the server; it is called on the serving thread only.
  explicit PtyServer(LineAnswer& answer);
  // Stops a server started with Start.
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Creates the pseudo-terminal pair. On failure returns false and says why.
  bool Open(std::string* error);
  // The path that a client opens, valid after Open.
  const std::string& SlavePath() const;

  // Answers bytes as they arrive until RequestStop; a late answer goes out
  // when its time comes, in real time, while other packets are answered. When
  // the answer closes the line, the server sends the answers still on their
  // way, waits until the next bytes arrive (the client has read the last
  // answer) or a moment has passed, then closes the pair, as a transmitter
  // that was unplugged, and waits for the stop.
  void Serve();
  // Serve on a thread of its own, after Open, until Stop.
  void Start();
  // RequestStop, then waits for the thread of Start.
  void Stop();

  // Ends Serve. Async-signal-safe; callable from any thread.
  void RequestStop();

  // Makes SIGINT and SIGTERM call RequestStop on this server.
  void StopOnSignals();

  struct Impl;

 private:
  std::unique_ptr<Impl> m_impl;
};

}  // namespace vrellix::sim
