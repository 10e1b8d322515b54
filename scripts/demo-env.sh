# Sourced by the tests that run on the demo machine: the demo prefix for the build's architecture
# and the system VORN_WINE_SYSTEM (winxp unless set), prepared by demo-setup.sh, and the Wine
# environment for it (wine-env.sh). VORN_WINE_FAMILY tells the family: nt or 9x. The tests share
# the prefix, one after the other, as a prefix costs time to make and up to 1.3 GB: none of them
# depends on what another one changed (the backup test rewrites the main user's mail files and
# puts the registry keys it empties back, the window tests store the default destination).
#   source scripts/demo-env.sh WINDOWS-BUILD-DIR
vorn_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$vorn_scripts/checkout-cache.sh"
export VORN_WINE_SYSTEM=${VORN_WINE_SYSTEM:-winxp}
case $VORN_WINE_SYSTEM in
  win95 | win98 | winme) export VORN_WINE_FAMILY=9x ;;
  *) export VORN_WINE_FAMILY=nt ;;
esac
VORN_WINE_ARCH=$(bash "$vorn_scripts/wine-arch.sh" "$1/demo/demo_setup.exe")
export VORN_WINE_ARCH
export VORN_WINEPREFIX=$VORN_CACHE/wine-demo-$VORN_WINE_ARCH-$VORN_WINE_SYSTEM
bash "$vorn_scripts/demo-setup.sh" "$1" "$VORN_WINEPREFIX"
source "$vorn_scripts/wine-env.sh"

# The desktop, where a backup goes unless told otherwise: the 2000 family's in the user's
# profile, the 98 family's in the Windows folder under its half-width name. As a Windows path;
# with -u, as a Unix one.
vorn_desktop() {
  local variable=USERPROFILE name=デスクトップ folder
  if [ "$VORN_WINE_FAMILY" = 9x ]; then
    variable=windir
    name=ﾃﾞｽｸﾄｯﾌﾟ
  fi
  folder=$(wine cmd /c echo "%$variable%" | tr -d '\r')
  if [ "${1:-}" = -u ]; then echo "$(winepath -u "$folder")/$name"; else echo "$folder\\$name"; fi
}
