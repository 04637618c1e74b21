#!/usr/bin/env bash
# Draws the screensaver's icon (rippling water in a rounded square) with
# ImageMagick and writes quillmere.ico in 16, 32 and 48 pixel sizes.
# Usage: res/make_icon.sh  (run from anywhere; needs ImageMagick's convert)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drawn at 256 pixels and scaled down, so the small sizes stay smooth.
convert -size 256x256 xc:none \
    -fill '#1d5fa8' -draw 'roundrectangle 8,8 247,247 40,40' \
    -fill '#3f8fd8' -draw 'roundrectangle 24,24 231,231 28,28' \
    -fill none -stroke '#e8f4ff' -strokewidth 14 \
    -draw 'path "M 36,92 Q 68,56 100,92 T 164,92 T 220,92"' \
    -draw 'path "M 36,142 Q 68,106 100,142 T 164,142 T 220,142"' \
    -draw 'path "M 36,192 Q 68,156 100,192 T 164,192 T 220,192"' \
    "$work/master.png"
for size in 16 32 48; do
    convert "$work/master.png" -resize ${size}x${size} "$work/icon$size.png"
done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$here/quillmere.ico"
