#!/usr/bin/env bash
# Checks the layers, builds every target and runs every test: native (with ASan/UBSan), the
# fuzzers for a bounded time, then the Windows builds under Wine: the 32-bit build we ship
# reporting Windows XP (the whole suite), 98 (the demo machine's backups, end to end and from the
# window, and its start-up) and 2000 (the smoke test), and the 64-bit build reporting XP (the
# whole suite). The time of each phase is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

times=""
trap 'printf "== time of each phase\n%s" "$times"' EXIT
timed() {  # NAME COMMAND...
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  times+=$(printf '%5d s  %s' $((SECONDS - start)) "$name")$'\n'
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

# The 32-bit build needs Wine's 32-bit side (wine32:i386, and a kernel that runs 32-bit programs).
can_run_32bit() {
  local said
  said=$(export VORN_WINE_ARCH=win32 && source scripts/wine-env.sh && wine cmd /c echo 32-bit 2>&1 | tr -d '\r') || true
  if [ "$said" != 32-bit ]; then
    cat >&2 <<'MSG'
test: this machine cannot run 32-bit Windows programs under Wine, so the 32-bit build (the one we
      ship) cannot be tested. wine32:i386 is installed by scripts/install-deps.sh; the kernel must
      also run 32-bit programs (IA32 emulation). Wine said:
MSG
    echo "$said" | head -n 5 >&2
    return 1
  fi
  echo "32-bit Windows programs run under Wine"
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
    xvfb-run -a -s "-screen 0 1024x768x24" \
      bash -c 'wine cmd /c exit && ctest --test-dir "$0" -j 1 --output-on-failure "$@"' "$build" "$@"
  )
}

timed "layers" python3 scripts/check-layers.py
timed "native build and tests (sanitizers)" native
timed "fuzzers" bash scripts/fuzz.sh
timed "windows builds: 32-bit (shipped) and 64-bit" windows_builds
timed "32-bit wine" can_run_32bit
timed "32-bit build under wine as Windows XP" wine_tests build/win32 winxp
timed "32-bit build under wine as Windows 98" \
  wine_tests build/win32 win98 -R '^(wine_backup_end_to_end|gui_backup_smoke|smoke_main_window|win98_call_trace|winme_call_trace)$'
timed "32-bit build under wine as Windows 2000" wine_tests build/win32 win2k -R '^smoke_main_window$'
timed "64-bit build under wine as Windows XP" wine_tests build/windows winxp
