#!/usr/bin/env bash
# Draws the three button pictures (transparent PNGs) with ImageMagick, at their designed size
# and at 1.5 and 2 times it (name@1.5x.png, name@2x.png) for screens of more dots per inch:
# drawn at each size, never enlarged from a smaller one. The PNGs are what the program uses
# (compiled in as resources); run this only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")"

# Reproducible files: no time stamps or other metadata.
out() { echo -strip -define png:exclude-chunks=date,time "PNG32:$1"; }

# draw NAME WIDTH HEIGHT DRAWING...: the picture at each factor; the drawing is in the
# coordinates of the designed size, and FACTOR in it scales it as a whole (strokes too).
draw() {
  local name=$1 width=$2 height=$3 factor suffix
  shift 3
  for factor in 1 1.5 2; do
    case $factor in 1) suffix= ;; *) suffix=@${factor}x ;; esac
    local size args=()
    size=$(awk -v w="$width" -v h="$height" -v f="$factor" \
      'BEGIN { printf "%dx%d", w * f + 0.5, h * f + 0.5 }')
    for arg in "$@"; do args+=("${arg//FACTOR/$factor,$factor}"); done
    convert -size "$size" xc:none "${args[@]}" $(out "$name$suffix.png")
  done
}

# CommandOK: a green check mark, 44 x 36.
draw check 44 36 -fill none -stroke '#00a000' -strokewidth 7 \
  -draw "scale FACTOR stroke-linecap round stroke-linejoin round polyline 5,19 16,30 39,6"

# CommandCancel: a red diagonal cross, 37 x 39.
draw cross 37 39 -fill none -stroke '#d00000' -strokewidth 6 \
  -draw "scale FACTOR stroke-linecap round line 6,6 31,33" \
  -draw "scale FACTOR stroke-linecap round line 31,6 6,33"

# CommandQuest: a black question mark with an arrow pointing to the lower left, 41 x 45. The
# hook is a polyline (a half circle, then a curve down to the stem): ImageMagick 6 closes thick
# strokes of open arcs and curves.
draw quest 41 45 -fill none -stroke black -strokewidth 4.5 \
  -draw "scale FACTOR stroke-linecap round stroke-linejoin round polyline 20.5,11.0 20.8,8.9
         21.6,7.0 22.8,5.3 24.5,4.1 26.4,3.3 28.5,3.0 30.6,3.3 32.5,4.1 34.2,5.3 35.4,7.0
         36.2,8.9 36.5,11.0 36.2,13.1 35.3,14.8 34.1,16.0 32.8,17.1 31.4,18.2 30.2,19.3
         29.3,20.7 29.0,22.5 29.0,24.0" \
  -stroke none -fill black -draw "scale FACTOR circle 29,31 29,33.8" \
  -stroke black -strokewidth 3 -draw "scale FACTOR line 20,25 10,35" \
  -stroke none -fill black -draw "scale FACTOR polygon 3,43 15,39.4 6.6,31"
