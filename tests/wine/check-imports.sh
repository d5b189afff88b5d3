#!/bin/bash
# Fails when EXE imports anything newer than the oldest Windows its header
# names: every system function must be declared by the MinGW-w64 headers at
# that version, and every C runtime function must be one that msvcr70.dll,
# the runtime of XP's msvcrt.dll, exports. Prints what is too new.
#
#   check-imports.sh EXE i686|x86_64
set -u
exe=$1 arch=$2
case $arch in i686) floor=0x0501 ;; x86_64) floor=0x0502 ;; esac
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

# "DLL function" for each imported name.
"$arch-w64-mingw32-objdump" -p "$exe" | awk '
    /DLL Name:/ { dll = tolower($3); next }
    dll && NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ && $3 ~ /^[A-Za-z_]/ { print dll, $3 }' > "$work/imports"
[ -s "$work/imports" ] || { echo "no imports read from $exe"; exit 1; }

# x64 runtimes, XP x64's among them, add the unwinding entry that 32-bit ones lack.
{ i686-w64-mingw32-nm /usr/i686-w64-mingw32/lib/libmsvcr70.a | awk '$2 == "I" { sub(/^__imp__/, "", $3); print $3 }'
  [ $arch = x86_64 ] && echo __C_specific_handler; } | sort -u > "$work/msvcr70"
too_new=$(awk '$1 == "msvcrt.dll" { print $2 }' "$work/imports" | sort -u | comm -23 - "$work/msvcr70")

{
    echo '#include <windows.h>'
    echo '#include <commctrl.h>'
    echo '#include <shlobj.h>'
    echo 'void imports(void) {'
    awk '$1 != "msvcrt.dll" { print "    (void)&" $2 ";" }' "$work/imports"
    echo '}'
} > "$work/imports.c"
LC_ALL=C "$arch-w64-mingw32-gcc-win32" -fsyntax-only -D_WIN32_WINNT=$floor -DWINVER=$floor -D_WIN32_IE=0x0600 \
    "$work/imports.c" 2> "$work/errors"
too_new="$too_new $(grep -o "'[A-Za-z0-9_]*' undeclared" "$work/errors" | tr -d "'" | cut -d' ' -f1)"

too_new=$(echo $too_new)
if [ -n "$too_new" ]; then
    echo "$exe imports what Windows $floor lacks: $too_new"
    exit 1
fi
