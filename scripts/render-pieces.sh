#!/usr/bin/env bash
# Renders every template piece applied on a neutral grey picture and on a colourful one,
# as PNG files enlarged three times, to look at: scripts/render-pieces.sh [OUTDIR] [TEMPLATE]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/out/pieces}
template=${2:-}
convert=/usr/bin/convert
tool=$root/build/native/tests/render_pieces
[ -x "$tool" ] || make -C "$root" native >/dev/null
mkdir -p "$out/bmp"
"$convert" -size 400x400 xc:'#808080' -type TrueColor "BMP3:$out/grey.bmp"
"$convert" -size 400x400 plasma:fractal -seed 7 -blur 0x2 -type TrueColor "BMP3:$out/photo.bmp" 2>/dev/null ||
    "$convert" -size 400x400 gradient:'#3070c0-#e0a040' -type TrueColor "BMP3:$out/photo.bmp"
for picture in grey photo; do
    mkdir -p "$out/bmp/$picture"
    "$tool" "$out/$picture.bmp" "$out/bmp/$picture" $template
    for f in "$out/bmp/$picture"/*.bmp; do
        "$convert" "$f" -scale 300% "$out/$picture-$(basename "$f" .bmp).png"
    done
done
echo "render-pieces: PNG files in $out"
