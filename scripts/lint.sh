#!/bin/bash
# The habits the tree keeps, checked; scripts/test.sh runs this after the
# builds. The format of every C++ file (.clang-format); the analysis of the
# program's own code (.clang-tidy), natively and through the MinGW-w64
# headers as the Windows build sees it; shellcheck over the rejoin script's
# sh program (every finding) and the project's scripts (warnings and errors).
# Needs the compile commands of build/native and build/win64, which the test
# command's builds write.
set -eu
cd "$(dirname "$0")/.."
source scripts/setup.sh
need lint
failed=0

echo "Format: clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror || failed=1

# The program's own sources in a build's compile commands.
own="^$(pwd)/(split|text|controls|framework|app)/[^/]*\\.cpp\$"
echo "Analysis: clang-tidy, natively"
run-clang-tidy -quiet -j 2 -p build/native "$own" > build/tidy-native.txt 2>&1 || { cat build/tidy-native.txt; failed=1; }
# clang takes the target from the compiler's name; the C++ library and the
# Windows headers are MinGW-w64's, the compiler's own headers clang's.
echo "Analysis: clang-tidy, as the Windows build sees it"
headers=()
while read -r dir; do
    [[ $dir =~ /lib/gcc/[^/]+/[^/]+/include(-fixed)?$ ]] || headers+=("-extra-arg=-isystem$dir")
done < <(echo | x86_64-w64-mingw32-g++-win32 -E -x c++ - -v 2>&1 | sed -n '/<...> search starts/,/End of search/p' | grep '^ /' | sed 's/^ //')
run-clang-tidy -quiet -j 2 -p build/win64 "${headers[@]}" "$own" > build/tidy-windows.txt 2>&1 ||
    { cat build/tidy-windows.txt; failed=1; }

echo "Shell: shellcheck"
shellcheck -s sh split/rejoin.sh || failed=1
shellcheck -S warning scripts/*.sh tests/wine/*.sh .ci/run || failed=1

[ $failed = 0 ] && echo "Lint: clean"
exit $failed
