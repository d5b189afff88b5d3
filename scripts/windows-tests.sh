#!/bin/bash
# Builds the Windows program (x86_64 twin and i686 product), checks the product's image, then under
# Wine and a private Xvfb: the in-process tests of the real dialogs and of both EXEs' resources, the
# main dialog appearing when the EXE starts, and real files split through its window.
set -u
cd "$(dirname "$0")/.."
need="g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 wine64 xvfb xdotool cmake ninja-build"
if ! dpkg -s $need >/dev/null 2>&1; then
    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $need || exit 1
fi
failed=0; passed=0
check() { if "$@" >/dev/null 2>&1; then passed=$((passed+1)); echo "PASS: $*"; else failed=$((failed+1)); echo "FAIL: $*"; fi; }
# The 64-bit twin builds with its test programs; the 32-bit product alone.
for arch in x86_64:win64:ON i686:win32:OFF; do
    IFS=: read -r tc name tests <<< "$arch"; dir=build/$name
    targets=ParcelorMFC; [ $tests = ON ] && targets="$targets split_driver wine_dialog_tests"
    cmake -S . -B $dir -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$tc.cmake -DPARCELOR_TESTS=$tests >/dev/null &&
        cmake --build $dir --target $targets || { echo "FAIL: build $dir"; exit 1; }
done
exe=build/win32/app/ParcelorMFC.EXE
check bash -c "i686-w64-mingw32-objdump -f $exe | grep -q 'file format pei-i386'"
check bash -c "! i686-w64-mingw32-objdump -p $exe | grep -iE 'DLL Name: (libgcc|libstdc|libwinpthread)'"

# A throw-away prefix and a display of our own, so that parallel runs cannot meet.
prefix=$(mktemp -d); export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
displayfile=$prefix/display
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$displayfile" >/dev/null 2>&1 & xvfb=$!
for _ in $(seq 1 50); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$displayfile")
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
windows() { printf 'Z:%s' "$(realpath "$1" | sed 's#/#\\#g')"; }

# The real dialogs driven from inside their modal loops; the resources read back from both EXEs.
log=$prefix/dialog-tests.txt
PARCELOR_EXE="$(windows build/win32/app/ParcelorMFC.EXE);$(windows build/win64/app/ParcelorMFC.EXE)" \
    timeout 600 /usr/lib/wine/wine64 build/win64/tests/wine/wine_dialog_tests.exe > "$log" 2>&1
tr -d '\r' < "$log" | grep -vE '^\[ +(RUN|OK) +\]|^wine: Read access denied'
ok=$(tr -d '\r' < "$log" | grep -cE '^\[ +OK \]'); bad=$(tr -d '\r' < "$log" | grep -cE '^\[  FAILED  \] .*\(')
passed=$((passed+ok)); failed=$((failed+bad))
grep -q '^\[  PASSED  \]' "$log" || { failed=$((failed+1)); echo "FAIL: dialog tests did not finish"; }

# The 64-bit twin started as a user starts it: its main dialog must appear.
/usr/lib/wine/wine64 build/win64/app/ParcelorMFC.EXE & app=$!
found=1
for _ in $(seq 1 60); do xdotool search --name '^The Parcelor$' >/dev/null 2>&1 && { found=0; break; }; sleep 1; done
if [ $found = 0 ]; then passed=$((passed+1)); echo "PASS: main dialog appears under Wine"; else failed=$((failed+1)); echo "FAIL: main dialog appears under Wine"; fi
kill $app 2>/dev/null; wait $app 2>/dev/null

# Real files split through the real window, rebuilt by Wine's cmd.
while read -r line; do
    echo "$line"
    case $line in PASS:*) passed=$((passed+1)) ;; FAIL:*) failed=$((failed+1)) ;; esac
done < <(bash tests/wine/split-through-the-window.sh build/win64)

/usr/lib/wine/wineserver -k; kill $xvfb 2>/dev/null; wait 2>/dev/null
rm -rf "$prefix"
echo "Windows tests: $passed passed, $failed failed"
[ $failed = 0 ]
