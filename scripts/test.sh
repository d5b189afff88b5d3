#!/bin/bash
# Builds and runs every test: the native engine and control-rule tests (with
# the rejoin scripts run by Wine's cmd), the SHA-256 engines in 32 bits, a
# short benchmark run, both Windows builds and their checks under Wine, then
# the habits of the tree (format, analysis, shellcheck). Run as root on
# Debian 12.
set -eu
cd "$(dirname "$0")/.."
source scripts/setup.sh
need native windows lint

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build/native
ctest --test-dir build/native --output-on-failure

# The SHA-256 engines as 32-bit x86 code (gcc -m32): the 32-bit Windows tests
# run them only where Wine has its 32-bit half.
cmake -S . -B build/native32 -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS=-m32 -DCMAKE_CXX_FLAGS=-m32 \
    -DCMAKE_ASM_FLAGS=-m32
cmake --build build/native32 --target sha256_tests
build/native32/tests/sha256_tests

# The benchmark must run; its figures mean something only at full size.
build/native/bench/split_benchmark --size 33554432 --rounds 1
build/native/bench/rejoin_benchmark --rounds 1

bash scripts/windows-tests.sh
bash scripts/lint.sh
