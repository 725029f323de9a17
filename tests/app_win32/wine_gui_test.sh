#!/bin/sh
# How ctest runs the Win32 window tests under wine:
#   wine_gui_test.sh PREFIX vrellix_win32_tests.exe [ARGUMENT...]
# They need an X server of their own (xvfb-run) and the fonts that
# scripts/wine-gui gives the prefix, and a wineserver that knows that display:
# one that display-less tests left running is ended first, this one after them.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
"$root/cmake/wine-emulator.sh" "$1" wineserver -k >/dev/null 2>&1
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-gui" "$@"
status=$?
"$root/cmake/wine-emulator.sh" "$1" wineserver -k >/dev/null 2>&1
exit $status
