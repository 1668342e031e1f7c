#!/usr/bin/env bash
# korvane-make end to end on a 1600 x 1200 picture (read, scale, brightness, contrast, make
# the skin, write the folder) beside ImageMagick doing only the equivalent resize,
# brightness and contrast on the same picture. Mean wall time of N runs each.
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

mean_ms() { # mean_ms COMMAND...: mean wall milliseconds over $runs runs
    local start end
    "$@" >/dev/null 2>&1 # warm the page cache and the binary
    start=$(date +%s%N)
    for _ in $(seq "$runs"); do
        "$@" >/dev/null 2>&1
    done
    end=$(date +%s%N)
    echo $(((end - start) / runs / 1000))
}

ours=$(mean_ms "$make" "$work/photo.bmp" "$work/skin" --scale 50 --brightness 20 --contrast 30)
theirs=$(mean_ms "$convert" "$work/photo.bmp" -resize 50% -brightness-contrast 16x23 \
    "BMP3:$work/im.bmp")
printf 'korvane-make, whole skin:            %6.2f ms\n' "$(echo "$ours / 1000" | bc -l)"
printf 'ImageMagick, resize+bright+contrast: %6.2f ms\n' "$(echo "$theirs / 1000" | bc -l)"
printf 'ratio:                               %6.1fx\n' "$(echo "$theirs / $ours" | bc -l)"
