#!/bin/bash
# Splits real files through the real window of EXE, checks the message, the
# pieces and NAME.bat, then rebuilds each file with Wine's cmd and compares it
# byte for byte. Expects WINEPREFIX and DISPLAY to be set up (Xvfb running,
# Managed=N); prints one PASS/FAIL line per name, tagged with TAG. With
# --one, splits the first file only (for an emulated or a second run). With
# --japanese, Wine runs in code page 932 and one name with characters whose
# second byte is a backslash's goes through the window with the directory
# following the file; the prefix must hold the certutil stand-in, whose
# SHA-256 check must pass.
#
#   split-through-the-window.sh [--one | --japanese] EXE TAG
set -u
mode=${1:-}; case $mode in --one|--japanese) shift ;; *) mode= ;; esac
exe=$1 tag=$2
wine=/usr/lib/wine/wine64
driver=build/win64/tests/wine/split_driver.exe
# Names cross from the shell to Wine as UTF-8; Wine then holds ANSI code page
# 1252 and OEM 437, or in Japanese 932 for both.
export LC_ALL=C.UTF-8 codepage=cp1252
[ "$mode" = --japanese ] && export LC_ALL=ja_JP.UTF-8 codepage=cp932
failed=0
work=$(mktemp -d /tmp/parcelor-XXXXXX)  # no dot: it would end the stem of README
trap 'rm -rf "$work"' EXIT

# windows NAME: the Wine (Z:) spelling of a Linux path.
windows() { printf 'Z:%s' "${1//\//\\}"; }

# check_name FILE BASE FOLDER [PIECES]: PIECES is the Windows spelling of the
# piece directory (FOLDER/pieces by default), or "follow": the directory field
# must follow the file to its own folder, which then takes the pieces.
check_name() {
    local file=$1 base=$2 dir="$work/$3" pieces="$work/$3/pieces"
    local directory=${4:-$(windows "$pieces")\\} driving=
    if [ "${4:-}" = follow ]; then
        pieces="$dir/source" directory="$(windows "$dir/source")\\" driving=--follow
    fi
    mkdir -p "$dir/source" "$pieces"
    head -c 3000000 /dev/urandom > "$dir/source/$file"
    local message
    message=$("$wine" "$driver" $driving "$exe" \
        "$(windows "$dir/source/$file")" "$directory" 2>&1 | tr -d '\r' | iconv -f $codepage -t utf-8)
    local expected
    expected=$(printf 'The file was split successfully.\nTo recreate %s run the program %s.bat.' "$file" "$base")
    local why=""
    [ "$message" = "$expected" ] || why="message was: $message"
    for piece in 001 002 003; do
        [ -f "$pieces/$base.$piece" ] || why="$why; no piece $base.$piece"
    done
    [ -f "$pieces/$base.bat" ] || why="$why; no script"
    # The program's own SHA-256 (the processor's SHA instructions, in 32 or 64 bits) against sha256sum's.
    grep -q "^@rem SHA-256: $(sha256sum < "$dir/source/$file" | cut -d' ' -f1)"$'\r'"\$" "$pieces/$base.bat" ||
        why="$why; the script's SHA-256 is not the file's"
    if [ -z "$why" ]; then
        # The original steps aside: the script rebuilds the file beside the pieces.
        mv "$dir/source/$file" "$dir/original"
        cp "$pieces/$base.bat" "$pieces/rejoin.bat"
        (cd "$pieces" && printf '\r\n' | "$wine" cmd /c rejoin.bat > "$dir/cmd.txt" 2>&1)
        cmp -s "$dir/original" "$pieces/$file" || why="rebuilt file differs: $(tr -d '\r' < "$dir/cmd.txt")"
        [ ! -e "$pieces/parcelor.tmp" ] || why="$why; scratch file left"
        if [ "$mode" = --japanese ] && ! iconv -f $codepage -t utf-8 "$dir/cmd.txt" | grep -q "Its size and SHA-256, and those of every piece, match"; then
            why="$why; the SHA-256 was not checked: $(tr -d '\r' < "$dir/cmd.txt" | iconv -f $codepage -t utf-8)"
        fi
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

if [ "$mode" = --japanese ]; then
    # 表 is 95 5C and ソ 83 5C: the folder ends in a byte of a backslash's value.
    check_name "ソフト 表.zip" "ソフト 表" "表示 表" follow
    exit $failed
fi
check_name "big.zip" "big" 1
[ "$mode" = --one ] && exit $failed
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
