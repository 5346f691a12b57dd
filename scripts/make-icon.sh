#!/usr/bin/env bash
# Renders app/icons/parvolin.svg into app/icons/parvolin.ico with eighteen
# images: 16, 32 and 48 pixels at 4, 8, 24 and 32 bits per pixel, and 33 pixels
# at 32 bits; then 20, 24, 40 and 64 pixels at 32 bits and 256 pixels as a PNG,
# so that Windows finds an image of the size it draws at 125 and 150 per cent
# (20 and 24 in the caption, 40 in Alt+Tab) and in Explorer's large views and
# the Apps list (64, 256) rather than scaling a smaller one up. And into the
# 16, 32, 48, 64, 128 and 256 pixel PNGs that the
# desktop's icon theme and the Linux window use (the large ones for HiDPI
# screens and task switchers). The results are committed, so a build needs none of these tools.
# Needs rsvg-convert (librsvg2-bin), convert (imagemagick) and icotool (icoutils).
set -euo pipefail
cd "$(dirname "$0")/.."
source=app/icons/parvolin.svg
target=app/icons/parvolin.ico
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

args=()
for size in 16 32 48; do
    rsvg-convert -w "$size" -h "$size" "$source" -o "$work/$size.png"
    cp "$work/$size.png" "app/icons/hicolor-$size.png"
    # The paletted depths need the picture reduced to their palette first;
    # one palette entry stays free for the transparent background.
    convert "$work/$size.png" -dither None -colors 15 "PNG8:$work/$size-4.png"
    convert "$work/$size.png" -dither None -colors 255 "PNG8:$work/$size-8.png"
    args+=(-b 4 "$work/$size-4.png" -b 8 "$work/$size-8.png" -b 24 "$work/$size.png" -b 32 "$work/$size.png")
done
rsvg-convert -w 33 -h 33 "$source" -o "$work/33.png"
args+=(-b 32 "$work/33.png")

for size in 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$source" -o "app/icons/hicolor-$size.png"
done
for size in 20 24 40; do
    rsvg-convert -w "$size" -h "$size" "$source" -o "$work/$size.png"
    args+=(-b 32 "$work/$size.png")
done
# Windows Vista and later read a 256 pixel image stored as PNG.
args+=(-b 32 app/icons/hicolor-64.png -r app/icons/hicolor-256.png)

icotool -c -o "$target" "${args[@]}"
icotool -l "$target"
