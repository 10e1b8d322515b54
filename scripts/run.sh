#!/usr/bin/env bash
# Installs what is needed, builds Vorn's installer (of the 32-bit build we ship), prepares the demo
# machine in a 32-bit Wine prefix of its own (~/.cache/vorn/demo, reporting Windows XP), installs
# Vorn there with the installer as a user would, and starts it on your display. Run it as the user
# whose display it is; the package installation asks for sudo when not run as root.
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

echo "== building vorn-setup.exe (32-bit)"
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake >/dev/null
cmake --build build/win32 -j 2 --target vorn_setup demo_setup msimn wab unlha32 demo_mail

# A prefix cached by an earlier version (64-bit, perhaps without the 32-bit side) is made afresh.
prefix=${XDG_CACHE_HOME:-$HOME/.cache}/vorn/demo
# The machine as it is before Vorn: the installer brings the archiver library.
VORN_DEMO_ARCHIVER=no bash scripts/demo-setup.sh build/win32 "$prefix"
export VORN_WINEPREFIX=$prefix VORN_WINE_ARCH=win32
source scripts/wine-env.sh

echo "== installing Vorn (vorn-setup.exe /S)"
wine build/win32/setup/vorn-setup.exe /S || { echo "run: the installer failed (is Vorn still running?)" >&2; exit 1; }
echo "== starting Vorn (prefix $WINEPREFIX)"
exec wine "C:\\Program Files\\Vorn\\vorn.exe"
