#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (60 unless given; the test
# command takes a short run, a longer one is for a change of a parser). The test command builds
# them with its other builds (--build) and runs them later (--run).
#   fuzz.sh [--build | --run] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
steps=build-run
case ${1:-} in
  --build | --run) steps=${1#--}; shift ;;
esac
seconds=${1:-60}
if [ "$steps" != run ]; then
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORN_FUZZ=ON -DVORN_TESTS=OFF >/dev/null
  cmake --build build/fuzz -j "$(nproc)" --target vorn_fuzzers
fi
[ "$steps" != build ] || exit 0
shopt -s nullglob
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/seeds/${name#fuzz_}
  [ -d "$seeds" ] || seeds=""
  echo "-- $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -print_final_stats=0 \
    -artifact_prefix="build/fuzz/$name-" \
    "$corpus" $seeds 2>&1 | tail -n 3
done
