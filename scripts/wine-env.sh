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
