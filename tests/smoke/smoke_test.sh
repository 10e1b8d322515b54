#!/usr/bin/env bash
# Starts vorn.exe on the demo machine (on the system VORN_WINE_SYSTEM, winxp unless set), checks
# the main window lists the users main user first, that a second copy ends by itself, saves a
# screenshot and closes the window.
#   smoke_test.sh WINDOWS-BUILD-DIR OUTPUT-DIR
set -euo pipefail
build=$1
out=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "smoke test: no display, skipped"; exit 77; }

source "$repo/scripts/demo-env.sh" "$build"
trap 'wineserver -k 2>/dev/null || true' EXIT

# The users of demo/machine.txt: 山田 太郎 is the main user, second in registry order.
expected=$'山田 太郎\n佐藤 次郎\n鈴木 花子'

windows_path() { echo "Z:${1//\//\\}"; }
probe() { wine "$build/tests/smoke/window_probe.exe" "$1" vorn-smoke; }

# A virtual desktop gives the windows their frames without a window manager.
wine explorer /desktop=vorn-smoke,800x600 "$(windows_path "$build/app/vorn.exe")" &

users=""
for _ in $(seq 60); do
  if users=$(probe users 2>/dev/null) && [ -n "$users" ]; then break; fi
  sleep 0.5
done
if [ "$users" != "$expected" ]; then
  echo "smoke test: user list is"; echo "${users:-<no main window>}"; echo "expected"; echo "$expected"
  exit 1
fi
echo "users listed main user first:"; echo "$users"

# A second copy ends silently and leaves the first one alone.
timeout 30 wine "$build/app/vorn.exe"
probe users >/dev/null || { echo "smoke test: the first copy is gone"; exit 1; }

# Restore, then the main user: the Store Root written with %UserProfile% shows expanded (the 98
# family's is written out).
picked=$(probe restore)
profile=$(wine cmd /c echo %USERPROFILE% | tr -d '\r')
expected_root="$profile\\Local Settings\\Application Data\\Identities\\{6E2D4C8A-91B3-4F7E-A5D0-C3B2E1F09876}\\Microsoft\\Outlook Express"
if [ "$picked" != "$expected_root"$'\n'"ok" ]; then
  echo "smoke test: after picking the main user for restore the window shows"; echo "$picked"
  echo "expected"; echo "$expected_root"; echo "ok"
  exit 1
fi
echo "restore mode, main user picked: $expected_root"

# The destination dialog opens on the desktop default; OK stores it.
chosen=$(probe destination)
if [ "$chosen" != $'option 0\n\nclosed' ]; then
  echo "smoke test: the destination dialog showed"; echo "$chosen"; exit 1
fi
stored_path=$(wine "$build/tests/smoke/window_probe.exe" setting "BackUp Path")
stored_choice=$(wine "$build/tests/smoke/window_probe.exe" setting SV_Int)
if [ "$VORN_WINE_FAMILY" = 9x ]; then
  desktop="$(wine cmd /c echo %windir% | tr -d '\r')\\ﾃﾞｽｸﾄｯﾌﾟ"
else
  desktop="$profile\\デスクトップ"
fi
if [ "$stored_path" != "$desktop\\Vorn_bkup" ] || [ "$stored_choice" != 0 ]; then
  echo "smoke test: stored destination \"$stored_path\" ($stored_choice)"; exit 1
fi
echo "destination dialog: desktop default kept as $stored_path"

mkdir -p "$out"
import -window root "$out/vorn-main-window.png"
echo "screenshot: $out/vorn-main-window.png"

probe close
for _ in $(seq 40); do
  probe users >/dev/null 2>&1 || break
  sleep 0.25
done
if probe users >/dev/null 2>&1; then echo "smoke test: vorn.exe did not end on close"; exit 1; fi
echo "main window closed"
