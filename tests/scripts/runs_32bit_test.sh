#!/usr/bin/env bash
# The answer of scripts/wine-loaders.sh to "does this machine run 32-bit programs", against what
# the machine does with a 32-bit program of its own (exit(0) through int 0x80, 93 bytes), and
# the answer forced with VORN_NO_32BIT=1.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/scripts/wine-loaders.sh"
tiny=$(mktemp)
trap 'rm -f "$tiny"' EXIT
printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0' > "$tiny"
printf '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0' >> "$tiny"
printf '\xb8\x01\0\0\0\x31\xdb\xcd\x80' >> "$tiny"
chmod +x "$tiny"
machine=no
if "$tiny" 2>/dev/null && vorn_wine_loader win32 >/dev/null; then machine=yes; fi

failed=0
while read -r forced expected; do
  answer=yes
  why=$(VORN_NO_32BIT=$forced vorn_runs_32bit) || answer=no
  [ "$expected" = machine ] && expected=$machine
  if [ "$answer" != "$expected" ] || { [ "$answer" = no ] && [ -z "$why" ]; }; then
    echo "VORN_NO_32BIT=$forced: answered $answer (${why:-no reason}), expected $expected"
    failed=1
  fi
done <<'CASES'
- machine
1 no
CASES
echo "this machine runs 32-bit programs: $machine"
exit $failed
