#!/usr/bin/env bash
# Runs one Windows program of the build under Wine in the test prefix (see wine-env.sh).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
