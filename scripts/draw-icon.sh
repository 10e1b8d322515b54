#!/usr/bin/env bash
# Draws Vorn's icon, the main window's picture (a closed envelope on blue), at the sizes
# Windows shows, into one .ico file:
#   scripts/draw-icon.sh ui/win32/vorn.ico
# The file is kept in the tree; run this only to change the picture.
set -euo pipefail
out=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
blue='#3A6EA5'
images=()
for s in 16 24 32 48; do
  # The paper is inset an eighth of the side left and right and a quarter top and bottom;
  # the flap is a V from its top corners to just below its middle.
  left=$(( (s * 6 + 24) / 48 )); right=$(( s - 1 - left ))
  top=$(( (s * 12 + 24) / 48 )); bottom=$(( s - 1 - top ))
  middle_x=$(( (left + right) / 2 )); middle_y=$(( (top + bottom) / 2 + (s * 2 + 24) / 48 ))
  stroke=$(( (s * 2 + 24) / 48 )); (( stroke >= 1 )) || stroke=1
  convert -size "${s}x${s}" "xc:$blue" \
    -fill white -stroke none -draw "rectangle $left,$top $right,$bottom" \
    -fill none -stroke "$blue" -strokewidth "$stroke" \
    -draw "polyline $left,$top $middle_x,$middle_y $right,$top" \
    "PNG32:$work/$s.png"
  images+=("$work/$s.png")
done
convert "${images[@]}" "$out"
