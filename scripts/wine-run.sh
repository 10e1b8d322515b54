#!/usr/bin/env bash
# Runs one Windows program of a build under Wine in the test prefix of its architecture (see
# wine-env.sh).
set -euo pipefail
scripts=$(dirname "$0")
VORN_WINE_ARCH=$(bash "$scripts/wine-arch.sh" "$1")
export VORN_WINE_ARCH
source "$scripts/wine-env.sh"
exec wine "$@"
