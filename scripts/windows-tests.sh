#!/bin/bash
# Builds the Windows program, the i686 product and its x86_64 twin, with their
# test programs, and checks both images. Then, under Wine and a private Xvfb,
# runs against each build: the in-process tests of the real dialogs and of both
# EXEs' resources, the main dialog appearing when the EXE starts, and real files
# split through its window and rebuilt by cmd. The product is also run with the
# prefix set to Windows XP, in Japanese, and its dialogs laid out at 144 DPI. Where this
# kernel runs no 32-bit code, the product runs under qemu: the start-up check
# and one split only.
set -u
cd "$(dirname "$0")/.." || exit 1
source scripts/setup.sh
need windows package || exit 1
run32=$(run32)
# Where 32-bit Wine could not be installed (setup.sh says why), the 64-bit twin stands in for the product.
dpkg -s wine32:i386 >/dev/null 2>&1 || run32=absent
failed=0; passed=0
pass() { passed=$((passed+1)); echo "PASS: $*"; }
fail() { failed=$((failed+1)); echo "FAIL: $*"; }
# check WHAT COMMAND...: passes when COMMAND does; shows its output when it does not.
check() {
    local what=$1 out; shift
    if out=$("$@" 2>&1); then pass "$what"; else fail "$what"; [ -z "$out" ] || echo "$out" | sed 's/^/    /'; fi
}
# tally: counts the PASS and FAIL lines of a test script.
tally() {
    while IFS= read -r line; do
        echo "$line"
        case $line in PASS:*) passed=$((passed+1)) ;; FAIL:*) failed=$((failed+1)) ;; esac
    done
}

for arch in i686 x86_64; do
    windows_build $arch ParcelorMFC split_driver wine_dialog_tests sha256_tests || { echo "FAIL: build for $arch"; exit 1; }
done
# The shipped builds assert nothing; a debug build of the dialog tests checks the assertions too.
cmake -S . -B build/win64-debug -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
    cmake --build build/win64-debug --target wine_dialog_tests || { echo "FAIL: debug build"; exit 1; }

# Each image: its format, no MinGW runtime DLL, the Windows its header names, nothing imported that this Windows lacks.
for image in i686:win32:pei-i386:5.1 x86_64:win64:pei-x86-64:5.2; do
    IFS=: read -r tc name format version <<< "$image"
    exe=build/$name/app/ParcelorMFC.EXE
    headers=$($tc-w64-mingw32-objdump -p $exe)
    check "$name: $format image" grep -q "file format $format" <<< "$($tc-w64-mingw32-objdump -f $exe)"
    check "$name: no MinGW runtime DLL" test -z "$(grep -iE 'DLL Name: (libgcc|libstdc|libwinpthread)' <<< "$headers")"
    got=$(awk '/^Major(OSystem|Subsystem)Version/ {major[$1] = $2} /^Minor(OSystem|Subsystem)Version/ {minor[$1] = $2}
        END {print major["MajorOSystemVersion"] "." minor["MinorOSystemVersion"], major["MajorSubsystemVersion"] "." minor["MinorSubsystemVersion"]}' <<< "$headers")
    check "$name: header names Windows $version (system and subsystem)" test "$got" = "$version $version"
    check "$name: imports nothing newer than Windows $version" bash tests/wine/check-imports.sh $exe $tc
done

# The download: the tested EXEs byte for byte, the README in CR LF, the sums of the other three.
check "dist/Parcelor-1.0.0-windows.zip as described" bash -c '
    bash scripts/package.sh >/dev/null && d=$(mktemp -d) && unzip -q dist/Parcelor-1.0.0-windows.zip -d $d &&
    [ "$(cd $d && find . -type f | LC_ALL=C sort | tr "\n" " ")" = "./ParcelorMFC.EXE ./README.txt ./SHA256SUMS.txt ./x64/ParcelorMFC.EXE " ] &&
    cmp $d/ParcelorMFC.EXE build/win32/app/ParcelorMFC.EXE && cmp $d/x64/ParcelorMFC.EXE build/win64/app/ParcelorMFC.EXE &&
    [ $(wc -l < $d/SHA256SUMS.txt) = 3 ] && (cd $d && sha256sum --quiet -c SHA256SUMS.txt) && ! grep -qv "$(printf "\r")\$" $d/README.txt
    status=$?; rm -rf $d; exit $status'

# A throw-away prefix and a display of our own, so that parallel runs cannot meet.
prefix=$(mktemp -d); export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_xvfb "$prefix"
wine_prefix --xvfb
wine=/usr/lib/wine/wine64
# reg SETTINGS...: one change to the prefix's registry, in force before the next program starts.
reg() { $wine reg add "$@" /f >/dev/null 2>&1; /usr/lib/wine/wineserver -w; }
windows() { printf 'Z:%s' "$(realpath "$1" | sed 's#/#\\#g')"; }
both_exes="$(windows build/win32/app/ParcelorMFC.EXE);$(windows build/win64/app/ParcelorMFC.EXE)"

# dialog_tests BUILD TAG [FILTER]: the real dialogs driven from inside their modal loops; the resources read back from both EXEs.
dialog_tests() {
    local log=$prefix/dialog-tests.txt
    # Western (code page 1252), whatever the caller's locale: the tests of names depend on it.
    LC_ALL=C.UTF-8 PARCELOR_EXE=$both_exes timeout 900 $wine build/$1/tests/wine/wine_dialog_tests.exe ${3:+--gtest_filter=$3} > "$log" 2>&1
    tr -d '\r' < "$log" | grep -vE '^\[ +(RUN|OK) +\]|^wine: Read access denied' | sed "s/^/$2: /"
    passed=$((passed + $(tr -d '\r' < "$log" | grep -cE '^\[ +OK \]')))
    failed=$((failed + $(tr -d '\r' < "$log" | grep -cE '^\[  FAILED  \] .*\(')))
    grep -q '^\[  PASSED  \]' "$log" || fail "$2: dialog tests did not finish"
}

# starts EXE TAG [RUNNER]: the program started as a user starts it (through RUNNER); its main dialog must appear.
starts() {
    ${3:-} $wine "$1" & local app=$! found=1
    for _ in $(seq 1 300); do xdotool search --name '^The Parcelor$' >/dev/null 2>&1 && { found=0; break; }; sleep 1; done
    if [ $found = 0 ]; then pass "$2: main dialog appears under Wine"; else fail "$2: main dialog appears under Wine"; fi
    kill $app 2>/dev/null; wait $app 2>/dev/null
    /usr/lib/wine/wineserver -k 2>/dev/null; /usr/lib/wine/wineserver -w
}

# sha256_tests BUILD: every SHA-256 engine this processor has, as the build compiles it, against the portable code
# (qemu, where it runs the 32-bit build, has none but the portable code: the 64-bit build is tested there).
sha256_tests() {
    local log=$prefix/sha256-tests.txt
    $through $wine build/$1/tests/wine/sha256_tests.exe > "$log" 2>&1
    passed=$((passed + $(tr -d '\r' < "$log" | grep -cE '^\[ +OK \]')))
    failed=$((failed + $(tr -d '\r' < "$log" | grep -cE '^\[  FAILED  \] .*\(')))
    tr -d '\r' < "$log" | grep -E '^\[  FAILED  \]|Failure' | sed "s/^/$1 SHA-256: /"
    grep -q '^\[  PASSED  \]' "$log" || fail "$1: SHA-256 tests did not finish"
}

product=build/win32/app/ParcelorMFC.EXE
if [ $run32 = absent ]; then
    echo "32-bit: absent (wine32:i386 is not installed: the 32-bit EXE runs under Wine nowhere here; the 64-bit twin stands in)"
    through=
    product=build/win64/app/ParcelorMFC.EXE
    sha256_tests win64
    dialog_tests win64 win64
    starts $product win64
    tally < <(bash tests/wine/split-through-the-window.sh $product win64)
elif [ $run32 = native ]; then
    echo "32-bit: native (this kernel runs 32-bit code; Wine's 32-bit loader runs the product)"
    through=
    for build in win32 win64; do
        sha256_tests $build
        dialog_tests $build $build
        starts build/$build/app/ParcelorMFC.EXE $build
        tally < <(bash tests/wine/split-through-the-window.sh build/$build/app/ParcelorMFC.EXE $build)
    done
else
    echo "32-bit: emulated (this kernel runs no 32-bit code; qemu-i386 runs Wine's 32-bit loader, about a minute a start)"
    through=
    sha256_tests win64
    through="bash tests/wine/emulate-32bit.sh"
    dialog_tests win64 win64
    starts build/win64/app/ParcelorMFC.EXE win64
    tally < <(bash tests/wine/split-through-the-window.sh build/win64/app/ParcelorMFC.EXE win64)
    starts $product win32 "$through"
    tally < <($through bash tests/wine/split-through-the-window.sh --one $product win32)
fi

# The product on Windows XP: a version check of ours or of the runtime would show here.
reg 'HKCU\Software\Wine' /v Version /d winxp
echo "the prefix now says: $($wine cmd /c ver 2>/dev/null | tr -d '\r' | grep -o 'Windows [0-9.]*')"
tally < <($through bash tests/wine/split-through-the-window.sh --one $product "$(basename "$(dirname "$(dirname $product)")") on Windows XP")
# Both EXEs' icon images read back and loaded with XP's version set.
if [ $run32 = native ]; then dialog_tests win32 "win32 on Windows XP" 'Built/ProgramResources.Icon*'
else dialog_tests win64 "win64 on Windows XP" 'Built/ProgramResources.Icon*'; fi
$wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1; /usr/lib/wine/wineserver -w

# The product in Japanese (ANSI and OEM code page 932), in a prefix of its own
# whose certutil is our stand-in: a name whose characters end in a backslash's
# byte, the directory following the file, the SHA-256 checked by cmd.
japanese() {
    local standin=build/native/tests/engine/certutil-stand-in.exe
    [ -f $standin ] || { echo "FAIL: win32 in Japanese: no $standin: build the native tests first (scripts/test.sh does)"; return; }
    export WINEPREFIX=$1 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml=;certutil.exe=n,b"
    wine_prefix --xvfb
    cp $standin "$WINEPREFIX/drive_c/windows/system32/certutil.exe"
    $through bash tests/wine/split-through-the-window.sh --japanese $product "$(basename "$(dirname "$(dirname $product)")") in Japanese"
    /usr/lib/wine/wineserver -k 2>/dev/null; /usr/lib/wine/wineserver -w
    rm -rf "$WINEPREFIX"
}
tally < <(japanese "$(mktemp -d)")

# Every precondition asserted while the dialogs are driven, and the assertion's report.
dialog_tests win64-debug "win64 debug build"

# At 144 DPI (150%): every caption fits its control, the link its caption.
reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144
if [ $run32 = native ]; then dialog_tests win32 "win32 at 144 DPI" 'Layout.*:AboutBox.*'
else dialog_tests win64 "win64 at 144 DPI" 'Layout.*:AboutBox.*'; fi

/usr/lib/wine/wineserver -k; kill $xvfb 2>/dev/null; wait 2>/dev/null
rm -rf "$prefix"
echo "Windows tests: $passed passed, $failed failed (32-bit: $run32)"
[ $failed = 0 ]
