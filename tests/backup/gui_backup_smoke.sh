#!/usr/bin/env bash
# Backs up the demo machine's main user from vorn.exe's main window under Wine (on the system
# VORN_WINE_SYSTEM, winxp unless set): chooses Backup, clicks the user, presses OK, waits for
# the set's information file and saves a screenshot of the screen at the end of the run.
#   gui_backup_smoke.sh WINDOWS-BUILD-DIR OUTPUT-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "backup smoke test: no display, skipped"; exit 77; }

source "$repo/scripts/demo-env.sh" "$build"
trap 'wineserver -k 2>/dev/null || true' EXIT

windows_path() { echo "Z:${1//\//\\}"; }
probe() { wine "$build/tests/smoke/window_probe.exe" "$1" vorn-backup; }
desktop=$(vorn_desktop -u)
set_folder="$desktop/Vorn_bkup/山田 太郎"
rm -rf "$desktop/Vorn_bkup"

wine explorer /desktop=vorn-backup,800x600 "$(windows_path "$build/app/vorn.exe")" &
for _ in $(seq 60); do users=$(probe users 2>/dev/null) && [ -n "$users" ] && break; sleep 0.5; done
# A fresh prefix may still be busy starting; the pick is tried until OK can be pressed.
started=""
for _ in $(seq 30); do picked=$(probe backup 2>/dev/null) && started=yes && break; sleep 0.5; done
[ -n "$started" ] || { echo "backup smoke test: could not start a backup; the window showed"; echo "$picked"; exit 1; }
for _ in $(seq 120); do [ -f "$set_folder/Reg/VornInfo.dat" ] && break; sleep 0.5; done
[ -f "$set_folder/Reg/VornInfo.dat" ] || { echo "backup smoke test: no set was written"; exit 1; }
sleep 2
mkdir -p "$out"
import -window root "$out/vorn-backup-done.png"
echo "backup smoke test: set written:"; (cd "$set_folder" && find . -type f | sort)
echo "screenshot: $out/vorn-backup-done.png"
probe close || true
