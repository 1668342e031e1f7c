#!/usr/bin/env bash
# Unpacks dist/korvane-win64.zip into an empty folder and runs it there under Wine, with the
# settings the tests use (their prefix and virtual screen): the command line makes a skin
# from the sample picture, and the desktop program starts, shows its window, and closes
# through its menu, leaving its settings file. Every failure says which step and why; every
# wait is for a condition, with a time limit.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
zip=$root/dist/korvane-win64.zip

fail() {
    echo "check-dist: FAILED: $*" >&2
    exit 1
}
# Anything else that stops the script names its line and command.
trap 'echo "check-dist: FAILED at line $LINENO: $BASH_COMMAND (status $?)" >&2' ERR

if [ ! -f "$zip" ]; then
    make -C "$root" dist >/dev/null || fail "could not build $zip (make dist)"
fi
if [ -z "${CHECK_DIST_INNER:-}" ]; then
    CHECK_DIST_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0"
fi
export KORVANE_WINE_TESTS=1
wine=("$root/scripts/run-under-wine.sh")

work=$(mktemp -d)
program=""
cleanup() {
    if [ -n "$program" ] && kill -0 "$program" 2>/dev/null; then
        kill "$program" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
unzip -q "$zip" -d "$work" || fail "$zip does not unpack"
cd "$work/korvane"

# The prefix is made (or found) before anything is timed.
"${wine[@]}" cmd /c exit >/dev/null 2>&1 || true

if ! "${wine[@]}" korvane-make.exe sample.bmp skin --template "templates\\Brushed Steel" \
    --wsz skin.wsz >"$work/make.log" 2>&1; then
    fail "korvane-make.exe exited with status $?: $(cat "$work/make.log")"
fi
for file in main.bmp cbuttons.bmp eqmain.bmp pledit.bmp pledit.txt viscolor.txt; do
    [ -s "skin/$file" ] || fail "korvane-make.exe wrote no skin/$file (folder: $(ls skin | tr '\n' ' '))"
done
unzip -tq skin.wsz >"$work/unzip.log" 2>&1 || fail "skin.wsz is not a sound archive: $(cat "$work/unzip.log")"
in_folder=$(ls skin | sort | tr '\n' ' ')
in_archive=$(unzip -Z1 skin.wsz | sort | tr '\n' ' ')
[ "$in_folder" = "$in_archive" ] ||
    fail "skin.wsz holds [$in_archive] but the folder holds [$in_folder]"

"${wine[@]}" korvane.exe >"$work/program.log" 2>&1 &
program=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Korvane$' 2>/dev/null | head -n 1) ||
    true
[ -n "$window" ] || fail "korvane.exe showed no window named Korvane within 60 s: $(cat "$work/program.log")"

# File > Exit through the menu's mnemonics, so the program ends as a user ends it. Keys sent
# while the window is still settling can be lost, so the keys are sent again (after Escape
# closes whatever menu is open) until the program has ended.
for attempt in 1 2 3 4 5 6; do
    timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --delay 100 Escape Escape alt+f x 2>/dev/null || true
    if timeout 5 tail --pid="$program" -f /dev/null; then
        break
    fi
    [ "$attempt" -lt 6 ] || fail "korvane.exe was still running 30 s after File > Exit"
done
status=0
wait "$program" || status=$?
program=""
[ "$status" -eq 0 ] || fail "korvane.exe ended with status $status: $(cat "$work/program.log")"
[ -f korvane.ini ] || fail "korvane.exe left no korvane.ini in its folder"
grep -q 'Winamp_dir' korvane.ini || fail "korvane.ini has no Winamp_dir: $(cat korvane.ini)"
echo "check-dist: the release runs from an empty folder"
