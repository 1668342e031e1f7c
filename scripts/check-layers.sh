#!/usr/bin/env bash
# Every include points down the layers:
#
#   files < image < compose < output < project < cli, app, web
#
# files/ is the platform's file layer; project/ is the one flow the three faces share;
# controls/ is a widget library apart that knows nothing of the program; tools/, bench/ and
# tests/ stand beside the faces. compose/stages.h belongs to compose/ alone. Portable code
# (everything but app/, controls/ and *_win files) never includes <windows.h> and has no
# platform conditional. A source folder this script does not know fails it, so a new folder
# gets its place in the order before it gets code. Prints each break and fails if there is
# one.
set -euo pipefail
cd "$(dirname "$0")/.."

order=(files image compose output project)
# The folders each folder may include from (besides system and library headers).
declare -A allowed=(
    [controls]="controls"
    [cli]="${order[*]}"
    [web]="${order[*]}"
    [app]="${order[*]} app controls"
    [tools]="${order[*]}"
    [bench]="${order[*]}"
    [tests]="${order[*]} app controls tests"
)
for i in "${!order[@]}"; do
    allowed[${order[$i]}]="${order[*]:0:$((i + 1))}"
done

bad=0
say() {
    echo "$1" >&2
    bad=1
}

# Every folder of the tree that holds C or C++ sources must have a place above.
while read -r folder; do
    [[ -n "${allowed[$folder]+known}" ]] || say "$folder/: a source folder with no place in the layers"
done < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' '*.inc' | cut -d/ -f1 | grep -v '\.' | sort -u)

for folder in "${!allowed[@]}"; do
    [[ -d "$folder" ]] || continue
    while IFS=: read -r file line target; do
        ok=0
        for to in ${allowed[$folder]}; do
            [[ "$target" == "$to" ]] && ok=1
        done
        ((ok)) || say "$file:$line: $folder/ includes $target/"
    done < <(grep -rnoE '^#include "[a-z_]+/' --include='*.cpp' --include='*.h' "$folder" |
                 sed -E 's/#include "([a-z_]+)\/$/\1/')
done

# The stages Make Skin's recipe files share stay inside compose/ (tests may look in).
while IFS=: read -r file line _; do
    say "$file:$line: compose/stages.h is compose/'s own"
done < <(grep -rnE '^#include "compose/stages\.h"' --include='*.cpp' --include='*.h' \
             files image output project cli web app tools bench 2>/dev/null || true)

portable=(files image compose output project cli web tools)
# Win32 code lives in app/, controls/ and *_win files.
while IFS=: read -r file line _; do
    [[ "$file" == *_win.cpp || "$file" == *_win.h ]] || say "$file:$line: portable code includes <windows.h>"
done < <(grep -rnE '^#include <windows\.h>' --include='*.cpp' --include='*.h' "${portable[@]}" 2>/dev/null || true)
# One build per platform chooses files, never a conditional inside one.
while IFS=: read -r file line _; do
    [[ "$file" == *_win.cpp || "$file" == *_win.h ]] ||
        say "$file:$line: portable code asks which platform it is on"
done < <(grep -rnE '^\s*#\s*(if|ifdef|ifndef|elif).*(_WIN32|WIN32|__MINGW32__|_MSC_VER)' \
             --include='*.cpp' --include='*.h' "${portable[@]}" 2>/dev/null || true)
exit $bad
