#!/usr/bin/env bash
# Unpacks dist/korvane-win64.zip into an empty folder and runs it there under Wine: the
# command line makes a skin from the sample picture, and the desktop program starts, shows
# its window with the shipped templates listed, and closes, leaving its settings file.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
zip=$root/dist/korvane-win64.zip
[ -f "$zip" ] || make -C "$root" dist >/dev/null
if [ -z "${CHECK_DIST_INNER:-}" ]; then
    CHECK_DIST_INNER=1 exec xvfb-run -a "$0"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
cd "$work/korvane"
wine=("$root/scripts/run-under-wine.sh")
"${wine[@]}" korvane-make.exe sample.bmp skin --template "templates\\Brushed Steel" --wsz skin.wsz
test "$(ls skin | wc -l)" -eq 15
unzip -tq skin.wsz >/dev/null
"${wine[@]}" korvane.exe &
program=$!
window=$(timeout 60 xdotool search --sync --name '^Korvane$' | head -n 1)
sleep 2
# File > Exit through the menu's mnemonics, so the program ends as a user ends it.
xdotool windowfocus "$window"
xdotool key alt+f
sleep 0.5
xdotool key x
timeout 30 tail --pid="$program" -f /dev/null
grep -q 'Winamp_dir' korvane.ini
echo "check-dist: the release runs from an empty folder"
