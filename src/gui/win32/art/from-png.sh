#!/usr/bin/env bash
# The button pictures of the Windows program: the Qt view's PNGs as 32-bit icons (alpha kept),
# each with the images drawn at 1, 1.5 and 2 times the designed size, so that Windows takes the
# one nearest the screen's DPI. Both windows show the same artwork. Run after changing the PNGs.
set -euo pipefail
cd "$(dirname "$0")"
png=../../qt/art
for picture in check cross quest; do
  convert "$png/$picture.png" "$png/$picture@1.5x.png" "$png/$picture@2x.png" -strip \
    "$picture.ico"
done
