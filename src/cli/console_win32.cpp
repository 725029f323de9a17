// Ctrl-C / Ctrl-Break → StopEvent. Windows runs console control handlers on a
// thread of their own, so the handler may set the event directly.
#include "cli/console.h"

#include <windows.h>

#include <atomic>

namespace vrellix::cli {

namespace {

std::atomic<StopEvent*> g_stop{nullptr};

BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  StopEvent* stop = g_stop.load();
  if (!stop) return FALSE;
  // Only the first one is caught; a second ends the process as usual.
  g_stop.store(nullptr);
  stop->Set();
  return TRUE;
}

}  // namespace

void UseUtf8Output() { SetConsoleOutputCP(CP_UTF8); }

struct InterruptToStop::Impl {
  bool installed = false;
};

InterruptToStop::InterruptToStop(StopEvent& stop) : m_impl(std::make_unique<Impl>()) {
  g_stop.store(&stop);
  m_impl->installed = SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

InterruptToStop::~InterruptToStop() {
  if (m_impl->installed) SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  g_stop.store(nullptr);
}

}  // namespace vrellix::cli
