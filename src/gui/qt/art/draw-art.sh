#!/usr/bin/env bash
# Draws the three button pictures (transparent PNGs) with ImageMagick. The PNGs are what the
# program uses (compiled in as resources); run this only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")"

# Reproducible files: no time stamps or other metadata.
out() { echo -strip -define png:exclude-chunks=date,time "PNG32:$1"; }

# CommandOK: a green check mark, 44 x 36.
convert -size 44x36 xc:none -fill none -stroke '#00a000' -strokewidth 7 \
  -draw "stroke-linecap round stroke-linejoin round polyline 5,19 16,30 39,6" \
  $(out check.png)

# CommandCancel: a red diagonal cross, 37 x 39.
convert -size 37x39 xc:none -fill none -stroke '#d00000' -strokewidth 6 \
  -draw "stroke-linecap round line 6,6 31,33" \
  -draw "stroke-linecap round line 31,6 6,33" \
  $(out cross.png)

# CommandQuest: a black question mark with an arrow pointing to the lower left, 41 x 45. The
# hook is a polyline (a half circle, then a curve down to the stem): ImageMagick 6 closes thick
# strokes of open arcs and curves.
convert -size 41x45 xc:none -fill none -stroke black -strokewidth 4.5 \
  -draw "stroke-linecap round stroke-linejoin round polyline 20.5,11.0 20.8,8.9 21.6,7.0
         22.8,5.3 24.5,4.1 26.4,3.3 28.5,3.0 30.6,3.3 32.5,4.1 34.2,5.3 35.4,7.0 36.2,8.9
         36.5,11.0 36.2,13.1 35.3,14.8 34.1,16.0 32.8,17.1 31.4,18.2 30.2,19.3 29.3,20.7
         29.0,22.5 29.0,24.0" \
  -stroke none -fill black -draw "circle 29,31 29,33.8" \
  -stroke black -strokewidth 3 -draw "line 20,25 10,35" \
  -stroke none -fill black -draw "polygon 3,43 15,39.4 6.6,31" \
  $(out quest.png)
