#!/usr/bin/env bash
# Backs up the demo machine's main user under Wine with the Win32 platform layer (vorn-cli
# backup: start-up, the main window's lists and the backup run, without windows), once
# compressed and once plain, and checks the set: exactly the files it should hold, the mail
# archive unpacked by lhasa against the Store Root byte for byte, the plain mail copy, the
# information file's lines, the .reg files in the family's dialect and imported back into
# emptied keys, and TEMP as it was. On the 98 family (VORN_WINE_SYSTEM win98 or winme) the set
# lies on the half-width desktop in the Windows folder and the archiver below Windir\system.
#   wine_backup_test.sh WINDOWS-BUILD-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/scripts/demo-env.sh" "$build"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"; wineserver -k 2>/dev/null || true' EXIT

fail() { echo "backup end-to-end: $*" >&2; exit 1; }
unix_path() { winepath -u "$1" 2>/dev/null; }
win_env() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }

guid="{6E2D4C8A-91B3-4F7E-A5D0-C3B2E1F09876}"
user="山田 太郎"
profile=$(unix_path "$(win_env USERPROFILE)")
windir=$(unix_path "$(win_env windir)")
temp=$(unix_path "$(win_env TEMP)")
store="$profile/Local Settings/Application Data/Identities/$guid/Microsoft/Outlook Express"
[ -d "$store" ] || fail "no Store Root at $store"
# The test fills the demo user's Store Root with folder files of its own; the tests after it
# find the demo machine's own again.
kept_store="$store.kept-by-test"
rm -rf "$kept_store"
cp -a "$store" "$kept_store"
trap 'rm -rf "$unpacked"; wineserver -k 2>/dev/null || true; rm -rf "$store"; mv "$kept_store" "$store"' EXIT
case $VORN_WINE_SYSTEM in
  win98) os=Windows98 ;; winme) os=WindowsMe ;; win2k) os=Windows2000 ;; *) os=WindowsXP ;;
esac
if [ "$VORN_WINE_FAMILY" = 9x ]; then
  desktop="ﾃﾞｽｸﾄｯﾌﾟ"
  set_folder="$windir/$desktop/Vorn_bkup/$user"
  [ -f "$windir/system/unlha32.dll" ] && [ ! -f "$windir/system32/unlha32.dll" ] ||
    fail "the 98 machine should have the archiver below Windir\\system only"
else
  desktop="デスクトップ"
  set_folder="$profile/$desktop/Vorn_bkup/$user"
fi

# The mail store: folder files of several sizes (one large, partly incompressible) and a file
# that is not a folder file (packed, but not copied by the plain mode).
head -c 300000 /dev/urandom > "$store/受信トレイ.dbx"
(yes "Subject: 本日の会議について" || true) | head -c 2000000 > "$store/送信済みアイテム.dbx"
printf 'folder list' > "$store/Folders.dbx"
: > "$store/ごみ箱.dbx"
printf 'uidl' > "$store/pop3uidl.txt"

mkdir -p "$temp"
printf 'belongs to another program' > "$temp/other.reg"
temp_before=$(ls -A "$temp" | sort)

run_backup() {
  rm -rf "$set_folder"
  wine "$build/cli/vorn-cli.exe" backup "$user" "$1" || fail "vorn-cli backup $1 failed"
  [ "$(ls -A "$temp" | sort)" = "$temp_before" ] || fail "TEMP changed: $(ls -A "$temp")"
  [ "$(cat "$temp/other.reg")" = "belongs to another program" ] || fail "a file in TEMP was changed"
}

set_listing() { (cd "$set_folder" && find . -type f | sort); }

check_common() {
  local wab=$1
  info=$(iconv -f CP932 -t UTF-8 "$set_folder/Reg/VornInfo.dat")
  # Eight lines, then one per folder file the index reader cannot read: the store's three are none.
  [ "$(grep -c $'\r$' <<< "$info")" = 11 ] || fail "VornInfo.dat lines do not all end in CR LF"
  mapfile -t lines < <(tr -d '\r' <<< "$info")
  [ "${#lines[@]}" = 11 ] || fail "VornInfo.dat has ${#lines[@]} lines"
  [ "$(printf '%s\n' "${lines[@]:8}")" = "$(printf '"Damaged    :%s.dbx (回復できるﾒｯｾｰｼﾞ 0)"\n' ごみ箱 受信トレイ 送信済みアイテム)" ] ||
    fail "damage lines ${lines[*]:8}"
  [[ ${lines[0]} =~ ^\"Date\ \ \ \ \ \ \ :[0-9]{4}/[0-9]{1,2}/[0-9]{1,2}(\ [0-9]{1,2}:[0-9]{2}:[0-9]{2})?\"$ ]] ||
    fail "date line ${lines[0]}"
  [ "${lines[1]}" = "\"OS         :$os\"" ] || fail "OS line ${lines[1]}"
  [ "${lines[2]}" = '"OE         :6.0.2900.5512"' ] || fail "OE line ${lines[2]}"
  [ "${lines[4]}" = "\"UserName   :$user\"" ] || fail "user line ${lines[4]}"
  [ "${lines[5]}" = "\"UserID     :$guid\"" ] || fail "id line ${lines[5]}"
  [[ ${lines[6]} == \"WabPath\ \ \ \ :*$wab\" ]] || fail "address book line ${lines[6]}"
  [[ ${lines[7]} == *"\\$desktop\\Vorn_bkup\"" ]] || fail "backup path line ${lines[7]}"
  cmp -s "$set_folder/Wab/$wab" "$(unix_path "${lines[6]:13:-1}")" || fail "address book copy differs"
  iconv -f CP932 -t UTF-8 "$set_folder/Favorites.htm" | grep -q 'HREF="http://www3.nhk.or.jp/news/"' ||
    fail "Favorites.htm lacks a shortcut of a subfolder"
  check_dialect
}

# The family's registry editor dialect: REGEDIT4 in code page 932 on 98, Version 5.00 in UTF-16.
check_dialect() {
  local reg
  for reg in "$set_folder"/Reg/*.reg; do
    if [ "$VORN_WINE_FAMILY" = 9x ]; then
      [ "$(head -c 10 "$reg")" = $'REGEDIT4\r' ] || fail "$(basename "$reg") is not a REGEDIT4 file"
      iconv -f CP932 -t UTF-8 "$reg" >/dev/null || fail "$(basename "$reg") is not code page 932 text"
    else
      [ "$(head -c 2 "$reg" | od -An -tx1 | tr -d ' ')" = fffe ] &&
        [ "$(iconv -f UTF-16 -t UTF-8 "$reg" | head -n 1 | tr -d '\r')" = "Windows Registry Editor Version 5.00" ] ||
        fail "$(basename "$reg") is not a Version 5.00 file in UTF-16"
    fi
  done
  local account
  account=$(if [ "$VORN_WINE_FAMILY" = 9x ]; then iconv -f CP932 -t UTF-8; else iconv -f UTF-16 -t UTF-8; fi \
              < "$set_folder/Reg/Account.reg")
  # The main user's set: the shared accounts, with their Japanese name.
  grep -q '"Account Name"="example.jp (共有)"' <<< "$account" || fail "Account.reg lacks the shared accounts"
}

# The 98 family saves no telephony locations and no phonebooks.
if [ "$VORN_WINE_FAMILY" = 9x ]; then
  expected_reg=$(printf './Reg/%s\n' Account.reg FavoOrder.reg OE.reg Remote.reg Sig.reg VornInfo.dat)
else
  expected_reg=$(printf './Reg/%s\n' Account.reg FavoOrder.reg Locations.reg OE.reg Remote.reg Sig.reg VornInfo.dat \
                   rasphone1.pbk rasphone2.pbk)
fi

# --- compressed
run_backup --compress
wab=$(cd "$set_folder/Wab" && ls)
expected=$(printf '%s\n' ./Favorites.htm ./Mail.lzh "$expected_reg" "./Wab/$wab" | sort)
[ "$(set_listing)" = "$expected" ] || fail "compressed set holds $(set_listing)"
check_common "$wab"
(cd "$unpacked" && lhasa -xq "$set_folder/Mail.lzh") || fail "lhasa cannot unpack Mail.lzh"
# Member names are code page 932, as in archives made on Japanese Windows.
for f in "$unpacked"/*; do
  name=$(basename "$f" | iconv -f CP932 -t UTF-8)
  [ "$unpacked/$name" = "$f" ] || mv "$f" "$unpacked/$name"
done
diff -r "$store" "$unpacked" || fail "Mail.lzh does not hold the Store Root's files"

# --- plain
run_backup --plain
mail=$(cd "$store" && ls *.dbx | sed 's|^|./Mail/|')
expected=$(printf '%s\n' ./Favorites.htm "$mail" "$expected_reg" "./Wab/$wab" | sort)
[ "$(set_listing)" = "$expected" ] || fail "plain set holds $(set_listing)"
check_common "$wab"
for f in "$store"/*.dbx; do cmp -s "$f" "$set_folder/Mail/$(basename "$f")" || fail "plain copy of $f differs"; done

# --- the .reg files import back into emptied keys with the same content (imported by our own
# editor, as the restore does: Sig.reg holds its multi-line texts with raw line breaks, which
# Wine's editor cannot read; Wine's export serves as the independent view of the key); the
# signature texts travel in OE.reg as multi-strings, so their lines are compared through Sig.reg only.
export_key() { wine regedit /e "$(winepath -w "$2")" "$1" >/dev/null 2>&1; iconv -f UTF-16 -t UTF-8 "$2" | tr -d '\r'; }
without_signature_texts() { awk '/^"text"=/ {skip=1; next} skip && /^  / {next} {skip=0; print}'; }
reimport() {  # KEY SETFILE FILTER
  local before after work
  work=$(mktemp -d)
  before=$(export_key "$1" "$work/before.reg" | $3)
  wine reg delete "$1" /f >/dev/null 2>&1 || fail "cannot empty $1"
  wine "$build/cli/vorn-cli.exe" reg import "$(winepath -w "$set_folder/Reg/$2")" >/dev/null 2>&1 ||
    fail "vorn-cli reg import $2 failed"
  after=$(export_key "$1" "$work/after.reg" | $3)
  rm -rf "$work"
  [ -n "$before" ] && [ "$before" = "$after" ] || fail "$2 does not bring back $1"
}
identity="HKEY_CURRENT_USER\\Identities\\$guid\\Software\\Microsoft"
reimport "$identity\\Outlook Express\\5.0\\signatures" Sig.reg cat
reimport "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager" Account.reg cat
if [ "$VORN_WINE_FAMILY" = 9x ]; then
  reimport "$identity" OE.reg cat  # the 98 family exports the signature texts as they are
else
  reimport "$identity" OE.reg without_signature_texts
  # A restore leaves the texts as plain strings again; so does this test, with Sig.reg, so
  # that the tests after it find the user as it was and not as OE.reg left it (multi-strings).
  wine "$build/cli/vorn-cli.exe" reg import "$(winepath -w "$set_folder/Reg/Sig.reg")" >/dev/null 2>&1 ||
    fail "vorn-cli reg import Sig.reg failed"
fi
echo "backup end-to-end: compressed and plain sets of $user checked ($os)"
