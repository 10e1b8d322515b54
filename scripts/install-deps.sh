#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need (idempotent), with the
# i386 architecture for 32-bit Wine (wine32), which runs the 32-bit build we ship.
set -euo pipefail
packages=(python3 cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
          mingw-w64 g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine wine64 wine32:i386
          xvfb xauth locales fonts-ipafont-gothic lhasa jlha-utils undbx libchm-dev imagemagick xdotool nsis)
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
