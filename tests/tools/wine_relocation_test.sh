#!/usr/bin/env bash
# Runs the maintenance tools' Wine tests with a second drive letter on another file system
# (a folder in /dev/shm), so that moves there cannot be renames.
#   wine_relocation_test.sh WINDOWS-BUILD-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
VORN_WINE_ARCH=$(bash "$repo/scripts/wine-arch.sh" "$build/tests/tools/tools_wine_tests.exe")
export VORN_WINE_ARCH
source "$repo/scripts/wine-env.sh"
other=$(mktemp -d /dev/shm/vorn-other-drive.XXXXXX)
drive=""
for letter in r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then drive=$letter; break; fi
done
[ -n "$drive" ] || { echo "no free drive letter in $WINEPREFIX" >&2; exit 1; }
trap 'rm -f "$WINEPREFIX/dosdevices/$drive:"; rm -rf "$other"' EXIT
ln -s "$other" "$WINEPREFIX/dosdevices/$drive:"
[ "$(stat -c %d "$other")" != "$(stat -c %d "$WINEPREFIX/drive_c")" ] || { echo "$other is on the prefix's file system" >&2; exit 1; }
VORN_OTHER_DRIVE="${drive^^}:" wine "$build/tests/tools/tools_wine_tests.exe" "${@:2}"
