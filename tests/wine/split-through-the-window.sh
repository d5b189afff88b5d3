#!/bin/bash
# Splits real files through the real window of EXE, checks the message, the
# pieces and NAME.bat, then rebuilds each file with Wine's cmd and compares it
# byte for byte. Expects WINEPREFIX and DISPLAY to be set up (Xvfb running,
# Managed=N); prints one PASS/FAIL line per name, tagged with TAG. With
# --one, splits the first file only (for an emulated or a second run).
#
#   split-through-the-window.sh [--one] EXE TAG
set -u
one=0; [ "$1" = --one ] && { one=1; shift; }
exe=$1 tag=$2
wine=/usr/lib/wine/wine64
driver=build/win64/tests/wine/split_driver.exe
# Names cross from the shell to Wine as UTF-8; Wine then holds ANSI code page 1252, OEM 437.
export LC_ALL=C.UTF-8
failed=0
work=$(mktemp -d /tmp/parcelor-XXXXXX)  # no dot: it would end the stem of README
trap 'rm -rf "$work"' EXIT

# windows NAME: the Wine (Z:) spelling of a Linux path.
windows() { printf 'Z:%s' "${1//\//\\}"; }

# check_name FILE BASE FOLDER [PIECES]: PIECES is the Windows spelling of the
# piece directory (FOLDER/pieces by default).
check_name() {
    local file=$1 base=$2 dir="$work/$3"
    mkdir -p "$dir/source" "$dir/pieces"
    head -c 3000000 /dev/urandom > "$dir/source/$file"
    local message
    message=$("$wine" "$driver" "$exe" \
        "$(windows "$dir/source/$file")" "${4:-$(windows "$dir/pieces")\\}" 2>&1 | tr -d '\r' | iconv -f cp1252 -t utf-8)
    local expected
    expected=$(printf 'The file was split successfully.\nTo recreate %s run the program %s.bat.' "$file" "$base")
    local why=""
    [ "$message" = "$expected" ] || why="message was: $message"
    for piece in 001 002 003; do
        [ -f "$dir/pieces/$base.$piece" ] || why="$why; no piece $base.$piece"
    done
    [ -f "$dir/pieces/$base.bat" ] || why="$why; no script"
    # The program's own SHA-256 (the processor's SHA instructions, in 32 or 64 bits) against sha256sum's.
    grep -q "^@rem SHA-256: $(sha256sum < "$dir/source/$file" | cut -d' ' -f1)"$'\r'"\$" "$dir/pieces/$base.bat" ||
        why="$why; the script's SHA-256 is not the file's"
    if [ -z "$why" ]; then
        cp "$dir/pieces/$base.bat" "$dir/pieces/rejoin.bat"
        (cd "$dir/pieces" && printf '\r\n' | "$wine" cmd /c rejoin.bat > "$dir/cmd.txt" 2>&1)
        cmp -s "$dir/source/$file" "$dir/pieces/$file" || why="rebuilt file differs: $(tr -d '\r' < "$dir/cmd.txt")"
        [ ! -e "$dir/pieces/parcelor.tmp" ] || why="$why; scratch file left"
    fi
    if [ -z "$why" ]; then
        echo "PASS: $tag: split through the window and rebuilt by cmd: $file"
    else
        echo "FAIL: $tag: split through the window and rebuilt by cmd: $file: $why"
        failed=1
    fi
}

# check_alive: a split long enough to take seconds, probed from outside while
# it runs (see split_driver --probe); its pieces must join to the file.
check_alive() {
    local dir="$work/alive" message why=""
    mkdir -p "$dir/source" "$dir/pieces"
    head -c 1400000000 /dev/urandom > "$dir/source/large.bin"
    message=$("$wine" "$driver" --probe "$exe" \
        "$(windows "$dir/source/large.bin")" "$(windows "$dir/pieces")\\" 2>"$dir/probe.txt" | tr -d '\r')
    case $message in "The file was split successfully."*) ;; *) why="message was: $message" ;; esac
    [ -z "$why" ] || why="$why; $(tr -d '\r' < "$dir/probe.txt")"
    if [ -z "$why" ]; then
        cat "$dir/pieces"/large.[0-9][0-9][0-9] | cmp -s - "$dir/source/large.bin" || why="pieces differ from the file"
    fi
    if [ -z "$why" ]; then
        echo "PASS: $tag: window answers during a long split: $(tr -d '\r' < "$dir/probe.txt")"
    else
        echo "FAIL: $tag: window answers during a long split: $why"
        failed=1
    fi
    rm -rf "$dir"
}

check_name "big.zip" "big" 1
[ $one = 1 ] && exit $failed
check_name "my holiday.avi" "my holiday" 2
check_name "A&B (1).doc" "A&B (1)" 3
check_name "100% sure.txt" "100% sure" 4
check_name "song (live) & more.mp3" "song (live) & more" 5
check_name "README" "README" 6
# Accented letters: the program's names are in the ANSI code page, the
# script must name them in the one cmd reads.
check_name "café crème.txt" "café crème" 8
# The root of a drive, as the folder picker gives it for a floppy.
mkdir -p "$work/7/pieces"
ln -sfn "$work/7/pieces" "$WINEPREFIX/dosdevices/p:"
check_name "floppy.img" "floppy" 7 'P:\'
rm -f "$WINEPREFIX/dosdevices/p:"
check_alive
exit $failed
