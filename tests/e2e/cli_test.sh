#!/usr/bin/env bash
# korvane-make end to end: every option, every refusal, the exit codes, and the files read
# back by independent readers (ImageMagick identify, Pillow, unzip).
#   tests/e2e/cli_test.sh path/to/korvane-make
set -u
make=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert=/usr/bin/convert
python=/usr/bin/python3
passed=0
failed=0

check() { # check NAME COMMAND...: passes when the command succeeds; a failure shows its output
    local name=$1
    shift
    if "$@" >"$work/check.log" 2>&1; then
        passed=$((passed + 1))
    else
        local status=$?
        failed=$((failed + 1))
        echo "FAIL: $name (status $status): $*" >&2
        sed 's/^/    /' "$work/check.log" >&2
    fi
}

# run EXPECTED_STATUS ARGS...: runs korvane-make, keeps its stderr in $work/err
run() {
    local want=$1
    shift
    "$make" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" -ne "$want" ]; then
        echo "korvane-make $* exited $got, not $want: $(cat "$work/err")" >&2
        return 1
    fi
}

said() { grep -qF -- "$1" "$work/err"; }

bmp_is() { # bmp_is FILE WIDTH HEIGHT: a 24-bit BMP of that size to ImageMagick
    [ "$(identify -format '%m %w %h %z' "$1")" = "BMP3 $2 $3 8" ] &&
        "$python" -c 'import sys; from PIL import Image; im = Image.open(sys.argv[1]); sys.exit(im.size != (int(sys.argv[2]), int(sys.argv[3])) or im.mode != "RGB")' "$1" "$2" "$3"
}

"$convert" -size 400x380 plasma:fractal -seed 5 -type TrueColor "BMP3:$work/photo.bmp" 2>/dev/null
"$convert" -size 400x300 gradient:'#204080-#e0c040' -type TrueColor "BMP3:$work/short.bmp"
"$convert" -size 300x200 gradient:red-blue -type Palette -colors 64 "$work/eight.bmp"
"$convert" -size 274x116 xc:gray -type TrueColor "BMP3:$work/narrow.bmp"
"$convert" -size 1601x1200 xc:gray -type TrueColor "BMP3:$work/wide.bmp"
printf 'not a picture' >"$work/text.bmp"

# Help and usage errors.
check "--help exits 0" run 0 --help
check "--help shows the usage" grep -q 'usage: korvane-make' "$work/out"
check "no arguments" run 2
check "one argument" run 2 "$work/photo.bmp"
check "unknown option" run 2 "$work/photo.bmp" "$work/o" --bogus
check "unknown option is named" said "unknown option --bogus"
check "value missing" run 2 "$work/photo.bmp" "$work/o" --scale
for bad in "--scale 101" "--scale -1" "--brightness 200" "--contrast x" "--mode tiles" \
    "--at 5" "--at -1,0" "--order main,main,playlist" "--order main,equalizer" \
    "--text-color 12345" "--back-color GG0000" "--title-align middle" "--title-color grey" \
    "--playlist-normal red"; do
    # shellcheck disable=SC2086
    check "bad value: $bad" run 2 "$work/photo.bmp" "$work/o" $bad
done
check "--main outside free mode" run 2 "$work/photo.bmp" "$work/o" --main 0,0
check "--at in free mode" run 2 "$work/photo.bmp" "$work/o" --mode free --at 0,0
check "missing template folder" run 2 "$work/photo.bmp" "$work/o" --template "$work/none"

# Refused pictures, with the program's own words.
check "unreadable picture" run 3 "$work/text.bmp" "$work/o"
check "unreadable says so" said "Something wrong when loading image..."
check "missing picture" run 3 "$work/missing.bmp" "$work/o"
check "8-bit refused" run 3 "$work/eight.bmp" "$work/o"
check "8-bit question" said "Do you want to open this image anyway?"
check "8-bit hint" said "pass --convert"
check "8-bit converted" run 0 "$work/eight.bmp" "$work/eight" --convert
check "converted skin" bmp_is "$work/eight/main.bmp" 275 116
check "too small" run 3 "$work/narrow.bmp" "$work/o"
check "too small says so" said "You need an image with 275x116 or more pixels."
check "too large" run 3 "$work/wide.bmp" "$work/o"
check "too large says so" said "Maximum image size is 1600x1200 pixels."
check "nothing written for a refused picture" test ! -e "$work/o"

# Photos: a big one is reduced with a notice, a cut one refused with the decoder's reason.
"$convert" -size 2000x1500 gradient:navy-gold -quality 90 "$work/big.jpg"
head -c 20000 "$work/big.jpg" >"$work/cut.jpg"
check "big photo made" run 0 "$work/big.jpg" "$work/photo-skin"
check "big photo reduced, and said" said "The picture was 2000 x 1500; Korvane reduced it to 1600 x 1200."
check "cut photo refused" run 3 "$work/cut.jpg" "$work/o"
check "cut photo says why" said "cut.jpg: damaged JPEG file: the file ends early"

# A plain run: every bitmap at its size and depth, and the two text files.
sizes='main.bmp 275 116
titlebar.bmp 344 87
cbuttons.bmp 136 36
shufrep.bmp 92 85
monoster.bmp 58 24
posbar.bmp 307 10
numbers.bmp 99 13
text.bmp 155 18
playpaus.bmp 42 9
volume.bmp 68 433
balance.bmp 68 433
eqmain.bmp 275 315
eq_ex.bmp 275 82
pledit.bmp 280 190'
files=$(($(wc -l <<<"$sizes") + 2))
check "default run" run 0 "$work/photo.bmp" "$work/skin"
check "$files files" test "$(ls "$work/skin" | wc -l)" -eq "$files"
while read -r name w h; do
    check "$name $w x $h" bmp_is "$work/skin/$name" "$w" "$h"
done <<<"$sizes"
check "viscolor.txt: 24 CR LF lines" test "$(grep -c $'\r$' "$work/skin/viscolor.txt")" -eq 24
check "viscolor.txt: peak dots in the text colour" test "$(sed -n 24p "$work/skin/viscolor.txt")" = $'255,255,255\r'
check "viscolor.txt: default gradient" test "$(sed -n 3p "$work/skin/viscolor.txt")" = $'55,55,55\r'
check "pledit.txt: defaults" cmp "$work/skin/pledit.txt" <(printf '[Text]\r\nNormal=#00FF00\r\nCurrent=#FFFFFF\r\nNormalBG=#000000\r\nSelectedBG=#0000C0\r\nFont=Arial')

# Re-making into the same folder replaces the set and leaves other files alone.
echo keep >"$work/skin/notes.txt"
check "second run" run 0 "$work/photo.bmp" "$work/skin" --no-balance-file
check "other files stay" test "$(cat "$work/skin/notes.txt")" = keep
check "old balance.bmp stays" test -e "$work/skin/balance.bmp"
check "fresh folder without balance.bmp" run 0 "$work/photo.bmp" "$work/nobal" --no-balance-file
check "one file fewer" test "$(ls "$work/nobal" | wc -l)" -eq $((files - 1))
check "no balance.bmp" test ! -e "$work/nobal/balance.bmp"

# Colours and playlist settings reach the text files.
check "colours" run 0 "$work/photo.bmp" "$work/colours" --text-color 12AB05 --back-color 000000 \
    --playlist-normal 12AB05 --playlist-current 010203 --playlist-normal-bg A0B0C0 \
    --playlist-selected-bg FFFFFE --playlist-font "Courier New"
check "text colour in viscolor.txt" test "$(sed -n 19p "$work/colours/viscolor.txt")" = $'18,171,5\r'
check "playlist colours in pledit.txt" cmp "$work/colours/pledit.txt" <(printf '[Text]\r\nNormal=#12AB05\r\nCurrent=#010203\r\nNormalBG=#A0B0C0\r\nSelectedBG=#FFFFFE\r\nFont=Courier New')

# Swap: the same skin with red and blue exchanged in every bitmap.
check "swap run" run 0 "$work/photo.bmp" "$work/swapped" --swap-rb
check "swapped main.bmp" "$python" -c '
import sys
from PIL import Image
a = Image.open(sys.argv[1]).convert("RGB"); b = Image.open(sys.argv[2]).convert("RGB")
sys.exit(any((r, g, bl) != (b2, g2, r2) for (r, g, bl), (r2, g2, b2) in zip(a.getdata(), b.getdata())))
' "$work/skin/main.bmp" "$work/swapped/main.bmp"
check "viscolor.txt not swapped" cmp "$work/skin/viscolor.txt" "$work/swapped/viscolor.txt"

# Positions: tile, free, continuous, and the limits they are held to.
check "tile at the far corner" run 0 "$work/photo.bmp" "$work/corner" --at 125,264
check "tile one past the corner" run 2 "$work/photo.bmp" "$work/o" --at 126,0
check "limit named" said "X can be 0 to 125 and Y 0 to 264"
check "free bands" run 0 "$work/photo.bmp" "$work/free" --mode free --main 0,0 --equalizer 50,100 --playlist 125,264
check "free band past the bottom" run 2 "$work/photo.bmp" "$work/o" --mode free --playlist 0,265
check "free limit names the band" said "--playlist 0,265"
check "continuous" run 0 "$work/photo.bmp" "$work/cont" --mode continuous --at 10,32 --order playlist,main,equalizer --preview "$work/cont.bmp"
check "continuous preview is 275 x 348" bmp_is "$work/cont.bmp" 275 348
check "continuous frame past the bottom" run 2 "$work/photo.bmp" "$work/o" --mode continuous --at 0,33
check "continuous needs 348 rows" run 2 "$work/short.bmp" "$work/o" --mode continuous
check "continuous refusal text" said "Can not use Continuous Mode!"
check "tile on the short picture" run 0 "$work/short.bmp" "$work/short"

# Adjustments.
check "scale raised" run 0 "$work/short.bmp" "$work/scaled" --scale 50 --brightness -20 --contrast 30
check "scale raise is told" said "Program will adjust image to minimum skin size."
check "scale that fits says nothing" run 0 "$work/photo.bmp" "$work/fits" --scale 80
check "no message at 80%" test ! -s "$work/err"

# Template folder, title, options, archive.
check "template" run 0 "$work/photo.bmp" "$work/steel" --template "$root/templates/Brushed Steel"
check "template changes the buttons" bash -c "! cmp -s '$work/skin/cbuttons.bmp' '$work/steel/cbuttons.bmp'"
check "title options" run 0 "$work/photo.bmp" "$work/title" --title "Hello #1" --title-align right --title-color soft --show-vis --hide-balance
check "title changes main.bmp" bash -c "! cmp -s '$work/skin/main.bmp' '$work/title/main.bmp'"
check "empty title" run 0 "$work/photo.bmp" "$work/notitle" --title ""
check "archive" run 0 "$work/photo.bmp" "$work/arc" --wsz "$work/skin.wsz"
check "archive tests clean" unzip -tq "$work/skin.wsz"
check "archive holds the set at its root" test "$(unzip -Z1 "$work/skin.wsz" | tr '\n' ' ')" = \
    "main.bmp titlebar.bmp cbuttons.bmp shufrep.bmp monoster.bmp posbar.bmp numbers.bmp text.bmp playpaus.bmp volume.bmp balance.bmp viscolor.txt eqmain.bmp eq_ex.bmp pledit.bmp pledit.txt "
mkdir -p "$work/unzipped"
unzip -q "$work/skin.wsz" -d "$work/unzipped"
check "archive bytes equal the folder" diff -r "$work/unzipped" "$work/arc"

# Files that cannot be written: exit 4, each named.
touch "$work/plainfile"
check "unwritable folder" run 4 "$work/photo.bmp" "$work/plainfile/skin"
check "each file named" said "main.bmp"
check "unwritable archive" run 4 "$work/photo.bmp" "$work/ok2" --wsz "$work/nodir/skin.wsz"
check "unwritable preview" run 4 "$work/photo.bmp" "$work/ok3" --preview "$work/nodir/p.bmp"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
