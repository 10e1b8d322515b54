#!/usr/bin/env bash
# Restores a set of the demo machine's main user onto 鈴木 花子 from vorn.exe's main window
# under Wine: Restore, the user, OK, the folder picker (which preselects the set at "\Mail" of
# the current drive), R3 OK; then once more with a set from another Outlook Express version:
# R4 Yes, the backup information dialog in both sizes (centred, Vorn's icon, the focus on OK,
# the current environment on its lines without a wrap inside them),
# R5 Yes; then the main window is active with the focus on OK. Screenshots of R3, of the dialog
# in both sizes and of the main window at the end are saved in OUTPUT-DIR. On the 98 family the
# set is made on the half-width desktop in the Windows folder.
#   gui_restore_smoke.sh WINDOWS-BUILD-DIR OUTPUT-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "restore smoke test: no display, skipped"; exit 77; }

source "$repo/scripts/demo-env.sh" "$build"
source "$repo/tests/restore/keep_demo_machine.sh"
prefix=$WINEPREFIX
trap 'vorn_put_back_demo_machine' EXIT
mkdir -p "$out"

fail() {
  import -window root "$out/vorn-restore-failed.png" 2>/dev/null && echo "screenshot: $out/vorn-restore-failed.png" >&2
  echo "restore smoke test: $*" >&2
  exit 1
}
probe() { wine "$build/tests/smoke/window_probe.exe" "$@" vorn-restore; }
shot() { sleep 1; import -window root "$out/$1.png"; echo "screenshot: $out/$1.png"; }
taro="山田 太郎"
hanako="鈴木 花子"
profile=$(winepath -u "$(wine cmd /c echo %USERPROFILE% | tr -d '\r')")
hanako_store="$profile/Local Settings/Application Data/Identities/{D4A1E3F2-5B6C-4D7E-9F80-A1B2C3D4E5F6}/Microsoft/Outlook Express"
desktop=$(vorn_desktop -u)
if [ "$VORN_WINE_FAMILY" = 9x ]; then  # the 98 family's desktop lies outside the profile
  trap 'rm -rf "$desktop/Vorn_bkup"; vorn_put_back_demo_machine' EXIT
fi
taro_store="$profile/Local Settings/Application Data/Identities/{6E2D4C8A-91B3-4F7E-A5D0-C3B2E1F09876}/Microsoft/Outlook Express"

# The set, where the folder picker preselects it: "\Mail" on the drive vorn.exe starts on.
rm -rf "$desktop/Vorn_bkup" "$prefix/drive_c/Mail"
wine reg add 'HKCU\Software\Vorn' /v OpenFolder /t REG_DWORD /d 0 /f >/dev/null 2>&1  # no file browser on screen
wine "$build/cli/vorn-cli.exe" backup "$taro" --compress >/dev/null 2>&1 || fail "vorn-cli backup failed"
cp -r "$desktop/Vorn_bkup/$taro" "$prefix/drive_c/Mail"
printf 'her own mail' > "$hanako_store/自分のフォルダ.dbx"
cd "$prefix/drive_c"
wine explorer /desktop=vorn-restore,800x600 "Z:${build//\//\\}\\app\\vorn.exe" &
# A fresh prefix may still be busy starting: the user is awaited in the list, and the pick is
# tried until OK can be pressed.
for _ in $(seq 60); do users=$(probe users 2>/dev/null) && grep -qxF "$hanako" <<<"$users" && break; sleep 0.5; done
started=""
for _ in $(seq 60); do probe restore-to "$hanako" 2>/dev/null && started=yes && break; sleep 0.5; done
[ -n "$started" ] || fail "could not start a restore; the user list held: $(probe users 2>&1 | tr '\n' ',')"

probe answer "フォルダーの参照" ok >/dev/null || fail "no folder picker"
probe answer "リストア" none >/dev/null || fail "no R3"
shot vorn-restore-r3
probe answer "リストア" ok >/dev/null || fail "R3 did not close"
# The main user's set: no account question.
probe answer "アドレス帳の復元" yes >/dev/null || fail "no address book question"
for _ in $(seq 60); do [ -f "$hanako_store/pop3uidl.txt" ] || [ -n "$(ls "$hanako_store" | grep -v 自分)" ] && break; sleep 0.5; done
sleep 2
diff -r "$taro_store" "$hanako_store" || fail "鈴木 花子's store is not the set's mail"

# A set from another Outlook Express version: R4, the details, R5.
info="$prefix/drive_c/Mail/Reg/VornInfo.dat"
sed -i 's/"OE         :[^"]*"/"OE         :6.00.2800.1106"/' "$info"
probe restore-to "$hanako" || fail "could not start the second restore"
probe answer "フォルダーの参照" ok >/dev/null || fail "no folder picker the second time"
probe answer "確認" yes >/dev/null || fail "no R4"
probe exinfo none > "$out/exinfo-normal.txt" || fail "no backup information dialog"
shot vorn-restore-exinfo
probe exinfo detail >/dev/null
shot vorn-restore-exinfo-details
probe exinfo ok > "$out/exinfo-details.txt" || fail "the backup information dialog did not close"
grep -qx '6.00.2800.1106' "$out/exinfo-normal.txt" || fail "the dialog lacks the set's OE version: $(cat "$out/exinfo-normal.txt")"
[ "$(head -1 "$out/exinfo-normal.txt")" != "$(head -1 "$out/exinfo-details.txt")" ] || fail "the detail button kept the size"
grep -qx 'label3 unwrapped' "$out/exinfo-normal.txt" || fail "the current environment wraps inside its line"
[ "$(tail -3 "$out/exinfo-normal.txt")" = $'centred\nicon vorn\nfocus 1' ] ||
  fail "the dialog is not centred with Vorn's icon and the focus on OK: $(tail -3 "$out/exinfo-normal.txt" | tr '\n' ,)"
probe answer "Vorn" yes >/dev/null || fail "no R5"
probe answer "アドレス帳の復元" no >/dev/null || fail "no address book question the second time"
probe idle || fail "the second restore did not end"
# Then the main window is active with the focus on OK (drawn active once the end's flashes are over).
for _ in $(seq 20); do state=$(probe active) && [[ $state == *"caption active"* ]] && break; sleep 0.5; done
[ "$state" = $'active VornForm1\nforeground VornForm1\ncaption active\nfocus 1' ] ||
  fail "after the restore the main window is not active with the focus on OK: $(tr '\n' , <<<"$state")"
shot vorn-restore-main-window
probe close || true
echo "restore smoke test: restored twice from the window; sizes $(head -1 "$out/exinfo-normal.txt") and $(head -1 "$out/exinfo-details.txt")"
