#!/usr/bin/env bash
# korvane-make end to end: what only the command line shows. Arguments, each kind of refusal
# with its exit code and its words on stderr, the files a run leaves, a full disk. What
# each option does, every refused value's words and every output that would land on an
# input are the unit tests' (project_test.cpp), like the files' own bytes.
#   tests/e2e/cli_test.sh path/to/korvane-make
set -u
make=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert=/usr/bin/convert
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
    "$make" "$@" </dev/null >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" -ne "$want" ]; then
        echo "korvane-make $* exited $got, not $want: $(cat "$work/err")" >&2
        return 1
    fi
}

said() { grep -qF -- "$1" "$work/err"; }
# table NAME: reads STATUS|ARGS|WORDS lines (ARGS in shell quoting) and checks each run
table() {
    while IFS='|' read -r status args words; do
        eval "set -- $args"
        check "$1: korvane-make ${*:2}" run "$status" "${@:2}"
        [ -z "$words" ] || check "$1: says $words" said "$words"
    done
}

"$convert" -size 400x380 plasma:fractal -seed 5 -type TrueColor "BMP3:$work/photo.bmp" 2>/dev/null
"$convert" -size 400x300 gradient:'#204080-#e0c040' -type TrueColor "BMP3:$work/short.bmp"
"$convert" -size 300x200 gradient:red-blue -type Palette -colors 64 "$work/eight.bmp"
"$convert" -size 274x116 xc:gray -type TrueColor "BMP3:$work/narrow.bmp"
"$convert" -size 2000x1500 gradient:navy-gold -quality 90 "$work/big.jpg"
printf 'not a picture' >"$work/text.bmp"
head -c 3000 "$work/photo.bmp" >"$work/cut.bmp"
p=$work/photo.bmp
o=$work/o

check "--help" run 0 --help
check "--help shows the usage" grep -q 'usage: korvane-make' "$work/out"
# Usage errors (2) and refused pictures (3): the words, and for a picture the program's own
# message then the file and the cause on one line (the causes themselves are the unit tests').
# None of them writes anything.
table <<EOF
2|usage "$p"|give one picture and one output folder
2|usage "$p" ""|the output folder needs a name, not an empty one
2|usage "$p" "$o" --bogus|unknown option --bogus
2|usage "$p" "$o" --scale|--scale needs a value
2|usage "$p" "$o" --scale 101|bad value for --scale: '101'
2|usage "$p" "$o" --main 0,0|--main, --equalizer and --playlist place bands in --mode free
2|usage "$p" "$o" --mode free --at 0,0|--mode free places each band with --main
2|usage "$p" "$o" --template "$work/none"|no template folder $work/none
2|usage "$p" "$o" --wsz ""|--wsz needs a file name, not an empty one
2|usage "$p" "$o" --at 126,0|--at 126,0 leaves the 400 x 380 picture: X can be 0 to 125 and Y 0 to 264
3|refused "$work/eight.bmp" "$o"|Do you want to open this image anyway?
3|refused "$work/eight.bmp" "$o"|pass --convert
3|refused "$work/cut.bmp" "$o"|korvane-make: $work/cut.bmp: truncated: header says 456054 bytes, file has 3000
3|refused "$work/cut.bmp" "$o"|Something wrong when loading image...
3|refused "$work/narrow.bmp" "$o"|korvane-make: $work/narrow.bmp: 274 x 116 is smaller than 275 x 116
0|converted "$work/eight.bmp" "$work/eight" --convert|
0|reduced "$work/big.jpg" "$work/big"|The picture was 2000 x 1500; Korvane reduced it to 1600 x 1200.
0|raised "$work/short.bmp" "$work/scaled" --scale 50|Program will adjust image to minimum skin size.
EOF
check "nothing written for a usage error or a refusal" test ! -e "$o"
check "a scale that fits says nothing" run 0 "$p" "$work/fits" --scale 80
check "no message at 80%" test ! -s "$work/err"

# The plain run, whose files the checks below read. Which files each option changes is the
# unit tests' (project_test.cpp).
head -c 2000000 /dev/zero >"$work/skin.wsz" # an old archive, longer than the new one
check "plain run" run 0 "$p" "$work/skin" --preview "$work/skin.bmp" --wsz "$work/skin.wsz"
check "colours" run 0 "$p" "$work/colours" --playlist-normal 12AB05 --playlist-current 010203 \
    --playlist-normal-bg A0B0C0 --playlist-selected-bg FFFFFE --playlist-font "Courier New"
# A suggested design prints what it chose on stdout, as options on one line; a colour pair
# that reads below 4.5:1 is told on stderr, never refused.
check "--auto" run 0 "$p" "$work/auto" --auto --text-color 333333
check "--auto prints its choices" grep -Eqx -- '--at [0-9]+,[0-9]+ --scale [0-9]+ --back-color [0-9A-F]{6}( --playlist-[a-z-]+ [0-9A-F]{6}){4}' "$work/out"
check "low contrast told" said "korvane-make: Low contrast: display text on back reads"
check "playlist colours in pledit.txt" cmp "$work/colours/pledit.txt" <(printf '[Text]\r\nNormal=#12AB05\r\nCurrent=#010203\r\nNormalBG=#A0B0C0\r\nSelectedBG=#FFFFFE\r\nFont=Courier New')
check "preview is a 275 x 348 BMP" test "$(identify -format '%m %w %h %z' "$work/skin.bmp")" = "BMP3 275 348 8"
# The archive: it tests clean, holds the folder's bytes, and every member is deflated at the
# root with the fixed date, in writing order.
check "archive unpacks clean" unzip -q "$work/skin.wsz" -d "$work/unzipped"
check "archive bytes equal the folder" diff -r "$work/unzipped" "$work/skin"
written="main.bmp titlebar.bmp cbuttons.bmp shufrep.bmp monoster.bmp posbar.bmp numbers.bmp
    nums_ex.bmp text.bmp playpaus.bmp volume.bmp balance.bmp viscolor.txt eqmain.bmp eq_ex.bmp
    pledit.bmp pledit.txt gen.bmp genex.bmp"
check "archive members" test "$(printf 'defN 26-Jan-01 00:00 %s ' $written)" = \
    "$(unzip -Zs "$work/skin.wsz" | awk '$8 ~ /^..:..$/ { printf "%s %s %s %s ", $6, $7, $8, $9 }')"
echo keep >"$work/skin/notes.txt"
check "re-made without balance.bmp" run 0 "$p" "$work/skin" --no-balance-file
check "other files and the old balance.bmp stay" test -e "$work/skin/balance.bmp" -a "$(cat "$work/skin/notes.txt")" = keep

# A template piece that cannot be used is named once with its reason, the built-in one used.
mkdir -p "$work/bad-template/eq_btn.bmp"
cp "$work/text.bmp" "$work/bad-template/button.bmp"
"$convert" -size 40x87 xc:gray -define bmp:subtype=RGB565 "$work/bad-template/option.bmp"
check "unusable pieces fall back" run 0 "$p" "$work/fallback" --template "$work/bad-template"
check "to the built-in pieces" cmp "$work/skin/cbuttons.bmp" "$work/fallback/cbuttons.bmp"
while IFS='|' read -r piece cause; do
    check "piece $piece: $cause" said "korvane-make: template piece $work/bad-template/$piece: $cause; the built-in piece is used"
    check "piece $piece told once" test "$(grep -c "$piece" "$work/err")" -eq 1
done <<'CAUSES'
button.bmp|not a BMP file
eq_btn.bmp|a folder, not a file
option.bmp|16-bit; a piece is 4-, 8- or 24-bit
CAUSES

# An output on an input or on another output: both kinds of words, exit 2, nothing written.
a=$work/alias
before=$(md5sum <"$p")
table <<EOF
2|preview-is-picture "$p" "$a/out" --preview "$work/./photo.bmp"|korvane-make: the preview $work/./photo.bmp would overwrite the picture $p
2|preview-over-skin-file "$p" "$a/out" --preview "$a/out/main.bmp"|korvane-make: the preview $a/out/main.bmp is the same file as the skin file $a/out/main.bmp
EOF
check "aliases write nothing" test "$before" = "$(md5sum <"$p")" -a ! -e "$a"

# Files that cannot be written: exit 4, the file and the system's reason on one line, and
# nothing of the run is left (the whole run is one set).
touch "$work/plainfile"
long=$work/$(printf 'k%.0s' $(seq 250))
table <<EOF
4|too-long "$p" "$long/skin"|
4|folder-under-a-file "$p" "$work/plainfile/skin"|korvane-make: could not create $work/plainfile/skin: Not a directory
4|preview "$p" "$work/ok3" --preview "$work/nodir/p.bmp"|korvane-make: could not write $work/nodir/p.bmp: No such file or directory
EOF
check "failed runs leave nothing" test ! -e "$long" -a ! -e "$work/ok3"

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
check "old skin on the small disk" run 0 "$p" "$full/skin"
before=$(cd "$full/skin" && md5sum -- *)
(trap '' XFSZ; ulimit -f "$limit"; exec "$make" "$work/short.bmp" "$full/skin" --wsz "$full/skin.wsz" >/dev/null 2>"$work/err")
check "full disk exits 4" test $? -eq 4
check "full disk named with the cause" grep -Eq "could not write $full/skin/[a-z]+\.bmp: (No space left on device|File too large)" "$work/err"
check "full disk keeps the old skin" test "$before" = "$(cd "$full/skin" && md5sum -- *)"
check "full disk leaves no temporary" test "$(ls -A "$full" | tr '\n' ' ')" = "skin "

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
