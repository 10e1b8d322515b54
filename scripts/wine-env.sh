# Sourced: a Japanese-locale 64-bit Wine prefix, made once and kept in the cache.
# VORN_WINEPREFIX picks another prefix (the demo machine's); the default is the tests' own.
source "$(dirname "${BASH_SOURCE[0]}")/checkout-cache.sh"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${VORN_WINEPREFIX:-$VORN_CACHE/wine-test}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
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
