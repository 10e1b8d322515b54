#!/usr/bin/env bash
# Reads sets of the demo machine's main user under Wine with vorn-cli.exe (the Win32 platform
# layer, code page 932 names): a compressed and a plain set made by vorn-cli backup from the
# demo's mail store. set info lists every folder file with its message count; set export writes
# what the window's extraction (vorn-cli dbx extract) writes; the mbox files read back in
# Python's mailbox module as the same messages; a Mail.lzh with one member broken exports every
# other folder and names the broken one; a folder that holds no set gets the restore's message.
#   wine_set_test.sh WINDOWS-BUILD-DIR
set -euo pipefail
test_name="set end-to-end"
source "$(dirname "$0")/../support/demo_cli_test.sh" "$1"

taro="山田 太郎"; taro_guid="{6E2D4C8A-91B3-4F7E-A5D0-C3B2E1F09876}"
profile=$(unix_path "$(win_env USERPROFILE)")
store="$profile/Local Settings/Application Data/Identities/$taro_guid/Microsoft/Outlook Express"
made_set="$profile/デスクトップ/Vorn_bkup/$taro"
# The demo's mail store afresh and nothing else in it, whatever an earlier test left there (the
# backup's test adds files that are no folder files); the machine's files come back at the end.
rm -rf "$store"/* "$made_set"
wine "$build/tests/backup/demo_mail.exe" || fail "demo_mail could not write the stores"
folders=()
for file in "$store"/*.dbx; do
  name=$(basename "$file")
  [ "$name" = Folders.dbx ] || folders+=("$name")
done
[ ${#folders[@]} -ge 5 ] || fail "the demo store holds only ${#folders[@]} folder files"

# check_set SET SOURCE: info, both exports and the mailbox reading of one set.
check_set() {
  local set=$1 source=$2 info out name count
  info=$(cli set info "$(win_path "$set")" 2>"$work/err" | tr -d '\r') || fail "set info failed: $(cat "$work/err")"
  grep -q "^Mail folders in $source (${#folders[@]}):" <<<"$info" || fail "no folder list of $source:"$'\n'"$info"
  grep -q "ユーザー名 ：$taro" <<<"$info" || fail "the information file is not shown:"$'\n'"$info"
  for name in "${folders[@]}"; do
    count=$(cli dbx info "$(win_path "$store/$name")" | tr -d '\r' | sed -n 's/^message count: //p')
    grep -Eq "^ +$count +[0-9]+  [a-z ]+ +$name$" <<<"$info" || fail "$name is not listed with $count messages:"$'\n'"$info"
  done
  grep -q "Folders.dbx" <<<"$info" && fail "Folders.dbx is listed as a mail folder"

  out="$work/out-$source"
  cli set export "$(win_path "$set")" "$(win_path "$out/messages")" 2>"$work/err" || fail "set export failed: $(cat "$work/err")"
  cli set export -q --mbox "$(win_path "$set")" "$(win_path "$out/mbox")" 2>"$work/err" ||
    fail "set export --mbox failed: $(cat "$work/err")"
  [ -s "$work/err" ] && fail "-q wrote: $(cat "$work/err")"
  local pairs=()
  for name in "${folders[@]}"; do
    name=${name%.dbx}
    cli dbx extract "$(win_path "$store/$name.dbx")" "$(win_path "$out/reference/$name")" >/dev/null 2>&1 ||
      fail "dbx extract $name failed"
    if [ -d "$out/reference/$name" ]; then
      diff -r "$out/reference/$name" "$out/messages/$name" >/dev/null || fail "$name differs from the extraction"
      pairs+=("$out/mbox/$name.mbox" "$out/messages/$name")
    else
      [ ! -e "$out/messages/$name" ] && [ ! -e "$out/mbox/$name.mbox" ] || fail "the empty folder $name was written"
    fi
  done
  python3 "$repo/tests/setread/mbox_check.py" "${pairs[@]}" || fail "Python's mailbox reads other messages"
}

cli backup "$taro" --compress >/dev/null 2>&1 || fail "vorn-cli backup --compress failed"
mkdir -p "$work/packed" && cp -r "$made_set" "$work/packed/" && rm -rf "$made_set"
cli backup "$taro" --plain >/dev/null 2>&1 || fail "vorn-cli backup --plain failed"
mkdir -p "$work/plain" && cp -r "$made_set" "$work/plain/" && rm -rf "$made_set"
check_set "$work/packed/$taro" Mail.lzh
check_set "$work/plain/$taro" Mail

# One member broken in the middle of its packed data.
broken="$work/broken/$taro"
mkdir -p "$work/broken" && cp -r "$work/packed/$taro" "$work/broken/"
python3 - "$broken/Mail.lzh" <<'PY' || fail "cannot break a member"
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
name = "仕事.dbx".encode("cp932")
at = data.index(name)
start = data.rindex(b"-lh", 0, at) - 2          # a level-2 header: its size, then the method
size, = struct.unpack_from("<H", data, start)
packed, = struct.unpack_from("<I", data, start + 7)
data[start + size + packed // 2] ^= 0x5A
open(path, "wb").write(data)
PY
if cli set export "$(win_path "$broken")" "$(win_path "$work/broken-out")" 2>"$work/err"; then
  fail "an export of a broken archive succeeded"
fi
grep -q "vorn-cli set: Mail.lzh: 仕事.dbx: .*; skipped" "$work/err" || fail "the broken member is not named: $(cat "$work/err")"
[ ! -e "$work/broken-out/仕事" ] || fail "something of the broken member was kept"
for name in "${folders[@]}"; do
  name=${name%.dbx}
  [ "$name" = 仕事 ] || [ ! -d "$work/out-Mail.lzh/messages/$name" ] ||
    diff -r "$work/out-Mail.lzh/messages/$name" "$work/broken-out/$name" >/dev/null || fail "$name was not exported"
done

# A plain set whose 仕事.dbx lost its index pointer: the export recovers it from its block chains.
damaged="$work/damaged/$taro"
mkdir -p "$work/damaged" && cp -r "$work/plain/$taro" "$work/damaged/"
printf '\0\0\0\0' | dd of="$damaged/Mail/仕事.dbx" bs=1 seek=228 conv=notrunc status=none
if cli set export "$(win_path "$damaged")" "$(win_path "$work/damaged-out")" 2>"$work/err"; then
  fail "an export of a damaged folder file said it was complete"
fi
grep -q "vorn-cli set: Mail\\\\仕事.dbx: .*damaged, recovered from its block chains" "$work/err" ||
  fail "the damaged folder file is not named: $(cat "$work/err")"
diff -r "$work/out-Mail/messages/仕事" "$work/damaged-out/仕事" >/dev/null ||
  fail "the recovery of 仕事.dbx gave other messages than its index"

# A folder that holds no set.
if cli set info "$(win_path "$work")" 2>"$work/err"; then fail "set info took a folder without a set"; fi
grep -q "指定先にバックアップファイルが見つかりません。" "$work/err" || fail "not the restore's message: $(cat "$work/err")"
echo "set end-to-end: compressed and plain sets of $taro read, exported and checked; a broken member named, a damaged folder file recovered"
