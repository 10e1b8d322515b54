#!/usr/bin/env bash
# The options window of vorn.exe on the demo machine under Wine (on the system VORN_WINE_SYSTEM,
# winxp unless set): Ctrl+O opens it, a switch and
# an Outlook Express option reach the registry, the second tab shows the main user's folders,
# Convert writes what undbx reads from the same folder file, the hidden switch and Refresh show
# the user's own folders, the progress bar moves through a long run, and closing returns the
# main window to its start. The frames' access keys move the focus into their frames and Esc
# closes the window from its user list; a damaged folder file shows what recovery finds in it.
# Screenshots of both tabs, of the bar mid-run and of the damaged folder.
#   options_smoke_test.sh WINDOWS-BUILD-DIR OUTPUT-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "options smoke test: no display, skipped"; exit 77; }
command -v undbx >/dev/null || { echo "options smoke test: undbx is missing (scripts/install-deps.sh)"; exit 1; }

source "$repo/scripts/demo-env.sh" "$build"
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "options smoke test: $*" >&2; exit 1; }
# A probe that hangs (a message box the test did not expect holds the window) fails the test.
probe() { timeout 120 wine "$build/tests/smoke/window_probe.exe" "$@" vorn-options; }
setting() { wine "$build/tests/smoke/window_probe.exe" setting "$1"; }
windows_path() { echo "Z:${1//\//\\}"; }
expect() { [ "$2" = "$3" ] || { echo "options smoke test: $1 is"; echo "$2"; echo "expected"; echo "$3"; exit 1; }; }
shot() { mkdir -p "$out"; import -window root "$out/$1"; echo "screenshot: $out/$1"; }

guid="{6E2D4C8A-91B3-4F7E-A5D0-C3B2E1F09876}"
user="山田 太郎"
profile_windows=$(wine cmd /c echo %USERPROFILE% | tr -d '\r')
store_windows="$profile_windows\\Local Settings\\Application Data\\Identities\\$guid\\Microsoft\\Outlook Express"
store=$(winepath -u "$store_windows")
desktop=$(vorn_desktop -u)
extracted="$desktop/Vorn_bkup/$user/Eml_Nws"
# The demo prefix is shared with the other tests, which may leave other mail files in the main
# user's Store Root: it holds the demo folders during this test and what it held afterwards.
rm -rf "$extracted"
cp -a "$store" "$work/store"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$extracted" "$store"; mv "$work/store" "$store"; rm -rf "$work"' EXIT
rm -f "$store"/*.dbx "$store"/*.DBX
wine "$build/tests/backup/demo_mail.exe" "$store_windows" || fail "cannot write the demo folders"
# A folder long enough to watch a Convert run; and no scan cache, as on a first visit.
wine "$build/tests/backup/demo_mail.exe" "$store_windows\\大量のメール.dbx" 6000 || fail "cannot write the large folder"
wine reg delete "HKCU\\Software\\Vorn\\$user" /f >/dev/null 2>&1 || true

wine explorer /desktop=vorn-options,800x600 "$(windows_path "$build/app/vorn.exe")" &
for _ in $(seq 60); do users=$(probe users 2>/dev/null) && [ -n "$users" ] && break; sleep 0.5; done
[ -n "${users:-}" ] || fail "no main window"
picked=$(probe restore)
[ "${picked##*$'\n'}" = ok ] || fail "restore pick: $picked"

# Ctrl+O, as the menu item says.
for _ in $(seq 20); do
  xdotool key ctrl+o
  sleep 0.5
  state=$(probe opt-state 2>/dev/null) && break
done
[ -n "${state:-}" ] || fail "Ctrl+O opened no options window"
grep -qx "tab 0" <<< "$state" || fail "the window opened on another tab: $state"
echo "Ctrl+O opened the options window"

# A frame's access key takes the focus to the frame's first control (of an option group, the
# selected option): the address book and Favorites paths, the save option, the two OE options.
for key_ids in "alt+w 622" "alt+f 624" "alt+p 610 611" "alt+s 612 613 614" "alt+l 615 616"; do
  read -r key ids <<< "$key_ids"
  xdotool key "$key"
  sleep 0.3
  focus=$(probe opt-focus)
  grep -qw -- "$focus" <<< "$ids" || fail "$key put the focus on control $focus, not on one of $ids"
done
echo "the frames' access keys move the focus into their frames"

before=$(setting OpenFolder)
probe opt-check 1
expect "OpenFolder after a click" "$(setting OpenFolder)" "$((1 - before))"
probe opt-check 1
expect "OpenFolder after a second click" "$(setting OpenFolder)" "$before"
no_splash() {
  wine reg query "HKCU\\Identities\\$guid\\Software\\Microsoft\\Outlook Express\\5.0" /v NoSplash | tr -d '\r' |
    awk '$1 == "NoSplash" { print $3 }'
}
probe opt-option 2 0
expect "NoSplash after 表示" "$(no_splash)" "00000000"
probe opt-option 2 1
expect "NoSplash after 非表示" "$(no_splash)" "01000000"
echo "a switch and the start-up logo option reached the registry"
shot vorn-options-settings.png

probe opt-tab 1
folders=$(probe opt-folders | cut -d'|' -f1)
expect "the folder tree" "$folders" $'受信トレイ\n送信トレイ\n送信済みアイテム\n削除済みアイテム\n下書き\nfj.comp.mail'
size=$(stat -c %s "$store/受信トレイ.dbx")
expect "受信トレイ's labels" "$(probe opt-folder 受信トレイ)" \
  "受信トレイ"$'\n'"3 ﾒｯｾｰｼﾞ"$'\n'"$((size / 1024))KB( $size バイト)"$'\n'"convert on"
shot vorn-options-folders.png

probe opt-convert
expect "the completion message" "$(probe opt-message 60)" $'完了\n3 通のﾒｯｾｰｼﾞを処理しました。'
undbx -v 0 "$store/受信トレイ.dbx" "$work/undbx" >/dev/null 2>&1 || fail "undbx could not read 受信トレイ.dbx"
contents() { (cd "$1" && find . -type f -exec sha256sum {} + | cut -d' ' -f1 | sort); }
expect "the converted messages (by content, against undbx)" "$(contents "$extracted/受信トレイ")" "$(contents "$work/undbx")"
expect "the converted files" "$(cd "$extracted/受信トレイ" && ls)" $'00000.eml\n00001.eml\n00002.eml'
echo "Convert wrote the three messages undbx reads from 受信トレイ.dbx"

probe opt-close >/dev/null
probe image1
probe opt-open >/dev/null
probe opt-tab 1
probe opt-refresh
folders=$(probe opt-folders | cut -d'|' -f1)
expect "the folder tree with the user's folders" "$folders" \
  $'受信トレイ\n送信トレイ\n送信済みアイテム\n削除済みアイテム\n下書き\n仕事\n大量のメール\nfj.comp.mail'
probe opt-folder 大量のメール >/dev/null
probe opt-convert
moving=""
for _ in $(seq 600); do
  read -r shown position maximum <<< "$(probe opt-progress)"
  if [ "$shown" = shown ] && [ "$maximum" = 6000 ] && [ "$position" -gt 1500 ] && [ "$position" -lt 6000 ]; then
    moving=yes
    break
  fi
  sleep 0.1
done
[ -n "$moving" ] || fail "the progress bar never showed the run half way: $shown $position $maximum"
shot vorn-options-progress.png
echo "the progress bar stood at $position of $maximum"
expect "the long run's message" "$(probe opt-message 300)" $'完了\n6000 通のﾒｯｾｰｼﾞを処理しました。'
expect "the long run's files" "$(ls "$extracted/大量のメール" | wc -l)" 6000

# A folder file whose index pointer is gone: the scan says what recovery finds in it instead of an
# error, and so does its node, whose Convert stays on.
cp "$store/仕事.dbx" "$store/壊れた仕事.dbx"
printf '\0\0\0\0' | dd of="$store/壊れた仕事.dbx" bs=1 seek=228 conv=notrunc status=none
probe opt-refresh &
refreshing=$!
message=$(probe opt-message 60)
grep -q "壊れた仕事.dbx: フォルダ ファイルが壊れています。.*回復できるﾒｯｾｰｼﾞ 2" <<< "$(tr '\r\n' '  ' <<< "$message")" ||
  fail "the scan did not tell the damaged folder file: $message"
wait "$refreshing"
size=$(stat -c %s "$store/壊れた仕事.dbx")
expect "the damaged folder's labels" "$(probe opt-folder 壊れた仕事)" \
  "壊れた仕事"$'\n'"破損: 回復できるﾒｯｾｰｼﾞ 2"$'\n'"$((size / 1024))KB( $size バイト)"$'\n'"convert on"
shot vorn-options-damaged.png

# Esc closes the window also from the user list of the OE options.
probe opt-tab 0
probe opt-focus-on 620
expect "the focus before Esc" "$(probe opt-focus)" 620
xdotool key Escape
for _ in $(seq 40); do probe opt-state >/dev/null 2>&1 || break; sleep 0.25; done
probe opt-state >/dev/null 2>&1 && fail "Esc on the user list left the options window open"
expect "the main window after closing" "$(probe main-state)" $'text1 \nok off\nlist off'
probe close
for _ in $(seq 40); do probe users >/dev/null 2>&1 || break; sleep 0.25; done
echo "options window closed; the main window is back at its start"
