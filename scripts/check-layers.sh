#!/usr/bin/env bash
# Every include points down the layers: cli/, app/ and web/ use compose/ and output/, which
# use image/, which uses files/; controls/ is a widget library that knows nothing of the
# program; portable code never includes <windows.h>. Prints each include that breaks this
# and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# The folders each folder may include from (besides system and library headers).
declare -A allowed=(
    [files]="files"
    [image]="image files"
    [compose]="compose image files"
    [output]="output compose image files"
    [controls]="controls"
    [cli]="cli compose output image files"
    [web]="web compose output image files"
    [tools]="compose output image files"
    [app]="app controls compose output image files"
)

bad=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file line target; do
        [[ -n "$file" ]] || continue
        ok=0
        for to in ${allowed[$folder]}; do
            [[ "$target" == "$to" ]] && ok=1
        done
        if ((!ok)); then
            echo "$file:$line: $folder/ includes $target/" >&2
            bad=1
        fi
    done < <(grep -rnoE '^#include "[a-z_]+/' --include='*.cpp' --include='*.h' "$folder" \
                 | sed -E 's/#include "([a-z_]+)\/$/\1/')
done
# Portable code never includes <windows.h>: Win32 code lives in app/, controls/ and *_win files.
while IFS=: read -r file line _; do
    if [[ "$file" != *_win.cpp && "$file" != *_win.h ]]; then
        echo "$file:$line: portable code includes <windows.h>" >&2
        bad=1
    fi
done < <(grep -rnE '^#include <windows\.h>' --include='*.cpp' --include='*.h' files image compose output cli web)
exit $bad
