#!/usr/bin/env bash
# Makes PREFIX a Wine prefix holding the demo machine of demo/machine.txt, of the build's
# architecture and reporting the system VORN_WINE_SYSTEM (winxp unless set; see wine-env.sh).
#   scripts/demo-setup.sh WINDOWS-BUILD-DIR PREFIX
# With VORN_DEMO_ARCHIVER=no the machine is as it was before Vorn was installed: without the
# archiver library, which Vorn's installer brings.
# The prefix is made afresh whenever the description, its files, the stand-in programs or the
# system change, or when it is of the other architecture, so nothing of an earlier machine stays
# behind; otherwise it is left as it is.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
prefix=$2

windows_path() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

archiver="$build/lha/unlha32"
for needed in "$build/demo/demo_setup.exe" "$build/demo/programs/msimn.exe" "$build/demo/programs/wab.exe" \
              "$archiver/unlha32.dll"; do
  [ -f "$needed" ] || { echo "demo-setup: $needed is missing; build the Windows target first" >&2; exit 1; }
done

machine=$repo/demo/machine.txt
if [ "${VORN_DEMO_ARCHIVER:-yes}" = no ]; then
  machine=$(mktemp)
  trap 'rm -f "$machine"' EXIT
  grep -Ev '^((nt|9x): )?copy unlha32.dll ' "$repo/demo/machine.txt" > "$machine"
fi

# The users' mail stores come from the test folder-file writer's tool, when it was built.
mail_tool="$build/tests/backup/demo_mail.exe"
export VORN_WINE_ARCH VORN_WINE_SYSTEM=${VORN_WINE_SYSTEM:-winxp}
VORN_WINE_ARCH=$(bash "$repo/scripts/wine-arch.sh" "$build/demo/demo_setup.exe")
stamp=$( (echo "$VORN_WINE_ARCH $VORN_WINE_SYSTEM"
          cat "$machine" "$repo"/demo/files/* "$build"/demo/programs/*.exe "$build/demo/demo_setup.exe" \
              "$archiver/unlha32.dll" $( [ -f "$mail_tool" ] && echo "$mail_tool")) | sha256sum | cut -d' ' -f1)
# wine-env.sh makes the prefix when it is missing or unfit (and its stamp goes with it).
export VORN_WINEPREFIX=$prefix
source "$repo/scripts/wine-env.sh"
if [ "$(cat "$prefix/.vorn-demo" 2>/dev/null)" = "$stamp" ]; then
  exit 0
fi

echo "demo-setup: preparing the demo machine ($VORN_WINE_ARCH, $VORN_WINE_SYSTEM) in $prefix"
if [ -z "$VORN_PREFIX_MADE" ]; then  # an earlier machine's prefix: nothing of it may stay
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
  source "$repo/scripts/wine-env.sh"
fi
wine "$build/demo/demo_setup.exe" "$(windows_path "$machine")" \
  "$(windows_path "$build/demo/programs")" "$(windows_path "$archiver")" "$(windows_path "$repo/demo/files")"
if [ -f "$mail_tool" ]; then wine "$mail_tool"; fi
wineserver -w
echo "$stamp" > "$prefix/.vorn-demo"
