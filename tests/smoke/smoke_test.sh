#!/usr/bin/env bash
# Starts vorn.exe on the demo machine (on the system VORN_WINE_SYSTEM, winxp unless set) and
# looks at it from outside as a user would: the user list, a second copy, the windows' place,
# font, icon and tab order, the destination dialog, a backup (on the 2000/XP family with a
# message box on the way), the active window and focus after each box and after the run,
# closing, and the end of the process when its desktop is taken away. Screenshots of the main
# window, the destination dialog and the message box go to OUTPUT-DIR.
#   smoke_test.sh WINDOWS-BUILD-DIR OUTPUT-DIR
set -euo pipefail
build=$1
out=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "smoke test: no display, skipped"; exit 77; }

source "$repo/scripts/demo-env.sh" "$build"
profile=$(wine cmd /c echo %USERPROFILE% | tr -d '\r')
desktop=$(vorn_desktop)
desktop_unix=$(winepath -u "$desktop")

# The phonebooks are moved away for one backup (so that it shows a message) and always put
# back, as is the setting "OpenFolder" (off here: a file browser would take the foreground).
phonebooks=("$(winepath -u "$profile\\Application Data\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk")"
            "$(winepath -u 'C:\Documents and Settings\All Users\Application Data\Microsoft\Network\Connections\Pbk\rasphone.pbk')")
put_back_phonebooks() { for p in "${phonebooks[@]}"; do [ ! -f "$p.away" ] || mv "$p.away" "$p"; done; }
open_folder=$(wine "$build/tests/smoke/window_probe.exe" setting OpenFolder || true)
put_back_open_folder() {
  if [ -n "$open_folder" ]; then
    wine reg add 'HKCU\Software\Vorn' /v OpenFolder /t REG_DWORD /d "$open_folder" /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Vorn' /v OpenFolder /f >/dev/null 2>&1 || true
  fi
}
trap 'put_back_phonebooks; put_back_open_folder; wineserver -k 2>/dev/null || true' EXIT

fail() { echo "smoke test: $*"; exit 1; }
windows_path() { echo "Z:${1//\//\\}"; }
probe() { wine "$build/tests/smoke/window_probe.exe" "$@" vorn-smoke; }
expect() {  # expect WHAT EXPECTED ACTUAL
  [ "$3" = "$2" ] || { echo "smoke test: $1 is"; echo "$3"; echo "expected"; echo "$2"; exit 1; }
}
# The run's end flashes the caption; it is drawn active again once the flashes are over.
active_when_settled() {
  local state
  for _ in $(seq 20); do
    state=$(probe active)
    [[ $state != *"caption inactive"* ]] && break
    sleep 0.5
  done
  echo "$state"
}
start_vorn() {
  # A virtual desktop gives the windows their frames without a window manager.
  wine explorer /desktop=vorn-smoke,800x600 "$(windows_path "$build/app/vorn.exe")" &
  for _ in $(seq 60); do
    if users=$(probe users 2>/dev/null) && [ -n "$users" ]; then return; fi
    sleep 0.5
  done
  fail "no main window"
}

# A backup that opens no file browser, into no earlier set.
wine reg add 'HKCU\Software\Vorn' /v OpenFolder /t REG_DWORD /d 0 /f >/dev/null 2>&1
rm -rf "$desktop_unix/Vorn_bkup"
mkdir -p "$out"

start_vorn
# The users of demo/machine.txt: 山田 太郎 is the main user, second in registry order.
expect "the user list" $'山田 太郎\n佐藤 次郎\n鈴木 花子' "$users"
echo "users listed main user first"

# A second copy ends silently and leaves the first one alone.
timeout 30 wine "$build/app/vorn.exe"
probe users >/dev/null || fail "the first copy is gone"

expect "the main window's place" "inside the work area, off its corner" "$(probe place)"
expect "the main window at start" $'active VornForm1\nforeground VornForm1\ncaption active\nfocus 211' \
  "$(active_when_settled)"
echo "main window placed off the corner, active, the focus on the first mode"

# Restore, then the main user: the Store Root written with %UserProfile% shows expanded (the 98
# family's is written out).
expected_root="$profile\\Local Settings\\Application Data\\Identities\\{6E2D4C8A-91B3-4F7E-A5D0-C3B2E1F09876}\\Microsoft\\Outlook Express"
expect "the window after picking the main user for restore" "$expected_root"$'\nok' "$(probe restore)"
echo "restore mode, main user picked: $expected_root"
before_dialog=$(probe active)

# The destination dialog: centred, Vorn's icon, the desktop default chosen, the path box
# read-only, Tab from the top down, the underscore of "Vorn_bkup" drawn; OK stores it.
expect "the destination dialog" $'option 0\ntext \nread-only yes\ncentred\nicon vorn\nfocus 301' "$(probe destination)"
import -window root "$out/vorn-destination.png"
expect "Tab from the selected option" "303 1" "$(probe tab 2)"
expect "the caption \\ﾃﾞｽｸﾄｯﾌﾟ\\Vorn_bkup" "underscore drawn" "$(probe underscore)"
expect "Tab on from OK" "2 301" "$(probe tab 2)"
expect "closing the destination dialog" "closed" "$(probe destination-ok)"
stored_path=$(wine "$build/tests/smoke/window_probe.exe" setting "BackUp Path")
stored_choice=$(wine "$build/tests/smoke/window_probe.exe" setting SV_Int)
expect "the stored destination" "$desktop\\Vorn_bkup 0" "$stored_path $stored_choice"
expect "the main window after the dialog" "$before_dialog" "$(active_when_settled)"
echo "destination dialog: centred, Vorn's icon, tab order top down, underscore drawn, desktop default kept"
echo "screenshot: $out/vorn-destination.png"

# A backup: on the 2000/XP family without phonebooks, whose message box is centred on the main
# window (the 98 family saves none); after the run the main window is active with the focus on OK.
if [ "$VORN_WINE_FAMILY" = nt ]; then
  for p in "${phonebooks[@]}"; do [ ! -f "$p" ] || mv "$p" "$p.away"; done
fi
probe backup >/dev/null || fail "the backup did not start"
if [ "$VORN_WINE_FAMILY" = nt ]; then
  expect "the backup's message box" $'title ERROR\ntext ダイアルアップの設定を保存できませんでした。\ncentred' "$(probe message)"
  import -window root "$out/vorn-message.png"
  probe message-ok || fail "the message box did not close"
  echo "backup: message box centred; screenshot: $out/vorn-message.png"
fi
set_info="$desktop_unix/Vorn_bkup/山田 太郎/Reg/VornInfo.dat"
for _ in $(seq 120); do [ -f "$set_info" ] && break; sleep 0.5; done
[ -f "$set_info" ] || fail "the backup wrote no set"
probe idle || fail "the backup did not end"
put_back_phonebooks
expect "the main window after the backup" $'active VornForm1\nforeground VornForm1\ncaption active\nfocus 1' \
  "$(active_when_settled)"
import -window root "$out/vorn-main-window.png"
echo "backup: then the main window active with the focus on OK; screenshot: $out/vorn-main-window.png"

probe close
for _ in $(seq 40); do
  probe users >/dev/null 2>&1 || break
  sleep 0.25
done
probe users >/dev/null 2>&1 && fail "vorn.exe did not end on close"
echo "main window closed"

# Wine closes a virtual desktop it takes for unused and leaves the windows on it out of
# reach; vorn.exe then ends instead of living on without its window.
wineserver -w
start_vorn
probe end-desktop || fail "the desktop could not be closed"
running=1
for _ in $(seq 40); do
  running=$(wine "$build/tests/smoke/window_probe.exe" running)
  [ "$running" = 0 ] && break
  sleep 0.25
done
expect "the number of vorn.exe running after its desktop went" 0 "$running"
echo "vorn.exe ended with its desktop"
