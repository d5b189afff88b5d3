#!/bin/bash
# Takes the README's screenshots of the 64-bit program under Xvfb: the main
# dialog as it opens, the folder picker, the About box and the message of a
# finished split. Run by hand after a Windows build (scripts/windows-tests.sh):
#
#   bash tests/wine/take-screenshots.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/../.."
if ! dpkg -s imagemagick xdotool xvfb >/dev/null 2>&1; then
    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y imagemagick xdotool xvfb
fi
build=${1:-build/win64}
wine=/usr/lib/wine/wine64
work=$(mktemp -d /tmp/parcelor-XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
Xvfb -displayfd 3 -screen 0 800x600x24 3>"$work/display" >/dev/null 2>&1 & xvfb=$!
for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
trap '/usr/lib/wine/wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w

# shoot WINDOW FILE: the window's rectangle cut from the screen.
shoot() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
# wait_for TITLE: the id of the newest visible window so titled.
wait_for() {
    for _ in $(seq 1 60); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1) && [ -n "$id" ] && { echo "$id"; return; }
        sleep 1
    done
    return 1
}

"$wine" "$build/app/ParcelorMFC.EXE" & app=$!
sleep 2; main=$(wait_for 'The Parcelor'); shoot "$main" docs/main-dialog.png
# The directory's Browse button by its access key, then a folder clicked.
xdotool windowfocus "$main"; sleep 0.5; xdotool key --window "$main" alt+r
picker=$(wait_for 'Browse for Folder'); sleep 1
eval "$(xdotool getwindowgeometry --shell "$picker")"
xdotool mousemove $((X + 95)) $((Y + 123)) click 1; sleep 1
shoot "$picker" docs/folder-picker.png
xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 22)) click 1; sleep 1 # Cancel
# The About button by its access key.
main=$(wait_for 'The Parcelor'); xdotool windowfocus "$main"; sleep 0.5; xdotool key --window "$main" alt+a
sleep 1; shoot "$(wait_for 'About The Parcelor')" docs/about-box.png
kill $app; wait $app 2>/dev/null || true

mkdir -p "$work/data" "$work/pieces"
head -c 3000000 /dev/urandom > "$work/data/big.zip"
"$wine" "$build/tests/wine/split_driver.exe" "$build/app/ParcelorMFC.EXE" \
    "Z:${work//\//\\}\\data\\big.zip" "Z:${work//\//\\}\\pieces" 6000 >/dev/null & driver=$!
sleep 3; shoot "$(wait_for 'The Parcelor')" docs/split-done.png
wait $driver
echo "docs/main-dialog.png docs/folder-picker.png docs/about-box.png docs/split-done.png"
