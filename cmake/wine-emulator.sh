#!/bin/sh
# Runs a Windows program under wine, for CMAKE_CROSSCOMPILING_EMULATOR:
#   wine-emulator.sh PREFIX PROGRAM.exe [ARGS...]
#   wine-emulator.sh PREFIX wineserver -k|-w      (that prefix's wineserver)
# PREFIX is a wine prefix of the build's own, created on first use, in which
# COM1-COM255 lead nowhere: wine would otherwise give COM1 to /dev/ttyS0, a
# real port of this machine (on a VM its console); it now gets COM256, which
# nothing here opens. A test maps the port it needs with
#   wine-emulator.sh PREFIX reg add 'HKLM\Software\Wine\Ports' /v COM9 /d PATH /f
# and then "wine-emulator.sh PREFIX wineserver -k": wine reads the map when it
# starts.
set -eu
prefix="$1"
shift
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine" ] || wine="$(command -v wine64)"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"
# With address-space randomisation, about one wine start in 3,000 finds the
# shared user data's fixed address taken and ends at once, silently, with
# status 1 ("failed to map the shared user data", seen with WINEDEBUG=err+all):
# a test then fails that did not run. Without randomisation the layout is
# always the one wine expects. setarch is util-linux's; where the kernel
# refuses the personality, wine runs as before.
fixed_layout=""
if setarch "$(uname -m)" -R true 2>/dev/null; then fixed_layout="setarch $(uname -m) -R"; fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ ! -f "$prefix/.ports-unmapped" ]; then
  mkdir -p "$prefix"
  # ctest -j starts several programs at once: one of them makes the prefix.
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/.ports-unmapped" ]; then
    env -u DISPLAY $fixed_layout "$wine" wineboot -i >/dev/null 2>&1
    {
      printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
      n=1
      while [ $n -le 255 ]; do printf '"COM%d"=""\r\n' $n; n=$((n + 1)); done
    } >"$prefix/ports.reg"
    $fixed_layout "$wine" regedit /S "Z:$(printf '%s' "$prefix/ports.reg" | tr / '\\\\')"
    # The port map is made when wine starts.
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w
    touch "$prefix/.ports-unmapped"
  fi
  flock -u 9
  exec 9>&-
fi
if [ "${1:-}" = wineserver ]; then
  shift
  status=0
  "$wineserver" "$@" || status=$?
  # A server that was told to end takes a moment to go, and a program started
  # meanwhile cannot connect to it: wait until it has gone.
  if [ "${1:-}" = -k ]; then "$wineserver" -w; fi
  exit $status
fi
# Debian's wineserver ends as soon as its last program has (-p0), and a test
# that starts just then fails ("a wine server seems to be running, but I cannot
# connect to it"): tests get a server that waits 30 s for the next program.
# The session's own processes (services, devices) start with its first
# program and keep that program's output open as long as the session lasts:
# that first program is wineboot, with its output on the null device, not a
# test whose output ctest reads to its end.
exec 9>"$prefix.lock"
flock 9
if "$wineserver" -p30 >/dev/null 2>&1; then
  $fixed_layout "$wine" wineboot </dev/null >/dev/null 2>&1 || true
fi
flock -u 9
exec 9>&-
# Now and then (about one run in 5,000) the program has ended, its output is
# whole, and then glibc's loader fails in wine's exit with status 127:
# "Inconsistency detected by ld.so: dl-fini.c: ... _dl_fini: Assertion". The
# program's own status is lost, so that run, and only that one, is made again.
# Every other status, a test's failure among them, is passed on as it is.
errors="$(mktemp)"
fifo="$errors.fifo"
mkfifo "$fifo"
tee "$errors" <"$fifo" >&2 &
tee_pid=$!
status=0
$fixed_layout "$wine" "$@" 2>"$fifo" || status=$?
wait $tee_pid || true
lost=false
if [ $status -eq 127 ] && tail -n 1 "$errors" | grep -q '^Inconsistency detected by ld\.so: dl-fini\.c'; then lost=true; fi
rm -f "$errors" "$fifo"
if $lost; then
  echo "wine-emulator: glibc's loader failed in wine's exit after the program ended; its status is lost, so it runs once more" >&2
  exec $fixed_layout "$wine" "$@"
fi
exit $status
