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
head -c 3000 "$work/photo.bmp" >"$work/cut.bmp"
mkdir "$work/folder.bmp"

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
# Empty output names and control characters in text are usage errors, and write nothing.
for bad in "--wsz|" "--preview|" "--playlist-font|Arial"$'\r\n'"Normal=#FF0000" "--title|a"$'\t'"b"; do
    check "usage error: ${bad%%|*}" run 2 "$work/photo.bmp" "$work/o" "${bad%%|*}" "${bad#*|}"
done
check "control character named" said "korvane-make: --title holds a control character"
check "empty OUTDIR" run 2 "$work/photo.bmp" ""
check "no output for a usage error" test ! -e "$work/o"

# Refused pictures, with the program's own words.
check "8-bit refused" run 3 "$work/eight.bmp" "$work/o"
check "8-bit question" said "Do you want to open this image anyway?"
check "8-bit hint" said "pass --convert"
check "8-bit converted" run 0 "$work/eight.bmp" "$work/eight" --convert
check "converted skin" bmp_is "$work/eight/main.bmp" 275 116
# Each refusal: the program's own words, then the file and the cause on one line.
while IFS='|' read -r picture words cause; do
    check "$picture refused" run 3 "$work/$picture" "$work/o"
    check "$picture: $words" said "$words"
    check "$picture: $cause" said "korvane-make: $work/$picture: $cause"
done <<'CAUSES'
text.bmp|Something wrong when loading image...|not a BMP file
missing.bmp|Something wrong when loading image...|No such file or directory
folder.bmp|Something wrong when loading image...|a folder, not a file
cut.bmp|Something wrong when loading image...|truncated: header says 456054 bytes, file has 3000
wide.bmp|Maximum image size is 1600x1200 pixels.|1601 x 1200 is larger than 1600 x 1200
narrow.bmp|You need an image with 275x116 or more pixels.|274 x 116 is smaller than 275 x 116
CAUSES
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

# A template piece that cannot be used is named with its reason, and the built-in one used.
mkdir -p "$work/bad-template/eq_btn.bmp"
cp "$work/text.bmp" "$work/bad-template/button.bmp"
"$convert" -size 40x87 xc:gray -define bmp:subtype=RGB565 "$work/bad-template/option.bmp"
check "unusable pieces fall back" run 0 "$work/photo.bmp" "$work/fallback" --template "$work/bad-template"
check "pieces fall back to the built-in ones" cmp "$work/skin/cbuttons.bmp" "$work/fallback/cbuttons.bmp"
while IFS='|' read -r piece cause; do
    check "piece $piece: $cause" said "korvane-make: template piece $work/bad-template/$piece: $cause; the built-in piece is used"
done <<'CAUSES'
button.bmp|not a BMP file
eq_btn.bmp|a folder, not a file
option.bmp|16-bit; a piece is 4-, 8- or 24-bit
CAUSES
check "each piece told once" test "$(grep -c eq_btn.bmp "$work/err")" -eq 1

# Outputs never land on an input or on each other: refused with exit 2 before anything is
# written, whatever the spelling of the path.
mkdir -p "$work/alias/tpl" "$work/alias/d"
cp "$work/photo.bmp" "$work/alias/d/main.bmp"
cp "$root/templates/Brushed Steel/"* "$work/alias/tpl/"
ln "$work/photo.bmp" "$work/alias/hardlink.bmp"
a=$work/alias
while IFS='|' read -r case args; do
    before=$(cat "$work/photo.bmp" "$a/d/main.bmp" "$a/tpl/"* | md5sum)
    # shellcheck disable=SC2086
    check "alias: $case" run 2 $args
    check "alias: $case is named" said "would overwrite"
    check "alias: $case writes nothing" test "$before" = "$(cat "$work/photo.bmp" "$a/d/main.bmp" "$a/tpl/"* | md5sum)" -a ! -e "$a/out"
done <<CASES
picture in OUTDIR|$a/d/main.bmp $a/d
picture in OUTDIR spelled apart|$a/d/main.bmp $a/d/../d/.
--wsz is the picture|$work/photo.bmp $a/out --wsz $work/photo.bmp
--preview is the picture|$work/photo.bmp $a/out --preview $work/./photo.bmp
--wsz is a hard link to the picture|$work/photo.bmp $a/out --wsz $a/hardlink.bmp
OUTDIR is the template|$work/photo.bmp $a/tpl --template $a/tpl
CASES
check "preview over a skin file" run 2 "$work/photo.bmp" "$a/out" --preview "$a/out/main.bmp"
check "preview over a skin file is named" said "the preview $a/out/main.bmp is the same file as the skin file $a/out/main.bmp"
check "archive and preview one file" run 2 "$work/photo.bmp" "$a/out" --preview "$a/x" --wsz "$a/./x"
check "nothing made for outputs that meet" test ! -e "$a/out"

# A folder path too long for its file names is refused and leaves nothing behind.
long=$work/$(printf 'k%.0s' $(seq 250))
check "too long OUTDIR" run 4 "$work/photo.bmp" "$long/skin"
check "too long OUTDIR leaves nothing" test ! -e "$long"

# Files that cannot be written: exit 4, the file and the system's reason on one line, and
# nothing of the run is left (the whole run is one set).
touch "$work/plainfile"
check "unwritable folder" run 4 "$work/photo.bmp" "$work/plainfile/skin"
check "folder named with the cause" said "korvane-make: could not create $work/plainfile/skin: Not a directory"
check "unwritable archive" run 4 "$work/photo.bmp" "$work/ok2" --wsz "$work/nodir/skin.wsz"
check "archive named with the cause" said "korvane-make: could not write $work/nodir/skin.wsz: No such file or directory"
check "no skin folder left by a failed archive" test ! -e "$work/ok2"
check "unwritable preview" run 4 "$work/photo.bmp" "$work/ok3" --preview "$work/nodir/p.bmp"

# Links planted where a careless writer puts its temporaries are never followed.
echo victim >"$work/victim"
for name in skin.wsz.tmp .skin.wsz.tmp skin.wsz~ p.bmp.tmp links/main.bmp.tmp links/.main.bmp.tmp links/main.tmp; do
    mkdir -p "$(dirname "$work/$name")"
    ln -sf "$work/victim" "$work/$name"
done
check "planted links" run 0 "$work/photo.bmp" "$work/links" --wsz "$work/skin.wsz" --preview "$work/p.bmp"
check "planted links not followed" test "$(cat "$work/victim")" = victim

# A full disk (a 1.2 MB tmpfs, or a file-size limit when mounting is not allowed): the old
# skin stays byte for byte, no temporary is left, and the cause is named.
full=$work/full
mkdir "$full"
if [ -z "${NO_MOUNT:-}" ] && mount -t tmpfs -o size=1200k tmpfs "$full" 2>/dev/null; then
    trap 'umount "$full"; rm -rf "$work"' EXIT
    limit=unlimited
else
    limit=200 # blocks of 512 bytes: smaller than eqmain.bmp
fi
check "old skin on the small disk" run 0 "$work/photo.bmp" "$full/skin"
before=$(cd "$full/skin" && md5sum -- *)
(trap '' XFSZ; ulimit -f "$limit"; exec "$make" "$work/short.bmp" "$full/skin" --wsz "$full/skin.wsz" >/dev/null 2>"$work/err")
check "full disk exits 4" test $? -eq 4
check "full disk named with the cause" grep -Eq "could not write $full/skin/[a-z]+\.bmp: (No space left on device|File too large)" "$work/err"
check "full disk keeps the old skin" test "$before" = "$(cd "$full/skin" && md5sum -- *)"
check "full disk leaves no temporary" test "$(ls -A "$full" | tr '\n' ' ')" = "skin "

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
