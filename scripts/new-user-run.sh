#!/usr/bin/env bash
# The new user's whole road through the desktop program (the NewUser test: open, drag,
# Continuous, Apply, Make Skin, colour, title, band order, Save into a Winamp folder), with
# a PNG screenshot of each step:  scripts/new-user-run.sh [OUTDIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-$root/out/new-user}")
mkdir -p "$out"
make -C "$root" win >/dev/null
KORVANE_WINE_TESTS=1 KORVANE_E2E_SHOTS="Z:${out//\//\\}" WINEDEBUG=-all \
    "$root/scripts/run-under-wine.sh" "$root/build/win/tests/korvane_win32_tests.exe" \
    --gtest_filter='NewUser.*'
for f in "$out"/*.bmp; do
    /usr/bin/convert "$f" "${f%.bmp}.png" && rm "$f"
done
echo "new-user-run: screenshots in $out"
