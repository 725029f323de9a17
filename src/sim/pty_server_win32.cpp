#include "sim/pty_server.h"

namespace vrellix::sim {

// Windows has no pseudo-terminal that a serial port client could open.
struct PtyServer::Impl {
  std::string slavePath;
};

PtyServer::PtyServer(LineAnswer&) : m_impl(std::make_unique<Impl>()) {}
PtyServer::~PtyServer() = default;

bool PtyServer::Open(std::string* error) {
  *error = "the simulator needs a pseudo-terminal, which this system does not have";
  return false;
}

const std::string& PtyServer::SlavePath() const { return m_impl->slavePath; }
void PtyServer::Serve() {}
void PtyServer::Start() {}
void PtyServer::Stop() {}
void PtyServer::RequestStop() {}
void PtyServer::StopOnSignals() {}

}  // namespace vrellix::sim
