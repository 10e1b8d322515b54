#!/usr/bin/env bash
# The run command where the installer cannot run (forced with VORN_NO_32BIT=1): it puts the 64-bit
# build in place on a 64-bit demo machine, as the installer would, and shows the main window.
# The machine is kept in this checkout's cache (a prefix costs time to make).
#   run_command_test.sh WINDOWS-BUILD-DIR
set -euo pipefail
build=$1
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "run command test: no display, skipped"; exit 77; }
# The run command builds and starts the checkout's own 64-bit build.
[ "$build" -ef "$repo/build/windows" ] || { echo "run command test: $build is not build/windows, skipped"; exit 77; }

source "$repo/scripts/checkout-cache.sh"
export XDG_CACHE_HOME=$VORN_CACHE/run-command
log=$(mktemp)
VORN_NO_32BIT=1 bash "$repo/scripts/run.sh" >"$log" 2>&1 &
run=$!
trap 'kill $run 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -f "$log"' EXIT
fail() { echo "run command test: $*"; cat "$log"; exit 1; }

until grep -q '^== starting Vorn' "$log"; do
  kill -0 $run 2>/dev/null || fail "the run command ended before starting Vorn"
  sleep 1
done
grep -q "the installer .* cannot be used here" "$log" || fail "no line says why the installer was not used"
export VORN_WINEPREFIX=$XDG_CACHE_HOME/vorn/demo-win64 VORN_WINE_ARCH=win64
source "$repo/scripts/wine-env.sh"
probe() { wine "$build/tests/smoke/window_probe.exe" "$@"; }
users=""
for _ in $(seq 60); do users=$(probe users 2>/dev/null) && [ -n "$users" ] && break; sleep 1; done
[ "$users" = $'山田 太郎\n佐藤 次郎\n鈴木 花子' ] || fail "no main window listing the demo machine's users (got: $users)"
echo "the main window shows the demo machine's users"

drive=$WINEPREFIX/drive_c
for placed in "Program Files/Vorn/vorn.exe" "Program Files/Vorn/Vorn4.chm" windows/system32/unlha32.dll \
              "ProgramData/Microsoft/Windows/Start Menu/Programs/Vorn/Vorn.lnk"; do
  [ -f "$drive/$placed" ] || fail "$placed was not put in place"
done
echo "vorn.exe, Vorn4.chm, unlha32.dll and the Start menu entry are in place"

probe close
wait $run || fail "the run command ended with status $?"
