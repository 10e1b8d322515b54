# Sourced: a Japanese-locale Wine prefix, made once and kept in the cache.
#   VORN_WINE_ARCH    win32 (the default, for the 32-bit build we ship) or win64; scripts/wine-arch.sh
#                     tells which one a program needs
#   VORN_WINE_SYSTEM  the Windows the prefix reports (Wine's Version setting): winxp (the
#                     default), win2k, winme or win98
#   VORN_WINEPREFIX   another prefix (a demo machine's); the default is the tests' own
source "$(dirname "${BASH_SOURCE[0]}")/checkout-cache.sh"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEARCH=${VORN_WINE_ARCH:-win32}
export VORN_WINE_SYSTEM=${VORN_WINE_SYSTEM:-winxp}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${VORN_WINEPREFIX:-$VORN_CACHE/wine-test-$WINEARCH}

# A prefix is made afresh when it is of the other architecture, or is a 64-bit one made while only
# 64-bit Wine was installed: it lacks the 32-bit side, and the wine command (32-bit itself once
# wine32 is installed) fails on it with "could not load kernel32.dll".
vorn_prefix_fits() {
  grep -qx "#arch=$WINEARCH" "$WINEPREFIX/system.reg" 2>/dev/null &&
    { [ "$WINEARCH" = win32 ] || [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; }
}
VORN_PREFIX_MADE=""
if ! vorn_prefix_fits; then
  if [ -d "$WINEPREFIX" ]; then
    echo "wine-env: making $WINEPREFIX afresh ($WINEARCH, with the 32-bit side)" >&2
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
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
  wine reg add 'HKCU\Software\Wine' /v Version /d "$VORN_WINE_SYSTEM" /f >/dev/null 2>&1
fi
# The fonts of a Japanese Windows: its font names drawn with the IPA fonts, and Marlett, the
# symbol font that draws the title bars' buttons (Debian's Wine does not find its own copy).
vorn_fonts_stamp=$(cat "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.reg" /usr/share/wine/fonts/marlett.ttf | sha256sum | cut -c1-16)
if [ "$(cat "$WINEPREFIX/.vorn-fonts" 2>/dev/null)" != "$vorn_fonts_stamp" ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  vorn_fonts_reg=$(mktemp --suffix=.reg)
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.reg"; } > "$vorn_fonts_reg"
  wine regedit /S "$(winepath -w "$vorn_fonts_reg")" >/dev/null 2>&1
  wineserver -w
  rm -f "$vorn_fonts_reg"
  echo "$vorn_fonts_stamp" > "$WINEPREFIX/.vorn-fonts"
fi
