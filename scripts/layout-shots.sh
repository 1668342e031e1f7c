#!/usr/bin/env bash
# Screenshots of the main window with a skin made and of every dialog, at 96, 120 and
# 144 DPI, as the layout test sees them:  scripts/layout-shots.sh [OUTDIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-$root/out/layout}")
mkdir -p "$out"
make -C "$root" win >/dev/null
KORVANE_WINE_TESTS=1 KORVANE_SHOTS="Z:${out//\//\\}" \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$root/scripts/run-under-wine.sh" "$root/build/win/tests/korvane_win32_tests.exe" \
    --gtest_filter='Layout.*'
for f in "$out"/*.bmp; do
    /usr/bin/convert "$f" "${f%.bmp}.png" && rm "$f"
done
echo "layout-shots: screenshots in $out"
