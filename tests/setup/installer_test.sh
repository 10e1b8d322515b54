#!/usr/bin/env bash
# The installer on a fresh machine: the demo machine without the archiver library, made afresh in
# a Wine prefix of its own. Takes a screenshot of the installer's first page, installs silently,
# starts the installed Vorn (the archiver is found, the help menu opens the contents topic, the
# support sheet writes its mail), uninstalls silently and checks that nothing of ours is left but
# the backup sets and the settings. Then once more over another program's newer archiver library
# in a folder of our choice, and once as Windows 98, whose system folder is another.
#   installer_test.sh WINDOWS-BUILD-DIR OUTPUT-DIR
set -euo pipefail
build=$1
out=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "installer test: no display, skipped"; exit 77; }
mkdir -p "$out"

source "$repo/scripts/checkout-cache.sh"
prefix=$VORN_CACHE/wine-setup
rm -rf "$prefix"
VORN_DEMO_ARCHIVER=no bash "$repo/scripts/demo-setup.sh" "$build" "$prefix"
export VORN_WINEPREFIX=$prefix VORN_WINE_ARCH=win32
source "$repo/scripts/wine-env.sh"
trap 'wineserver -k 2>/dev/null || true' EXIT
drive=$WINEPREFIX/drive_c

windows_path() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }
fail() { echo "installer test: $*"; exit 1; }
setup=$(windows_path "$build/setup/vorn-setup.exe")
probe_exe=$build/tests/smoke/window_probe.exe
probe() { wine "$probe_exe" "$1" vorn-setup; }
# A registry value as reg.exe prints it (the type and the data), empty when it is not there.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | iconv -f cp932 -t utf-8 | tr -d '\r' |
    awk -v name="$2" '$1 == name { $1 = ""; sub(/^ +/, ""); print }'
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorn'
shared_dlls='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
files_of_machine() { (cd "$drive" && find . -path ./windows/temp -prune -o -print | sort); }
# The uninstaller's copy in the temporary folder goes at the next start, as on Windows.
restart() { wineboot -r; wineserver -w; }

# --- The installer's first page, on the demo machine as it is before Vorn (no archiver library).
wine explorer /desktop=vorn-setup,640x480 "$setup" &
for _ in $(seq 60); do
  [ "$(probe title 2>/dev/null)" = "Vorn セットアップ" ] && break
  sleep 0.5
done
[ "$(probe title 2>/dev/null)" = "Vorn セットアップ" ] || fail "the installer's window did not open"
sleep 1
import -window root -crop 640x480+0+0 +repage "$out/installer-first-page.png"
echo "screenshot: $out/installer-first-page.png"
wineserver -k
wineserver -w

# The mail program is a stand-in that writes down the mail it was given.
given=$out/mail-given.txt
rm -f "$given"
wine reg add 'HKCR\mailto\shell\open\command' /ve \
  /d "\"$(windows_path "$probe_exe")\" record \"$(windows_path "$given")\" \"%1\"" /f >/dev/null
wineserver -w
system32=$drive/windows/system32
[ ! -e "$system32/unlha32.dll" ] || fail "the fresh machine has an archiver library already"
files_of_machine > "$out/files-before.txt"

# --- Silent install into the default folder.
wine "$setup" /S || fail "the silent install failed ($?)"
wineserver -w
program=$drive/Program\ Files/Vorn
start_menu=$drive/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Vorn
for file in "$program/vorn.exe" "$program/Vorn4.chm" "$program/Uninstall.exe" "$start_menu/Vorn.lnk" \
            "$start_menu/Vorn のアンインストール.lnk" "$system32/unlha32.dll"; do
  [ -f "$file" ] || fail "not installed: ${file#$drive/}"
done
cmp -s "$program/vorn.exe" "$build/app/vorn.exe" || fail "the installed vorn.exe is not the build's"
cmp -s "$program/Vorn4.chm" "$build/app/Vorn4.chm" || fail "the installed Vorn4.chm is not the build's"
cmp -s "$system32/unlha32.dll" "$build/lha/unlha32/unlha32.dll" || fail "the installed archiver is not the build's"
[ "$(reg_value "$uninstall_key" DisplayName)" = "REG_SZ Vorn" ] || fail "no entry in Add/Remove Programs"
[ "$(reg_value "$uninstall_key" UninstallString)" = 'REG_SZ "C:\Program Files\Vorn\Uninstall.exe"' ] ||
  fail "Add/Remove Programs names $(reg_value "$uninstall_key" UninstallString)"
[ "$(reg_value "$shared_dlls" 'C:\windows\system32\unlha32.dll')" = "REG_DWORD 0x1" ] ||
  fail "the archiver library's users: $(reg_value "$shared_dlls" 'C:\windows\system32\unlha32.dll')"
echo "installed: $(cd "$drive" && find "Program Files/Vorn" "ProgramData/Microsoft/Windows/Start Menu/Programs/Vorn" \
  windows/system32/unlha32.dll -type f | tr '\n' ' ')"

# --- The installed Vorn: compression offered, help at its contents topic, the support mail.
WINEDEBUG=+htmlhelp wine explorer /desktop=vorn-setup,800x600 "C:\\Program Files\\Vorn\\vorn.exe" \
  2> "$out/vorn-help-trace.txt" &
for _ in $(seq 60); do
  probe users >/dev/null 2>&1 && break
  sleep 0.5
done
# Choosing the compression item switches compression on only when start-up found the archiver.
[ "$(wine "$probe_exe" setting UnLHA32)" = 0 ] || fail "compression is on before it was chosen"
probe compression
[ "$(wine "$probe_exe" setting UnLHA32)" = 1 ] || fail "start-up did not find the installed archiver library"
echo "start-up found the archiver: compression is offered and switches on"

probe help
topic=""
for _ in $(seq 20); do
  topic=$(sed -n 's/.*FindContextAlias returning "\(.*\)".*/\1/p' "$out/vorn-help-trace.txt" | head -n 1)
  [ -n "$topic" ] && break
  sleep 0.5
done
[ -n "$topic" ] || fail "the help menu did not resolve a topic (trace in $out/vorn-help-trace.txt)"
# The page the help project maps the contents' context to.
project=$repo/help/pages/Vorn4.hhp
alias=$(tr -d '\r' < "$project" | sed -n 's/^#define \([A-Za-z_0-9]*\) 1060$/\1/p')
expected=$(tr -d '\r' < "$project" | sed -n "s/^$alias=//p")
[ -n "$expected" ] || fail "the help project maps 1060 to no page"
[ "$topic" = "$expected" ] || fail "topic 1060 resolves to \"$topic\", the help project maps \"$expected\""
echo "help menu: topic 1060 is $topic"

sheet=$(probe mail) || fail "the support mail sheet did not open"
[ "$sheet" = $'Vorn の操作上の質問\nalpha 251' ] || fail "the sheet showed $sheet"
import -window root -crop 800x600+0+0 +repage "$out/support-mail-sheet.png"
echo "screenshot: $out/support-mail-sheet.png"
[ "$(probe mail-ok)" = closed ] || fail "the sheet did not close after its fade-out"
for _ in $(seq 40); do [ -s "$given" ] && break; sleep 0.25; done
[ -f "$program/VornMail.url" ] || fail "OK wrote no VornMail.url in the program folder"
url=$(iconv -f cp932 -t utf-8 "$program/VornMail.url" | tr -d '\r' | sed -n 's/^URL=//p')
case $url in
  "mailto:"*"?Subject=Vorn の操作上の質問 <"*">&BODY=《 ユーザー様の環境 》%0A OS:WindowsXP, OEのバージョン:6.0.2900.5512, OEのユーザー数:3%0A Ruvelt.exe 無し%0A"*) ;;
  *) fail "VornMail.url holds $url" ;;
esac
[ "$(cat "$given" 2>/dev/null)" = "$url" ] || fail "the mail program was given \"$(cat "$given" 2>/dev/null)\""
echo "support mail: VornMail.url written and handed to the mail program"
probe close
for _ in $(seq 40); do probe users >/dev/null 2>&1 || break; sleep 0.25; done
wineserver -w

# --- Silent uninstall: a backup set and the settings stay, nothing else of ours.
profile=$(winepath -u "$(wine cmd /c echo %USERPROFILE% | tr -d '\r')")
set_file="$profile/デスクトップ/Vorn_bkup/山田 太郎/Reg/VornInfo.dat"
mkdir -p "$(dirname "$set_file")" && echo "set" > "$set_file"
wine "C:\\Program Files\\Vorn\\Uninstall.exe" /S || fail "the silent uninstall failed"
wineserver -w
restart
files_of_machine > "$out/files-after-uninstall.txt"
left=$(diff "$out/files-before.txt" "$out/files-after-uninstall.txt" | sed -n 's/^> //p' | grep -v '/Vorn_bkup' || true)
gone=$(diff "$out/files-before.txt" "$out/files-after-uninstall.txt" | sed -n 's/^< //p' || true)
[ -z "$left$gone" ] || fail "after the uninstall, left: ${left:-nothing}; gone: ${gone:-nothing}"
[ -f "$set_file" ] || fail "the uninstall removed a backup set"
[ -n "$(reg_value 'HKCU\Software\Vorn' UnLHA32)" ] || fail "the silent uninstall removed the settings"
[ -z "$(reg_value "$uninstall_key" DisplayName)" ] || fail "the entry in Add/Remove Programs is still there"
[ -z "$(reg_value "$shared_dlls" 'C:\windows\system32\unlha32.dll')" ] || fail "the archiver library is still counted"
echo "uninstalled: nothing of ours left but the backup set and the settings"

# --- Another program's newer archiver library, and a program folder of our choice.
foreign=$build/demo/programs/msimn.exe  # any file with a version resource newer than ours
cp "$foreign" "$system32/unlha32.dll"
wine "$setup" /S '/D=C:\Tools\Vorn' || fail "the silent install into C:\\Tools\\Vorn failed"
wineserver -w
[ -f "$drive/Tools/Vorn/vorn.exe" ] || fail "vorn.exe is not in the folder chosen"
cmp -s "$system32/unlha32.dll" "$foreign" || fail "the installer replaced another program's newer archiver library"
[ "$(reg_value "$shared_dlls" 'C:\windows\system32\unlha32.dll')" = "REG_DWORD 0x2" ] ||
  fail "another program's library is counted $(reg_value "$shared_dlls" 'C:\windows\system32\unlha32.dll')"
wine 'C:\Tools\Vorn\Uninstall.exe' /S || fail "the second silent uninstall failed"
wineserver -w
cmp -s "$system32/unlha32.dll" "$foreign" || fail "the uninstall removed another program's archiver library"
[ "$(reg_value "$shared_dlls" 'C:\windows\system32\unlha32.dll')" = "REG_DWORD 0x1" ] ||
  fail "after the uninstall another program's library is counted $(reg_value "$shared_dlls" 'C:\windows\system32\unlha32.dll')"
[ ! -e "$drive/Tools/Vorn" ] || fail "the folder chosen is still there"
rm "$system32/unlha32.dll"
wine reg delete "$shared_dlls" /v 'C:\windows\system32\unlha32.dll' /f >/dev/null
echo "another program's newer archiver library: kept and counted, and kept by the uninstall"

# --- Windows 98: the archiver library goes to Windir\system.
wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null
wineserver -w
wine "$setup" /S || fail "the silent install as Windows 98 failed"
wineserver -w
[ -f "$drive/windows/system/unlha32.dll" ] || fail "as Windows 98 the archiver library is not in Windir\\system"
[ ! -e "$system32/unlha32.dll" ] || fail "as Windows 98 the archiver library went to system32"
wine "C:\\Program Files\\Vorn\\Uninstall.exe" /S || fail "the silent uninstall as Windows 98 failed"
wineserver -w
[ ! -e "$drive/windows/system/unlha32.dll" ] || fail "as Windows 98 the uninstall left the archiver library"
echo "Windows 98: the archiver library installed into and removed from Windir\\system"
