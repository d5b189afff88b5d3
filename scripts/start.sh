#!/bin/bash
# Builds the 64-bit ParcelorMFC.EXE and starts it under wine64 (on $DISPLAY, or a fresh Xvfb when there is none).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPARCELOR_TESTS=OFF >/dev/null
cmake --build build/win64 --target ParcelorMFC
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${DISPLAY:-}" ]; then
    display=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$display" >/dev/null 2>&1 &
    for _ in $(seq 1 50); do [ -s "$display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$display"); rm -f "$display"
    echo "No DISPLAY: starting the program under a fresh Xvfb on $DISPLAY (invisible)."
fi
exec /usr/lib/wine/wine64 build/win64/app/ParcelorMFC.EXE
