#!/usr/bin/env bash
# Restores backup sets of the demo machine's main user onto its other users under Wine with the
# Win32 platform layer (vorn-cli restore: start-up, the main window's lists and the restore run,
# without windows): a compressed set and a plain one made by vorn-cli backup, and a set whose
# .reg files Wine's own regedit exported and whose Mail.lzh jlha packed (code page 932 names).
# Each time the receiving user holds the mail byte for byte and the settings under her own
# GUID with her own Store Root written out, and the main user is untouched. On the 98 family
# (VORN_WINE_FAMILY 9x) the sets lie on the half-width desktop in the Windows folder, the foreign
# set is a 2000/XP set restored onto a 98 identity, and a set made on 98 goes back onto another
# user with the prefix reporting XP.
#   wine_restore_test.sh WINDOWS-BUILD-DIR
set -euo pipefail
test_name="restore end-to-end"
source "$(dirname "$0")/../support/demo_cli_test.sh" "$1"

taro="山田 太郎";  taro_guid="{6E2D4C8A-91B3-4F7E-A5D0-C3B2E1F09876}"
hanako="鈴木 花子"; hanako_guid="{D4A1E3F2-5B6C-4D7E-9F80-A1B2C3D4E5F6}"
jiro="佐藤 次郎";  jiro_guid="{1B7F9A20-3C4D-4E5F-8A6B-7C8D9E0F1A2B}"
profile_win=$(win_env USERPROFILE)
profile=$(unix_path "$profile_win")
store() { echo "$profile/Local Settings/Application Data/Identities/$1/Microsoft/Outlook Express"; }
identity() { echo "HKEY_CURRENT_USER\\Identities\\$1\\Software\\Microsoft"; }
desktop=$(vorn_desktop -u)
if [ "$VORN_WINE_FAMILY" = 9x ]; then
  trap 'rm -rf "$work" "$desktop/Vorn_bkup"; vorn_put_back_demo_machine' EXIT
fi
set_folder="$desktop/Vorn_bkup/$taro"

# A key as Wine's regedit exports it, as UTF-8 lines; the identity's GUID written as GUID.
export_key() {
  wine regedit /e "$(winepath -w "$work/export.reg")" "$1" >/dev/null 2>&1 || fail "cannot export $1"
  iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | sed "s/$2/GUID/Ig"
}
# The identity's settings but for its Store Root value (with the hex lines that continue it).
settings_of() {
  export_key "$(identity "$1")" "$1" | awk '/^"Store Root"=/ {skip = /\\$/; next} skip {skip = /\\$/; next} {print}'
}
store_root_of() {
  wine reg query "$(identity "$1")\\Outlook Express\\5.0" /v "Store Root" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Store Root *REG_[A-Z_]* *//p'
}

# The main user's store: the demo's folder files, one large partly incompressible, and a
# file that is not a folder file.
head -c 300000 /dev/urandom > "$(store "$taro_guid")/受信トレイ.dbx"
printf 'uidl' > "$(store "$taro_guid")/pop3uidl.txt"
taro_settings=$(settings_of "$taro_guid")
taro_tree=$(cd "$(store "$taro_guid")" && find . -type f -exec sha1sum {} + | sort)
[ -n "$taro_settings" ] || fail "the main user has no settings to restore"

# restored GUID NAME FILTER: the user holds the main user's mail (FILTER: which files a set
# carries) and settings, her own Store Root written out, and the main user is as before.
restored() {
  local expected got
  expected=$(cd "$(store "$taro_guid")" && find . -type f -name "$3" -exec sha1sum {} + | sort)
  got=$(cd "$(store "$1")" && find . -type f -exec sha1sum {} + | sort)
  [ "$got" = "$expected" ] || fail "$2's store is not the set's mail:"$'\n'"$got"
  [ "$(settings_of "$1")" = "$taro_settings" ] || {
    diff <(echo "$taro_settings") <(settings_of "$1") >&2 || true
    fail "$2 does not hold the main user's settings"
  }
  local root
  root=$(store_root_of "$1")
  [ "$root" = "$profile_win\\Local Settings\\Application Data\\Identities\\$1\\Microsoft\\Outlook Express" ] ||
    [ "$root" = "$profile_win\\Local Settings\\Application Data\\Identities\\$1\\Microsoft\\Outlook Express\\" ] ||
    fail "$2's Store Root is $root"
  [ "$(settings_of "$taro_guid")" = "$taro_settings" ] || fail "the main user's settings changed"
  [ "$(cd "$(store "$taro_guid")" && find . -type f -exec sha1sum {} + | sort)" = "$taro_tree" ] ||
    fail "the main user's store changed"
}

# --- a compressed set onto 鈴木 花子: refused without --yes, then restored.
rm -rf "$set_folder"
cli backup "$taro" --compress >/dev/null 2>&1 || fail "vorn-cli backup --compress failed"
printf 'her own mail' > "$(store "$hanako_guid")/自分のフォルダ.dbx"
if cli restore "$(winepath -w "$set_folder")" "$hanako" 2>"$work/err"; then fail "a restore without --yes ran"; fi
grep -q 'add --yes' "$work/err" || fail "no refusal message: $(cat "$work/err")"
[ -f "$(store "$hanako_guid")/自分のフォルダ.dbx" ] || fail "the refused restore changed the store"
cli restore "$(winepath -w "$set_folder")" "$hanako" --yes 2>"$work/err" || fail "vorn-cli restore failed: $(cat "$work/err")"
restored "$hanako_guid" "$hanako" '*'

# --- a plain set onto 佐藤 次郎 (whose Store Root value ends in a backslash).
rm -rf "$set_folder"
cli backup "$taro" --plain >/dev/null 2>&1 || fail "vorn-cli backup --plain failed"
cli restore "$(winepath -w "$set_folder")" "$jiro" --yes 2>"$work/err" || fail "plain restore failed: $(cat "$work/err")"
restored "$jiro_guid" "$jiro" '*.dbx'

# --- a set made by other tools: the .reg files exported by Wine's regedit, Mail.lzh packed by
# jlha with code page 932 member names.
foreign="$work/他のツール/$taro"
mkdir -p "$foreign/Reg"
cp -r "$set_folder/Wab" "$set_folder/Favorites.htm" "$foreign/"
cp "$set_folder/Reg/VornInfo.dat" "$foreign/Reg/"
for phonebook in "$set_folder"/Reg/*.pbk; do  # the 98 family saves none
  [ -f "$phonebook" ] && cp "$phonebook" "$foreign/Reg/"
done
regedit_export() { wine regedit /e "$(winepath -w "$foreign/Reg/$1")" "$2" >/dev/null 2>&1 || fail "regedit /e $2"; }
regedit_export OE.reg "$(identity "$taro_guid")"
regedit_export Sig.reg "$(identity "$taro_guid")\\Outlook Express\\5.0\\signatures"
regedit_export Account.reg "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager"
regedit_export Remote.reg "HKEY_CURRENT_USER\\RemoteAccess"
regedit_export Locations.reg "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations"
regedit_export FavoOrder.reg "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites"
(cd "$(store "$taro_guid")" && LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 jlha aq "$foreign/Mail.lzh" *) || fail "jlha cannot pack"
printf '\x8e\xf3\x90\x4d' | cmp -s - <(grep -ao $'\x8e\xf3\x90\x4d' "$foreign/Mail.lzh" | head -c 4) ||
  fail "jlha did not write code page 932 names"
rm -f "$(store "$hanako_guid")"/*
cli restore "$(winepath -w "$foreign")" "$hanako" --yes 2>"$work/err" || fail "foreign restore failed: $(cat "$work/err")"
restored "$hanako_guid" "$hanako" '*'

if [ "$VORN_WINE_FAMILY" = 9x ]; then
  # --- and back: 鈴木 花子's plain set, made on 98 (REGEDIT4), onto 佐藤 次郎 on XP.
  hanako_set="$desktop/Vorn_bkup/$hanako"
  cli backup "$hanako" --plain >/dev/null 2>&1 || fail "vorn-cli backup of $hanako failed"
  [ "$(head -c 8 "$hanako_set/Reg/OE.reg")" = REGEDIT4 ] || fail "the 98 set is not a REGEDIT4 set"
  rm -f "$(store "$jiro_guid")"/*
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
  cli restore "$(winepath -w "$hanako_set")" "$jiro" --yes 2>"$work/err" || fail "98 set onto XP failed: $(cat "$work/err")"
  restored "$jiro_guid" "$jiro" '*.dbx'
  echo "restore end-to-end: 98 and 2000/XP sets of $taro restored onto $hanako on 98, and back onto $jiro on XP"
  exit 0
fi
echo "restore end-to-end: compressed, plain and foreign sets of $taro restored onto $hanako and $jiro"
