#!/usr/bin/env bash
# The button pictures of the Windows program: the Qt view's PNGs as 32-bit icons (alpha kept),
# so both windows show the same artwork. Run after changing the PNGs.
set -euo pipefail
cd "$(dirname "$0")"
png=../../qt/art
for picture in check cross quest; do
  convert "$png/$picture.png" -strip "$picture.ico"
done
