#!/bin/bash
# Builds the 64-bit ParcelorMFC.EXE and starts it under wine64 (on $DISPLAY, or a fresh Xvfb when there is none).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPARCELOR_TESTS=OFF >/dev/null
cmake --build build/win64 --target ParcelorMFC
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting the program under a fresh Xvfb on :78 (invisible)."
    Xvfb :78 -screen 0 1024x768x24 >/dev/null 2>&1 & export DISPLAY=:78
fi
exec /usr/lib/wine/wine64 build/win64/app/ParcelorMFC.EXE
