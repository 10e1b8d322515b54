#!/usr/bin/env bash
# Installs what is needed, builds Vorn's installer (of the 32-bit build we ship), prepares the demo
# machine in a 32-bit Wine prefix of its own (~/.cache/vorn/demo, reporting Windows XP), installs
# Vorn there with the installer as a user would, and starts it on your display. On a machine that
# runs no 32-bit programs (or with VORN_NO_32BIT=1) the installer cannot run: the 64-bit build is
# put in place as it would (setup/installed-files.txt) on a 64-bit demo machine
# (~/.cache/vorn/demo-win64). Run it as the user whose display it is; the package installation
# asks for sudo when not run as root.
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
source scripts/wine-loaders.sh
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vorn
not_prepared() { echo "run: the demo machine could not be prepared in $1 (see above)" >&2; exit 1; }

# Puts the files of setup/installed-files.txt in place in the prefix of wine-env.sh, as the
# installer does: the program folder's files, the archiver library unless the system folder has
# one, the Start menu entry.
place_as_installer() {  # WINDOWS-BUILD-DIR
  local build=$1 place name source target program_folder system_folder
  program_folder=$(winepath -u "$(wine cmd /c echo %ProgramFiles% | tr -d '\r')\\Vorn")
  system_folder=$(winepath -u "$(wine cmd /c echo %SystemRoot% | tr -d '\r')\\system32")
  mkdir -p "$program_folder"
  while read -r place name source; do
    case $place in
      program) cp "$build/$source" "$program_folder/$name" ;;
      system) target=$system_folder/$name; [ -e "$target" ] || cp "$build/$source" "$target" ;;
      menu) wine wscript //nologo "$(winepath -w scripts/menu-entry.js)" "$name" "$(winepath -w "$program_folder/$source")" ;;
    esac
  done < <(grep -v '^#' setup/installed-files.txt)
}

if ! why_not=$(vorn_runs_32bit); then
  echo "run: $why_not, so the installer (a 32-bit program, as is the build we ship) cannot be used here:"
  echo "     the 64-bit build is put in place as the installer would, on a 64-bit demo machine."
  echo "== building Vorn (64-bit)"
  cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
  cmake --build build/windows -j 2 --target vorn vorn_help demo_setup msimn wab unlha32 demo_mail
  prefix=$cache/demo-win64
  VORN_DEMO_ARCHIVER=no bash scripts/demo-setup.sh build/windows "$prefix" || not_prepared "$prefix"
  export VORN_WINEPREFIX=$prefix VORN_WINE_ARCH=win64
  source scripts/wine-env.sh
  echo "== putting Vorn in place (setup/installed-files.txt)"
  place_as_installer build/windows
  echo "== starting Vorn (prefix $WINEPREFIX)"
  exec wine "C:\\Program Files\\Vorn\\vorn.exe"
fi

echo "== building vorn-setup.exe (32-bit)"
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake >/dev/null
cmake --build build/win32 -j 2 --target vorn_setup demo_setup msimn wab unlha32 demo_mail

# A prefix cached by an earlier version of the other architecture is made afresh (wine-env.sh).
prefix=$cache/demo
# The machine as it is before Vorn: the installer brings the archiver library.
VORN_DEMO_ARCHIVER=no bash scripts/demo-setup.sh build/win32 "$prefix" || not_prepared "$prefix"
export VORN_WINEPREFIX=$prefix VORN_WINE_ARCH=win32
source scripts/wine-env.sh

echo "== installing Vorn (vorn-setup.exe /S)"
wine build/win32/setup/vorn-setup.exe /S || { echo "run: the installer failed (is Vorn still running?)" >&2; exit 1; }
echo "== starting Vorn (prefix $WINEPREFIX)"
exec wine "C:\\Program Files\\Vorn\\vorn.exe"
