#!/usr/bin/env bash
# korvane-make end to end beside the nearest plain tools, mean wall time of N runs each:
#  - the skin folder from a 1600 x 1200 BMP (scale 50, brightness 20, contrast 20) beside
#    `cp` of the picture and beside ImageMagick doing only the resize, brightness and contrast;
#  - the same with the .wsz archive too;
#  - the floor under both: only writing the folder's files the safe way (bench/write_floor.c);
#  - a 4000 x 3000 JPEG photo (decoded, reduced to 1600 x 1200, made into a skin) beside
#    ImageMagick only reducing it: `convert photo.jpg -resize 1600x1200 out.bmp`.
# Each line gives the wall time and, beside it, the CPU time.
#   bench/cli-vs-imagemagick.sh [N]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-20}
make=$root/build/native/korvane-make
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$make" ] || make -C "$root" native >/dev/null

"$convert" -size 1600x1200 plasma:fractal -seed 3 -type TrueColor "BMP3:$work/photo.bmp" 2>/dev/null
"$convert" -seed 3 -size 400x300 plasma:fractal -resize '4000x3000!' -attenuate 0.4 \
    +noise Uniform -quality 90 "$work/photo.jpg" 2>/dev/null

# mean_ms COMMAND...: the mean wall milliseconds over $runs runs (in microseconds, as the
# other figures), and in $cpu the mean CPU time (user + system, children included): on a
# busy machine the wall time says more about the neighbours than about the command.
cpu=0
mean_ms() {
    "$@" >/dev/null 2>&1 # warm the page cache and the binary
    local TIMEFORMAT='%R %U %S' times
    times=$( { time (for _ in $(seq "$runs"); do "$@" >/dev/null 2>&1; done) ; } 2>&1 )
    read -r real user sys <<<"$times"
    cpu=$(echo "($user + $sys) * 1000000 / $runs" | bc)
    echo "$(echo "$real * 1000000 / $runs" | bc) $cpu"
}

row() { # row LABEL "WALL CPU" (microseconds)
    set -- "$1" $2
    printf '%-44s %8.2f ms  (CPU %.2f ms)\n' "$1" "$(echo "$2 / 1000" | bc -l)" \
        "$(echo "$3 / 1000" | bc -l)"
}
ratio() { # ratio LABEL "WALL CPU" "WALL CPU" GOAL: the wall-time ratio, the CPU one beside it
    set -- "$1" $2 $3 "$4"
    printf '%-44s %8.2fx   (goal %s; CPU %.2fx)\n' "$1" "$(echo "$2 / $4" | bc -l)" "$6" \
        "$(echo "$3 / $5" | bc -l)"
}

adjust=(--scale 50 --brightness 20 --contrast 20)
folder=$(mean_ms "$make" "$work/photo.bmp" "$work/skin" "${adjust[@]}")
archive=$(mean_ms "$make" "$work/photo.bmp" "$work/skin" "${adjust[@]}" --wsz "$work/skin.wsz")
copy=$(mean_ms cp "$work/photo.bmp" "$work/copy.bmp")
magick=$(mean_ms "$convert" "$work/photo.bmp" -resize 50% -brightness-contrast 20x20 \
    "BMP3:$work/im.bmp")
# The file system's part alone: the made folder's files written again the same safe way.
cc -O2 -o "$work/write_floor" "$root/bench/write_floor.c"
mkdir -p "$work/floor"
floor=$(mean_ms "$work/write_floor" "$work/skin" "$work/floor")
photo=$(mean_ms "$make" "$work/photo.jpg" "$work/skin-photo")
reduce=$(mean_ms "$convert" "$work/photo.jpg" -resize 1600x1200 "$work/out.bmp")

echo "1600 x 1200 BMP, scale 50, brightness 20, contrast 20:"
row "  korvane-make, skin folder" "$folder"
row "  korvane-make, skin folder and .wsz" "$archive"
row "  cp of the picture" "$copy"
row "  ImageMagick, resize+brightness-contrast" "$magick"
row "  writing those 16 files safely, nothing else" "$floor"
ratio "  folder / cp" "$folder" "$copy" "<= 1.5"
ratio "  ImageMagick / folder" "$magick" "$folder" ">= 10"
ratio "  folder and .wsz / cp" "$archive" "$copy" "<= 2.5"
ratio "  ImageMagick / folder and .wsz" "$magick" "$archive" ">= 8"
echo "4000 x 3000 JPEG:"
row "  korvane-make, reduced and made into a skin" "$photo"
row "  ImageMagick, -resize 1600x1200 to BMP" "$reduce"
ratio "  ImageMagick / korvane-make" "$reduce" "$photo" ">= 4"

# The Windows build's decoder under Wine, when there is one: one run, Wine's start included.
exe=$root/build/win/korvane-make.exe
if [ -x "$exe" ] && command -v wine >/dev/null; then
    "$root/scripts/run-under-wine.sh" "$exe" "Z:$work/photo.jpg" "Z:$work/skin-wine" \
        >/dev/null 2>&1 || true
    start=$(date +%s%N)
    "$root/scripts/run-under-wine.sh" "$exe" "Z:$work/photo.jpg" "Z:$work/skin-wine" \
        >/dev/null 2>&1 || true
    end=$(date +%s%N)
    row "  korvane-make.exe under Wine (with Wine's start)" "$(((end - start) / 1000)) 0"
    start=$(date +%s%N)
    "$root/scripts/run-under-wine.sh" "$exe" --help >/dev/null 2>&1 || true
    end=$(date +%s%N)
    row "  korvane-make.exe --help under Wine (the start alone)" "$(((end - start) / 1000)) 0"
fi
