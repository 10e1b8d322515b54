#!/usr/bin/env bash
# Installs what is needed, builds vorn.exe, prepares the demo machine in a Wine prefix of its
# own (~/.cache/vorn/demo) and starts Vorn there on your display. Run it as the user whose
# display it is; the package installation asks for sudo when not run as root.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
run: there is no display (DISPLAY is not set), so Vorn's window cannot be shown.
     Run this from a desktop session (or over ssh -X). sudo drops DISPLAY: run the
     script as yourself (it calls sudo for the packages) or keep it with sudo -E.
     To build and run every test without a display: bash scripts/test.sh
MSG
  exit 1
fi

bash scripts/install-deps.sh

echo "== building vorn.exe"
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/windows -j 2 --target vorn demo_setup msimn wab unlha32 demo_mail

prefix=${XDG_CACHE_HOME:-$HOME/.cache}/vorn/demo
bash scripts/demo-setup.sh build/windows "$prefix"
export VORN_WINEPREFIX=$prefix
source scripts/wine-env.sh

# Installed like a user would, in a program folder of its own.
program_folder="$WINEPREFIX/drive_c/Program Files/Vorn"
mkdir -p "$program_folder"
cp build/windows/app/vorn.exe build/windows/app/Vorn4.chm "$program_folder/"
echo "== starting Vorn (prefix $WINEPREFIX)"
exec wine "C:\\Program Files\\Vorn\\vorn.exe"
