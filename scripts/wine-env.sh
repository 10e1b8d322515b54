# Sourced: a Japanese-locale Wine prefix, made once and kept in the cache.
#   VORN_WINE_ARCH    win32 (the default, for the 32-bit build we ship) or win64; scripts/wine-arch.sh
#                     tells which one a program needs
#   VORN_WINE_SYSTEM  the Windows the prefix reports (Wine's Version setting): winxp (the
#                     default), win2k, winme or win98
#   VORN_WINEPREFIX   another prefix (a demo machine's); the default is the tests' own
source "$(dirname "${BASH_SOURCE[0]}")/checkout-cache.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine-loaders.sh"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEARCH=${VORN_WINE_ARCH:-win32}
export VORN_WINE_SYSTEM=${VORN_WINE_SYSTEM:-winxp}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${VORN_WINEPREFIX:-$VORN_CACHE/wine-test-$WINEARCH}

# A 64-bit prefix is started through the 64-bit loader, so that nothing depends on the machine
# running 32-bit programs: `wine`, `wineboot` and `winepath` of a folder put first on the PATH
# call it (also for the programs the caller starts, such as ctest's tests), and Wine starts the
# prefix's further programs with WINELOADER. A 32-bit prefix takes the system's commands.
vorn_wine_bin=$VORN_CACHE/wine64-bin
PATH=$(printf %s "$PATH" | tr : '\n' | grep -vxF "$vorn_wine_bin" | paste -sd:)
unset WINELOADER
if [ "$WINEARCH" = win64 ]; then
  if ! WINELOADER=$(vorn_wine_loader win64); then
    echo "wine-env: Wine's 64-bit loader is not installed (wine64; scripts/install-deps.sh installs it)" >&2
    return 1
  fi
  export WINELOADER
  if [ "$(cat "$vorn_wine_bin/.loader" 2>/dev/null)" != "$WINELOADER" ]; then
    mkdir -p "$vorn_wine_bin"
    for vorn_tool in wine wineboot winepath; do
      vorn_run=$WINELOADER
      [ "$vorn_tool" = wine ] || vorn_run="$WINELOADER $vorn_tool.exe"
      printf '#!/bin/sh\nexec %s "$@"\n' "$vorn_run" > "$vorn_wine_bin/$vorn_tool.$$"
      chmod +x "$vorn_wine_bin/$vorn_tool.$$"
      mv "$vorn_wine_bin/$vorn_tool.$$" "$vorn_wine_bin/$vorn_tool"
    done
    echo "$WINELOADER" > "$vorn_wine_bin/.loader"
  fi
  PATH=$vorn_wine_bin:$PATH
fi
export PATH

# Runs a Wine command whose output is of no interest; when it fails, says so with Wine's last
# words, so that a caller under set -e does not end without a message.
vorn_wine_quietly() {
  local said
  if ! said=$("$@" 2>&1); then
    echo "wine-env: Wine cannot run \"$*\" in $WINEPREFIX ($WINEARCH); it said:" >&2
    echo "$said" | tail -n 5 >&2
    if [ "$WINEARCH" = win32 ] && ! said=$(vorn_runs_32bit); then echo "wine-env: $said" >&2; fi
    return 1
  fi
}

# A prefix of the other architecture is made afresh.
vorn_prefix_fits() { grep -qx "#arch=$WINEARCH" "$WINEPREFIX/system.reg" 2>/dev/null; }
VORN_PREFIX_MADE=""
if ! vorn_prefix_fits; then
  if [ -d "$WINEPREFIX" ]; then
    echo "wine-env: making $WINEPREFIX afresh ($WINEARCH)" >&2
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  vorn_wine_quietly wineboot --init || { rm -rf "$WINEPREFIX"; return 1; }
  wineserver -w
  VORN_PREFIX_MADE=yes
fi

# The system the prefix reports, read from its saved registry; set when it differs (a change not
# saved yet is only set once more).
vorn_prefix_system() {
  awk '/^\[/ { wine = ($0 ~ /^\[Software\\\\Wine\] /) }
       wine && /^"Version"=/ { gsub(/"/, ""); sub(/^Version=/, ""); print }' "$WINEPREFIX/user.reg" 2>/dev/null
}
if [ "$(vorn_prefix_system)" != "$VORN_WINE_SYSTEM" ]; then
  vorn_wine_quietly wine reg add 'HKCU\Software\Wine' /v Version /d "$VORN_WINE_SYSTEM" /f
fi
# The fonts of a Japanese Windows: its font names drawn with the IPA fonts, and Marlett, the
# symbol font that draws the title bars' buttons (Debian's Wine does not find its own copy).
vorn_fonts_stamp=$(cat "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.reg" /usr/share/wine/fonts/marlett.ttf | sha256sum | cut -c1-16)
if [ "$(cat "$WINEPREFIX/.vorn-fonts" 2>/dev/null)" != "$vorn_fonts_stamp" ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  vorn_fonts_reg=$(mktemp --suffix=.reg)
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.reg"; } > "$vorn_fonts_reg"
  vorn_wine_quietly wine regedit /S "$(winepath -w "$vorn_fonts_reg")"
  wineserver -w
  rm -f "$vorn_fonts_reg"
  echo "$vorn_fonts_stamp" > "$WINEPREFIX/.vorn-fonts"
fi
