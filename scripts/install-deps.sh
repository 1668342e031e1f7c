#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Idempotent: packages already present are skipped, so a second run costs a
# dpkg query and nothing else. Uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    googletest libgtest-dev libbenchmark-dev
    clang libclang-rt-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
    zlib1g-dev libpng-dev libjpeg62-turbo-dev
    wine wine64
    xvfb xauth xdotool x11-utils
    python3 bc imagemagick python3-pil python-matplotlib-data
    zip unzip
    emscripten nodejs chromium
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

# npm comes with some builds of nodejs and as its own package with Debian's.
if ! command -v npm >/dev/null; then
    missing+=(npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# wine is a 32-bit capable package; i386 is not needed for the 64-bit build.
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
