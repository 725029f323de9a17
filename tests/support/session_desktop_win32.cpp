// Under wine, the first window of a session (a COM apartment's, say, when the
// IME is asked for readings) starts the desktop process, which takes the
// standard error handle of the process that started it along and keeps it
// open for the rest of the session. Started by a test program, that would be
// the pipe ctest reads to its end: the output would never end and the test
// would hang until ctest's time-out. So a test program's standard error handle
// is the null device from its start; what it prints still reaches ctest, since
// the C runtime took the handle to the pipe before this runs. (The programs a
// test starts are covered by ChildProcess, which stops reading once the
// program has ended.)
#include <windows.h>

namespace {

struct StandardErrorForTheDesktop {
  StandardErrorForTheDesktop() {
    const HANDLE nul =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (nul != INVALID_HANDLE_VALUE) SetStdHandle(STD_ERROR_HANDLE, nul);
  }
};

const StandardErrorForTheDesktop kStandardErrorForTheDesktop;

}  // namespace
