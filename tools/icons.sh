#!/usr/bin/env bash
# Makes the program's icon files from dist/icons/pidview.svg: the PNG sizes of
# the desktop's icon theme (dist/icons/pidview-SIZE.png) and the Windows icon
# with several sizes (dist/icons/pidview.ico). They are kept in the tree so
# that no build needs an SVG renderer (windres reads the .ico in the Windows
# and the Linux build alike); with --check, renders them afresh elsewhere and
# fails when a kept file no longer matches the SVG.
# Usage: tools/icons.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
theme_sizes=(16 32 48 64 128 256)
# What Explorer asks for: small, large, extra large and the 256 "jumbo" view.
ico_sizes=(16 32 48 256)

out=.
if [ "${1:-}" = --check ]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi
for size in "${theme_sizes[@]}"; do
  rsvg-convert -w "$size" -h "$size" pidview.svg -o "$out/pidview-$size.png"
done
# ImageMagick stores the 256 px image as PNG inside the .ico, the smaller
# ones as bitmaps, as Windows expects.
ico_images=()
for size in "${ico_sizes[@]}"; do ico_images+=("$out/pidview-$size.png"); done
convert "${ico_images[@]}" "$out/pidview.ico"
[ "$out" = . ] && exit 0

stale=0
files=(pidview.ico)
for size in "${theme_sizes[@]}"; do files+=("pidview-$size.png"); done
for file in "${files[@]}"; do
  # Pixels, not bytes: another zlib may pack the same image differently.
  cmp -s <(convert "$file" rgba:-) <(convert "$out/$file" rgba:-) || { echo "stale: dist/icons/$file"; stale=1; }
done
[ "$stale" = 0 ] || echo "the icon files differ from pidview.svg's rendering: run tools/icons.sh"
exit "$stale"
