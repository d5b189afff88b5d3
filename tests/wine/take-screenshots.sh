#!/bin/bash
# Takes the README's screenshots of the 32-bit product under Xvfb, with
# Wine's own fonts, so that the frames look as Windows draws them: the main
# dialog as it opens, and the whole screen with it centred there, the folder
# picker, the About box, the message of a finished split, a file dropped on the
# dialog, the message for a name that code page 1252 cannot hold, and the icon
# at 48 and 256 pixels as Windows draws it from the resource. Run by hand after
# scripts/windows-tests.sh has built it:
#
#   bash tests/wine/take-screenshots.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/../.."
source scripts/setup.sh
need windows
build=${1:-build/win32}
wine=/usr/lib/wine/wine64
work=$(mktemp -d /tmp/parcelor-XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
XVFB_SCREEN=800x600x24 start_xvfb "$work"
trap '/usr/lib/wine/wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
wine_prefix --xvfb

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
import -window root docs/main-dialog-centred.png
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

# The drop and the name in the dialog tests' real dialog, which drops as
# Explorer does (a DROPFILES block), then the icon drawn from the test
# program's copy of the resources; each scene says when it is up.
mkdir "$work/scenes"
LC_ALL=C.UTF-8 PARCELOR_SCENES="Z:${work//\//\\}\\scenes" "$wine" "$build/tests/wine/wine_dialog_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='DISABLED_Screenshots.*' >/dev/null 2>&1 & scenes=$!
for scene in drop message icon48 icon256; do
    for _ in $(seq 1 60); do [ -f "$work/scenes/$scene" ] && break; sleep 0.5; done
    case $scene in drop) shoot "$(wait_for 'The Parcelor')" docs/drop-result.png ;;
                   message) shoot "$(wait_for 'The Parcelor')" docs/name-not-held.png ;;
                   icon*) shoot "$(wait_for "$scene")" docs/$scene.png ;; esac
done
wait $scenes
echo "docs/main-dialog.png docs/main-dialog-centred.png docs/folder-picker.png docs/about-box.png docs/split-done.png" \
     "docs/drop-result.png docs/name-not-held.png docs/icon48.png docs/icon256.png"
