#!/usr/bin/env bash
# Runs the 98 family's paths of the 32-bit build on the demo machine under Wine reporting the
# system SYSTEM (win98 or winme) with Wine's call trace of every call our binaries make into the
# system's libraries: vorn-cli's backups (plain and compressed) and a restore, then vorn.exe's
# start-up, a backup from the main window, the options window's two tabs and the support sheet.
# It fails on any wide-character function called that the 98 family does not implement itself.
# On a machine that runs no 32-bit programs the 64-bit build's trace is taken instead, as far as
# it goes (it runs the 2000 family's paths; the choice of entry points is the same code).
#   family98_trace_test.sh WINDOWS-BUILD-DIR OUTPUT-DIR SYSTEM
set -euo pipefail
# It belongs to the test command's round of the 98 family: another round's system skips it.
case ${VORN_WINE_SYSTEM:-win98} in
  win98 | winme) ;;
  *) echo "trace test: runs in the round of the 98 family, not on $VORN_WINE_SYSTEM; skipped"; exit 77 ;;
esac
build=$(cd "$1" && pwd)
out=$2
export VORN_WINE_SYSTEM=$3
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "trace test: no display, skipped"; exit 77; }
source "$repo/scripts/demo-env.sh" "$build"
[ "$VORN_WINE_ARCH" = win32 ] || echo "trace test: 64-bit build, the 2000 family's paths only"
mkdir -p "$out"
trace=$out/trace-$VORN_WINE_SYSTEM.txt
: > "$trace"
relay_key='HKCU\Software\Wine\Debug'
put_back() {
  wine reg delete "$relay_key" /v RelayExclude /f >/dev/null 2>&1 || true
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
}
trap put_back EXIT
fail() {
  import -window root "$out/trace-$VORN_WINE_SYSTEM-failed.png" 2>/dev/null || true
  echo "trace test: $*" >&2
  exit 1
}

# Without the libraries our binaries never call and the busiest calls that carry no text: the
# trace slows every program of the session down. The calls out of our binaries are told apart
# by their return addresses below.
wine reg add "$relay_key" /v RelayExclude /f >/dev/null /d \
  "ntdll.*;ucrtbase.*;combase.*;win32u.*;ReadFile;WriteFile;EnterCriticalSection;LeaveCriticalSection;TlsGetValue;TlsSetValue;GetLastError;SetLastError;IsDBCSLeadByteEx;malloc;free;realloc;calloc;memcpy;memmove;memset;memcmp;memchr;strlen;strcmp;strncmp;strchr;_errno;GetTickCount;PeekMessageA;PeekMessageW"
# Wine's own programs (the services, the desktop) are started untraced, before ours: only
# vorn-cli and vorn.exe run with the trace, and every call from their address ranges is theirs.
wine cmd /c exit
traced() { WINEDEBUG=+relay wine "$@" 2>> "$trace"; }

user="山田 太郎"
desktop=$(vorn_desktop -u)
set_folder="$desktop/Vorn_bkup/$user"
rm -rf "$desktop/Vorn_bkup"
traced "$build/cli/vorn-cli.exe" backup "$user" --plain >/dev/null || fail "the plain backup failed"
traced "$build/cli/vorn-cli.exe" backup "$user" --compress >/dev/null || fail "the compressed backup failed"
[ -f "$set_folder/Mail.lzh" ] || fail "the compressed backup wrote no Mail.lzh"
traced "$build/cli/vorn-cli.exe" restore "Z:${set_folder//\//\\}" "$user" --yes >/dev/null || fail "the restore failed"

probe() { timeout 120 wine "$build/tests/smoke/window_probe.exe" "$@" vorn-trace; }
wine reg add 'HKCU\Software\Vorn' /v OpenFolder /t REG_DWORD /d 0 /f >/dev/null 2>&1  # no file browser
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d vorn-trace /f >/dev/null
wine explorer /desktop=vorn-trace,800x600 &
sleep 3
traced "$build/app/vorn.exe" &
for _ in $(seq 360); do users=$(probe users 2>/dev/null) && [ -n "$users" ] && break; sleep 0.5; done
[ -n "${users:-}" ] || fail "the main window showed no users"
rm -rf "$desktop/Vorn_bkup"
started=""
for _ in $(seq 60); do probe backup >/dev/null 2>&1 && started=yes && break; sleep 0.5; done
[ -n "$started" ] || fail "could not start a backup from the main window"
for _ in $(seq 240); do [ -f "$set_folder/Reg/VornInfo.dat" ] && break; sleep 0.5; done
[ -f "$set_folder/Reg/VornInfo.dat" ] || fail "the backup from the main window wrote no set"
probe idle >/dev/null || fail "the backup from the main window did not end"
probe opt-open >/dev/null || fail "the options window did not open"
# Under the trace the window is slow: a tab is chosen again until it shows.
choose_tab() { for _ in $(seq 60); do probe opt-tab "$1" >/dev/null 2>&1 && return; sleep 1; done; return 1; }
choose_tab 1 || fail "the options window's second tab did not show"
choose_tab 0 || fail "the options window's first tab did not show"
probe opt-close >/dev/null || fail "the options window did not close"
probe mail >/dev/null || fail "the support sheet did not open"
probe mail-ok >/dev/null || fail "the support sheet did not close"
probe close >/dev/null || true
sleep 2

# The wide functions the 98 family implements itself.
allowed='MessageBoxW|MessageBoxExW|lstrlenW|MultiByteToWideChar|WideCharToMultiByte|TextOutW|ExtTextOutW'
allowed+='|GetTextExtentPoint32W|GetTextExtentPointW|GetCharWidthW|EnumResourceLanguagesW|EnumResourceNamesW'
allowed+='|EnumResourceTypesW|FindResourceW|FindResourceExW|GetCommandLineW'
# The calls made from inside our binaries, each loaded at its own image base.
ours=$(python3 - "$trace" "$build"/app/vorn.exe "$build"/cli/vorn-cli.exe "$build"/lha/unlha32/unlha32.dll <<'PY'
import re, struct, sys
ranges = []
for path in sys.argv[2:]:
    image = open(path, "rb").read(4096)
    header = struct.unpack_from("<I", image, 0x3C)[0] + 24
    wide = struct.unpack_from("<H", image, header)[0] == 0x20B
    base = struct.unpack_from("<Q" if wide else "<I", image, header + (24 if wide else 28))[0]
    ranges.append((base, base + struct.unpack_from("<I", image, header + 56)[0]))
call = re.compile(r":Call ([A-Za-z0-9_]+\.[A-Za-z0-9_]+)\(.*ret=([0-9a-f]+)$")
for line in open(sys.argv[1], errors="replace"):
    found = call.search(line.rstrip())
    if found and any(low <= int(found.group(2), 16) < high for low, high in ranges):
        print(found.group(1))
PY
)
calls=$(grep -c . <<< "$ours" || true)
[ "$calls" -gt 1000 ] || fail "the trace holds only $calls calls out of our binaries ($trace)"
wide=$(grep -E '^[A-Za-z0-9_]+\.[A-Za-z0-9_]*W$' <<< "$ours" | sort | uniq -c | grep -Ev " [A-Za-z0-9_]+\.($allowed)$" || true)
if [ "$VORN_WINE_ARCH" = win32 ] && [ -n "$wide" ]; then
  echo "trace test: wide functions called on $VORN_WINE_SYSTEM that the 98 family lacks:"; echo "$wide"
  exit 1
fi
echo "trace test: $calls calls out of our binaries traced on $VORN_WINE_SYSTEM ($trace), no wide function beyond the 98 family's own"
