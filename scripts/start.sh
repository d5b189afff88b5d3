#!/bin/bash
# Builds ParcelorMFC.EXE and starts it under Wine: the 32-bit product where
# this kernel runs 32-bit code, the 64-bit twin elsewhere. On $DISPLAY when
# there is one; otherwise on a private Xvfb, with a screenshot of the window
# written to a file. Installs what it needs first. Leaves no Xvfb or
# wineserver behind once the program has ended.
set -eu
cd "$(dirname "$0")/.."
source scripts/setup.sh
need windows

if [ "$(run32)" = native ]; then
    arch=i686 build=build/win32 which="the 32-bit product"
else
    arch=x86_64 build=build/win64 which="the 64-bit twin (this kernel runs no 32-bit code)"
fi
windows_build $arch ParcelorMFC
exe=$build/app/ParcelorMFC.EXE

# A prefix of the program's own, so that ending its wineserver ends nothing else.
export WINEPREFIX=$PWD/build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
xvfb=
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -z "$xvfb" ] || kill $xvfb 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ]; then
    wine_prefix
    echo "Starting $which, $exe, on $DISPLAY."
    /usr/lib/wine/wine64 $exe || true
    exit 0
fi

start_xvfb "$work"
wine_prefix --xvfb
echo "No DISPLAY: starting $which, $exe, on a private Xvfb ($DISPLAY), where no one can see it."
/usr/lib/wine/wine64 $exe & app=$!
window=
for _ in $(seq 1 120); do
    window=$(xdotool search --onlyvisible --name '^The Parcelor$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 1
done
[ -n "$window" ] || { echo "The main window did not appear."; exit 1; }
sleep 1
screenshot=$PWD/build/start-screenshot.png
shoot "$window" "$screenshot"
echo "The window as it started: $screenshot"
echo "To use the program, run this command where there is a display (DISPLAY set), or copy"
echo "$exe to a Windows machine and run it there."
if [ -t 0 ]; then
    read -r -p "Press Enter to end the program. "
fi
kill $app 2>/dev/null || true
wait $app 2>/dev/null || true
echo "The program has ended."
