#!/usr/bin/env bash
# Renders every template piece applied on white, black, mid-grey, a photo-like and a busy
# picture, as PNG files enlarged three times, to look at:
#   scripts/render-pieces.sh [OUTDIR] [TEMPLATE]
# Each picture also gets one contact sheet, OUTDIR/sheet-PICTURE.png, of all its pieces.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/out/pieces}
template=${2:-}
convert=/usr/bin/convert
tool=$root/build/native/render_pieces
[ -x "$tool" ] || make -C "$root" native >/dev/null
mkdir -p "$out/bmp"
"$convert" -size 400x400 xc:'#808080' -type TrueColor "BMP3:$out/grey.bmp"
"$convert" -size 400x400 xc:'#FFFFFF' -type TrueColor "BMP3:$out/white.bmp"
"$convert" -size 400x400 xc:'#000000' -type TrueColor "BMP3:$out/black.bmp"
# busy: coloured noise under hard stripes, the worst case for thin marks
"$convert" -size 400x400 xc: +noise Random \( -size 400x400 pattern:checkerboard -scale 300% \) \
    -compose Overlay -composite -crop 400x400+0+0 +repage -type TrueColor "BMP3:$out/busy.bmp"
"$convert" -size 400x400 plasma:fractal -seed 7 -blur 0x2 -type TrueColor "BMP3:$out/photo.bmp" 2>/dev/null ||
    "$convert" -size 400x400 gradient:'#3070c0-#e0a040' -type TrueColor "BMP3:$out/photo.bmp"
for picture in white black grey photo busy; do
    mkdir -p "$out/bmp/$picture"
    "$tool" "$out/$picture.bmp" "$out/bmp/$picture" $template
    for f in "$out/bmp/$picture"/*.bmp; do
        "$convert" "$f" -scale 300% "$out/$picture-$(basename "$f" .bmp).png"
    done
    "$convert" -background '#606060' "$out/bmp/$picture"/{main,titlebar,cbuttons,shufrep,monoster,eqmain,eq_ex,pledit,gen,genex,nums_ex}.bmp \
        -gravity NorthWest -splice 0x6 -append -scale 300% "$out/sheet-$picture.png"
done
echo "render-pieces: PNG files in $out"
