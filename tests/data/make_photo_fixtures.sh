#!/usr/bin/env bash
# Makes the photo fixtures of the tests with ImageMagick. Run it again only to change them.
#
# - photo-*.png, photo-*.jpg: one 24 x 16 picture in each form PNG and JPEG files come in,
#   each with photo-*.rgb beside it: ImageMagick's reading over white, top row first, red,
#   green, blue.
# - orient-N.jpg, orient-N.png: a 32 x 20 grey picture with a red block at its top-left and a
#   blue one at its top-right, stored turned or mirrored so that EXIF orientation N (an APP1
#   block, an eXIf chunk) stands it upright.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -seed 7 -size 24x16 plasma:fractal -blur 0x1 "$work/src.ppm"
convert "$work/src.ppm" -alpha set -channel A -fx 'i/w' +channel "$work/alpha.png"

make() { # make NAME SOURCE ARGS... OUTPUT-PREFIX
    local name=$1 source=$2
    shift 2
    local args=("$@")
    local prefix=${args[-1]}
    unset 'args[-1]'
    convert "$source" "${args[@]}" "$prefix$name"
    convert "$name" -background white -flatten -colorspace sRGB -depth 8 "RGB:${name%.*}.rgb"
}
make photo-palette.png "$work/src.ppm" -colors 16 PNG8:
make photo-palette-trns.png "$work/alpha.png" -colors 16 PNG8:
make photo-grey2.png "$work/src.ppm" -colorspace Gray -define png:bit-depth=2 -define png:color-type=0 PNG:
make photo-grey-alpha.png "$work/alpha.png" -colorspace Gray -depth 8 -define png:color-type=4 PNG:
make photo-rgb.png "$work/src.ppm" PNG24:
make photo-rgba.png "$work/alpha.png" PNG32:
make photo-rgba16.png "$work/alpha.png" PNG64:
make photo-interlaced.png "$work/src.ppm" -interlace PNG PNG24:
make photo-baseline.jpg "$work/src.ppm" -quality 95 JPEG:
make photo-progressive.jpg "$work/src.ppm" -quality 95 -interlace JPEG JPEG:
make photo-grey.jpg "$work/src.ppm" -quality 95 -colorspace Gray JPEG:
make photo-cmyk.jpg "$work/src.ppm" -quality 95 -colorspace CMYK JPEG:

convert -size 32x20 xc:'#808080' -fill red -draw 'rectangle 0,0 7,5' \
    -fill blue -draw 'rectangle 28,0 31,3' "$work/upright.ppm"
undo=("" -flop "-rotate 180" -flip -transpose "-rotate 270" -transverse "-rotate 90")
for n in 1 2 3 4 5 6 7 8; do
    # shellcheck disable=SC2086
    convert "$work/upright.ppm" ${undo[n - 1]} -quality 95 "$work/stored.jpg"
    # A big-endian Exif block with the one Orientation entry, right after the start marker.
    /usr/bin/python3 - "$work/stored.jpg" "orient-$n.jpg" "$n" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
tiff = b"MM\0*" + struct.pack(">IHHHIHHI", 8, 1, 0x0112, 3, 1, int(sys.argv[3]), 0, 0)
body = b"Exif\0\0" + tiff
open(sys.argv[2], "wb").write(data[:2] + b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body + data[2:])
PY
    convert "orient-$n.jpg" -auto-orient "$work/shown.ppm"
    if ! compare -metric AE "$work/upright.ppm" "$work/shown.ppm" \
        -fuzz 10% null: 2>/dev/null; then
        echo "orient-$n.jpg does not stand upright in ImageMagick" >&2
        exit 1
    fi
    # The same as a PNG with an eXIf chunk after IHDR; Pillow, which reads it, checks it.
    convert "$work/stored.jpg" -define png:exclude-chunks=date,time PNG24:"$work/stored.png"
    /usr/bin/python3 - "$work/stored.png" "orient-$n.png" "$n" "$work/upright.ppm" <<'PY'
import struct, sys, zlib
from PIL import Image, ImageChops, ImageOps
data = open(sys.argv[1], "rb").read()
tiff = b"MM\0*" + struct.pack(">IHHHIHHI", 8, 1, 0x0112, 3, 1, int(sys.argv[3]), 0, 0)
chunk = struct.pack(">I", len(tiff)) + b"eXIf" + tiff + struct.pack(">I", zlib.crc32(b"eXIf" + tiff))
open(sys.argv[2], "wb").write(data[:33] + chunk + data[33:])
shown = ImageOps.exif_transpose(Image.open(sys.argv[2])).convert("RGB")
if shown.size != (32, 20) or max(e[1] for e in ImageChops.difference(shown, Image.open(sys.argv[4]).convert("RGB")).getextrema()) > 40:
    sys.exit(sys.argv[2] + " does not stand upright in Pillow")
PY
done

# photo-big.png: 2000 x 1000, grey with a red 40 x 40 block at its top-left; too big to open
# as it is.
convert -size 2000x1000 xc:'#808080' -fill red -draw 'rectangle 0,0 39,39' PNG24:photo-big.png
