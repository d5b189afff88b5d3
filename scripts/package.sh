#!/bin/bash
# Builds both EXEs the way the tests build them and writes the download for
# Windows users, dist/Parcelor-1.0.0-windows.zip: the 32-bit ParcelorMFC.EXE,
# the 64-bit x64/ParcelorMFC.EXE, README.txt (CR LF) and SHA256SUMS.txt over
# the other three. Installs what it needs first.
set -eu
cd "$(dirname "$0")/.."
source scripts/setup.sh
need package

windows_build i686 ParcelorMFC
windows_build x86_64 ParcelorMFC

archive=dist/Parcelor-1.0.0-windows.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/x64"
cp build/win32/app/ParcelorMFC.EXE "$stage/ParcelorMFC.EXE"
cp build/win64/app/ParcelorMFC.EXE "$stage/x64/ParcelorMFC.EXE"
sed 's/$/\r/' docs/windows-readme.txt > "$stage/README.txt"
(cd "$stage" && sha256sum ParcelorMFC.EXE x64/ParcelorMFC.EXE README.txt > SHA256SUMS.txt)

# The same sources give the same archive: fixed times, no extra fields, a fixed order.
find "$stage" -exec touch -d '2026-01-01 00:00:00' {} +
mkdir -p dist
rm -f "$archive"
(cd "$stage" && zip -X -D -q "$OLDPWD/$archive" ParcelorMFC.EXE x64/ParcelorMFC.EXE README.txt SHA256SUMS.txt)
echo "Wrote $archive:"
unzip -l "$archive" | sed -n '4,7p'
