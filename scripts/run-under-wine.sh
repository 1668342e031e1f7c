#!/usr/bin/env bash
# Runs a Windows program of ours under Wine with the project's private prefix, no Mono or
# Gecko prompts and no debug chatter. Without an X display it starts a virtual one, since
# Wine needs a display to create windows.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Tests get a prefix of their own whose windows the X server does not hand to a window
# manager: under Xvfb there is none, and Wine would wait for it at every window it closes.
if [ -n "${KORVANE_WINE_TESTS:-}" ]; then
    export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix-tests}"
else
    export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
fi
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$0" "$@"
fi
if [ ! -f "$WINEPREFIX/.korvane-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # A crashing program must end, not wait in the debugger: tests and CI would hang.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /f >/dev/null 2>&1 || true
    if [ -n "${KORVANE_WINE_TESTS:-}" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        # 96 DPI whatever the host says; the layout tests change it for their own runs.
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f \
            >/dev/null 2>&1 || true
    fi
    wineserver -w || true
    touch "$WINEPREFIX/.korvane-ready"
fi
exec wine "$@"
