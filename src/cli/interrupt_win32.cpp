#include <windows.h>

#include <mutex>

#include "cli/interrupt.h"

namespace vrellix::cli {

namespace {

// The console runs its control handlers on a thread of its own, where
// ordinary code may run.
std::mutex g_mutex;
std::function<void()> g_onInterrupt;

BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_onInterrupt) g_onInterrupt();
  return TRUE;
}

}  // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt) {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_onInterrupt = std::move(onInterrupt);
  }
  m_bActive = SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

InterruptWatch::~InterruptWatch() {
  if (m_bActive) SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_onInterrupt = nullptr;
}

}  // namespace vrellix::cli
