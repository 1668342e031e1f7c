#!/usr/bin/env bash
# Runs korvane.exe under Wine on a virtual display, opens a picture through the real Open
# dialog, presses Make Skin!, and saves PNG screenshots of both states:
#   scripts/screenshot.sh [PICTURE.bmp] [OUTDIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
picture=$(realpath "${1:-$root/resources/sample.bmp}")
out=$(realpath -m "${2:-$root/out/screenshots}")
mkdir -p "$out"
[ -f "$root/bin/korvane.exe" ] || make -C "$root" build >/dev/null

if [ -z "${SCREENSHOT_INNER:-}" ]; then
    SCREENSHOT_INNER=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$picture" "$out"
fi

work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$root/templates" "$work/"
cd "$work"
"$root/scripts/run-under-wine.sh" "$root/bin/korvane.exe" &
window=$(xdotool search --sync --name '^Korvane$' | head -n 1)
sleep 2
shot() { import -window root "$out/root-$1"; import -window "$window" "$out/$1"; }

shot 01-start.png
# File > Open Bitmap...: the menu through its mnemonics, the path typed into the dialog.
xdotool key --window "$window" alt+f
sleep 0.5
xdotool key o
dialog=$(xdotool search --sync --name '^Open Bitmap File$' | head -n 1)
sleep 1
# The working folder is on drive Z: (the Unix root), so the path needs no drive letter.
xdotool key --window "$dialog" ctrl+a BackSpace
xdotool type --window "$dialog" "${picture//\//\\}"
xdotool key --window "$dialog" Return
sleep 2
shot 02-picture.png
# Project > Make Skin!, which is what the panel's button does too.
xdotool key --window "$window" alt+p
sleep 0.5
xdotool key m
sleep 2
shot 03-skin.png
xdotool key --window "$window" alt+f
sleep 0.3
xdotool key x
wait || true
echo "screenshot: PNG files in $out"
