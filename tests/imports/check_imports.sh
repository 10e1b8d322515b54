#!/usr/bin/env bash
# Lists every function the given Windows binaries import (objdump -p) and checks each against
# minimum_systems.txt: it fails on a function the list does not hold and on one whose minimum
# system is later than Windows XP SP3. For each binary it prints the oldest system that has all
# of its imports. With --98 it also fails on an import that windows98_exports.txt does not hold:
# a function 98 SE and Me do not export, or export only as a stub.
#   check_imports.sh OBJDUMP [--98] BINARY...
set -euo pipefail
objdump=$1
shift
list="$(dirname "$0")/minimum_systems.txt"
declare -A on98
family98=""
if [ "${1:-}" = --98 ]; then
  family98=yes
  shift
  while read -r dll function _; do
    [[ -z $dll || $dll == \#* ]] || on98["$dll $function"]=1
  done < "$(dirname "$0")/windows98_exports.txt"
fi

# Windows releases in the order they came out; the check allows up to XP-SP3.
systems=(95 NT4 98 2000 Me XP XP-SP1 XP-SP2 XP-SP3 Vista 7 8 8.1 10)
limit=XP-SP3
rank() {
  local i
  for i in "${!systems[@]}"; do [ "${systems[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo "check_imports: unknown system \"$1\" in $list" >&2
  exit 2
}
limit_rank=$(rank "$limit")

declare -A minimum
while read -r dll function system _; do
  [[ -z $dll || $dll == \#* ]] && continue
  minimum["$dll $function"]=$(rank "$system")
done < "$list"

failed=0
for binary in "$@"; do
  imports=$("$objdump" -p "$binary" | awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    /^$/ { dll = "" }
    dll && /^\t[0-9a-f]+\t/ { print dll, ($NF ~ /^[0-9]+$/ && $(NF-1) == "<none>") ? "#" $NF : $NF }')
  [ -n "$imports" ] || { echo "check_imports: no imports found in $binary" >&2; exit 2; }
  oldest=0
  while read -r dll function; do
    key="$dll $function"
    if [ -z "${minimum[$key]+set}" ]; then
      echo "$(basename "$binary"): $dll $function has no documented minimum system in $list"
      failed=1
    elif ((minimum[$key] > limit_rank)); then
      echo "$(basename "$binary"): $dll $function needs Windows ${systems[${minimum[$key]}]}"
      failed=1
    fi
    if [ -n "$family98" ] && [ -z "${on98[$key]+set}" ]; then
      echo "$(basename "$binary"): $dll $function is not a function Windows 98 SE exports and implements"
      failed=1
    fi
    ((${minimum[$key]:-0} > oldest)) && oldest=${minimum[$key]}
  done <<< "$imports"
  echo "$(basename "$binary"): $(wc -l <<< "$imports") imported functions," \
       "all of them on Windows ${systems[$oldest]} and later${family98:+, and on 98 SE and Me}"
done
exit $failed
