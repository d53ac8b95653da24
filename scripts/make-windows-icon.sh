#!/bin/sh
# Renders resources/pellix.svg into the Windows icon resources/windows/pellix.ico
# (16 to 256 pixels). The icon is committed; run this after changing the SVG.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert (imagemagick).
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=""
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w $size -h $size resources/pellix.svg -o "$work/$size.png"
    pngs="$pngs $work/$size.png"
done
# shellcheck disable=SC2086
convert $pngs resources/windows/pellix.ico
echo "resources/windows/pellix.ico: $(wc -c < resources/windows/pellix.ico) bytes"
