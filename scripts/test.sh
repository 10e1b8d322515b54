#!/usr/bin/env bash
# Builds both targets and runs every test: native (with ASan/UBSan), the fuzzers for a
# bounded time, then the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

echo "== layers"
python3 scripts/check-layers.py

echo "== native build (sanitizers)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native -j "$jobs" --output-on-failure

echo "== fuzzers"
bash scripts/fuzz.sh

echo "== windows build under wine"
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/windows -j "$jobs"
source scripts/wine-env.sh
# Every Windows test runs on a screen of our own, whatever display the caller has. Wine's
# background programs (the desktop among them) start with the first program of a session and
# would inherit, and hold open, ctest's output pipes: they are started first, on that screen,
# and kept for the whole run.
wineserver -p
trap 'wineserver -k' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -c 'wine cmd /c exit && ctest --test-dir build/windows -j 1 --output-on-failure'
