#!/usr/bin/env bash
# Checks the layers, builds every target and runs every test: native (with ASan/UBSan), the
# fuzzers for a bounded time (scripts/fuzz.sh SECONDS for longer runs), the Windows builds
# under Wine: the 32-bit build we ship reporting Windows XP (the whole suite), 98 (the demo
# machine's backups, end to end and from the window, and its start-up) and 2000 (the smoke test),
# and the 64-bit build reporting XP (what its own code may do otherwise: see only_32bit_shows).
# The fuzzers (their build, then their run) and the 64-bit round run beside the 32-bit rounds:
# a Wine round keeps about one core busy, and the two builds' prefixes and screens are apart.
# On a machine that runs no 32-bit programs (or with VORN_NO_32BIT=1) the 32-bit build is built
# and checked without running it, and the 64-bit build takes its place in every Wine phase. The
# time of each phase is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
source scripts/wine-loaders.sh

if why_not=$(vorn_runs_32bit); then
  not_run=""
else
  not_run="test: the 32-bit build (the one we ship) was built and its static checks ran (imports against
      the minimum systems, file headers, version resources, help file), but it was NOT RUN:
      $why_not. The 64-bit build ran in its place in every Wine phase."
  echo "$not_run"
fi
times=""
beside_pid=""
trap 'end_beside || true; printf "== time of each phase\n%s" "$times"; [ -z "$not_run" ] || echo "$not_run"' EXIT
timed() {  # NAME COMMAND...
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  times+=$(printf '%5d s  %s' $((SECONDS - start)) "$name")$'\n'
}

# The phases run beside the main ones: their output is kept in a file and shown when they end,
# their times join the others.
beside_log=build/beside.log
start_beside() {  # PHASE-NAME COMMAND... [-- PHASE-NAME COMMAND...]
  mkdir -p build
  rm -f "$beside_log.times"
  (
    times=""
    trap 'printf %s "$times" > "$beside_log.times"' EXIT
    while [ $# -gt 0 ]; do
      local phase=()
      while [ $# -gt 0 ] && [ "$1" != -- ]; do phase+=("$1"); shift; done
      [ $# -eq 0 ] || shift
      timed "${phase[0]} (beside)" "${phase[@]:1}"
    done
  ) > "$beside_log" 2>&1 &
  beside_pid=$!
}
end_beside() {  # fails when a phase beside failed
  [ -n "$beside_pid" ] || return 0
  local status=0
  wait "$beside_pid" || status=$?
  beside_pid=""
  echo "== output of the phases run beside"
  cat "$beside_log"
  times+=$(cat "$beside_log.times" 2>/dev/null)$'\n'
  [ "$status" -eq 0 ] || echo "test: a phase run beside failed (status $status)"
  return "$status"
}

native() {
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON >/dev/null
  cmake --build build/native -j "$jobs"
  ctest --test-dir build/native -j "$jobs" --output-on-failure
}

windows_builds() {
  local build toolchain
  for build in win32:mingw-w64-i686 windows:mingw-w64-x86_64; do
    toolchain=${build#*:}
    build=build/${build%%:*}
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
      -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" >/dev/null
    cmake --build "$build" -j "$jobs"
  done
}

# Runs a Windows build's tests (all, or those ctest's further arguments pick) under Wine reporting
# SYSTEM, on a screen of our own whatever display the caller has. Wine's background programs (the
# desktop among them) start with the first program of a session and would inherit, and hold open,
# ctest's output pipes: they are started first, on that screen, and kept for the whole run.
wine_tests() {  # BUILD-DIR SYSTEM [CTEST-ARGUMENTS...]
  local build=$1 system=$2
  shift 2
  (
    export VORN_WINE_SYSTEM=$system VORN_WINE_ARCH
    VORN_WINE_ARCH=$(bash scripts/wine-arch.sh "$build/cli/vorn-cli.exe")
    source scripts/wine-env.sh
    wineserver -w  # the one that set the system, if any, ends first
    wineserver -p
    trap 'wineserver -k' EXIT
    xvfb-run -a -n "${VORN_FIRST_DISPLAY:-99}" -s "-screen 0 1024x768x24" \
      bash -c 'wine cmd /c exit && ctest --test-dir "$0" -j 1 --output-on-failure "$@"' "$build" "$@"
  )
}

# What the 32-bit build is checked for without running it: the imports (objdump), the version
# resources and headers of its files (read by the 64-bit build's test) and its help file (the one
# the native tests read).
static_checks_32bit() {
  ctest --test-dir build/win32 -R '^shipped_imports$' --output-on-failure
  VORN_SHIPPED_BUILD=$PWD/build/win32 wine_tests build/windows winxp -R '^shipped_files_tests$'
  cmp build/native/help/Vorn4.chm build/win32/app/Vorn4.chm
  echo "the 32-bit build's help file is the one the native tests checked"
}

# The tests of the 98 and 2000 rounds; every other one runs as XP only.
as_98='^(wine_backup_end_to_end|gui_backup_smoke|wine_restore_end_to_end|gui_restore_smoke|smoke_main_window|win98_call_trace|winme_call_trace)$'
as_2000='^smoke_main_window$'
# Where the 32-bit build runs, the 64-bit build's XP round leaves out what the 32-bit round has
# shown for code that does not depend on the word size: the scenarios driven through the windows
# and vorn-cli over the same scripts, and the help viewer on the same help file. It keeps the
# test programs of the platform, archiver, registry and mail-store code, the shipped files, the
# backup end to end (its own archiver library packs the mail), the main window, and the run
# command's fallback.
only_32bit_shows='^(wine_restore_end_to_end|gui_restore_smoke|gui_backup_smoke|wine_set_end_to_end|smoke_options_window|wine_help_contexts)$'

timed "layers" python3 scripts/check-layers.py
timed "native build and tests (sanitizers)" native
timed "windows builds: 32-bit (shipped) and 64-bit" windows_builds
if [ -z "$not_run" ]; then
  VORN_FIRST_DISPLAY=200 start_beside "fuzzers' build" bash scripts/fuzz.sh --build -- \
    "fuzzers" bash scripts/fuzz.sh --run 20 -- \
    "64-bit build under wine as Windows XP" wine_tests build/windows winxp -E "$only_32bit_shows"
  timed "32-bit build under wine as Windows XP" wine_tests build/win32 winxp
  timed "32-bit build under wine as Windows 98" wine_tests build/win32 win98 -R "$as_98"
  timed "32-bit build under wine as Windows 2000" wine_tests build/win32 win2k -R "$as_2000"
else
  start_beside "fuzzers' build" bash scripts/fuzz.sh --build -- "fuzzers" bash scripts/fuzz.sh --run 20
  timed "32-bit build: static checks (not run)" static_checks_32bit
  timed "64-bit build under wine as Windows XP" wine_tests build/windows winxp
  timed "64-bit build under wine as Windows 98" wine_tests build/windows win98 -R "$as_98"
  timed "64-bit build under wine as Windows 2000" wine_tests build/windows win2k -R "$as_2000"
fi
end_beside
