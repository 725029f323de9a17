#!/usr/bin/env bash
# The Windows program keys an album into the Linux simulator through one of
# wine's COM ports: COM9 leads to a link to the simulator's pseudo-terminal.
# The album and the settings file that names the port lie in a folder with a
# Japanese name. What the simulated device holds afterwards must be the album
# (a "none" reading leaves the device's old text).
#   enter_over_wine_com_port.sh LINUX_CLI WINDOWS_CLI.exe EMULATOR [EMULATOR_ARGS...]
set -euo pipefail
linux_cli="$1"
windows_cli="$2"
shift 2
wine_run=("$@")

if [ ! -x "$linux_cli" ]; then
  echo "the Linux build's vrellix-cli is needed as the simulator: $linux_cli (build the ci preset first)" >&2
  exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/vrellix-com9.XXXXXX")"
simulator=""
cleanup() {
  if [ -n "$simulator" ]; then kill "$simulator" 2>/dev/null || true; fi
  "${wine_run[@]}" reg add 'HKLM\Software\Wine\Ports' /v COM9 /t REG_SZ /d "" /f >/dev/null 2>&1 || true
  "${wine_run[@]}" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# Wine turns the Windows names into UTF-8 file names only under a UTF-8 locale.
export LC_ALL=C.UTF-8

folder="$work/アルバム フォルダ"
mkdir -p "$folder"
# UTF-8 with a byte-order mark; a title and a track, kept short: the job's own
# pauses make even this half a minute.
printf '\xEF\xBB\xBFｱｲ\r\nnone\r\nnone\r\nう,none\r\n' >"$folder/日本語の名前.csv"
# [シリアル通信設定] ｼﾘｱﾙﾎﾟｰﾄ名=COM9, [赤外線通信設定] ｺﾏﾝﾄﾞDELAY=10, in code page 932.
printf '[\x83\x56\x83\x8A\x83\x41\x83\x8B\x92\xCA\x90\x4D\x90\xDD\x92\xE8]\r\n\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x96\xBC=COM9\r\n' >"$folder/rzt_input.ini"
printf '[\x90\xD4\x8A\x4F\x90\xFC\x92\xCA\x90\x4D\x90\xDD\x92\xE8]\r\n\xBA\xCF\xDD\xC4\xDE''DELAY=10\r\n' >>"$folder/rzt_input.ini"

"$linux_cli" simulate --old 前の >"$work/dump.txt" 2>"$work/simulate.err" &
simulator=$!
for _ in $(seq 100); do
  if grep -q '^port ' "$work/dump.txt" 2>/dev/null; then break; fi
  sleep 0.1
done
pty="$(sed -n 's/^port //p' "$work/dump.txt")"
if [ -z "$pty" ]; then
  echo "the simulator did not start:" >&2
  cat "$work/simulate.err" >&2
  exit 1
fi
ln -s "$pty" "$work/com9"
"${wine_run[@]}" reg add 'HKLM\Software\Wine\Ports' /v COM9 /t REG_SZ /d "$work/com9" /f >/dev/null
"${wine_run[@]}" wineserver -k >/dev/null 2>&1 || true

status=0
(cd "$folder" && "${wine_run[@]}" "$windows_cli" enter 日本語の名前.csv --yes) >"$work/enter.out" 2>"$work/enter.err" ||
  status=$?
kill -INT "$simulator"
wait "$simulator" || true
simulator=""

expected="$work/expected.txt"
printf '%s\n' 'port '"$pty" 'title ｱｲ' 'yomi 前の' 'artist 前の' 'track 1 name う' 'track 1 yomi 前の' >"$expected"
if [ "$status" -ne 0 ] || ! cmp -s "$expected" "$work/dump.txt"; then
  echo "vrellix-cli.exe enter ended with $status; its output:" >&2
  cat "$work/enter.out" "$work/enter.err" >&2
  echo "the device holds (expected on the left):" >&2
  diff "$expected" "$work/dump.txt" >&2 || true
  exit 1
fi
echo "the album arrived whole over COM9: $(wc -l <"$work/dump.txt") lines"
