#!/bin/bash
# Builds and runs every test: the native engine and control-rule tests (with
# the rejoin scripts run by Wine's cmd), a short benchmark run, both Windows
# builds and their checks under Wine, then the habits of the tree (format,
# analysis, shellcheck). Run as root on Debian 12.
set -eu
cd "$(dirname "$0")/.."
source scripts/setup.sh
need native windows lint

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build/native
ctest --test-dir build/native --output-on-failure

# The benchmark must run; its figures mean something only at full size.
build/native/bench/split_benchmark --size 33554432 --rounds 1
build/native/bench/split_benchmark --streams-only --rounds 1
build/native/bench/rejoin_benchmark --rounds 1

bash scripts/windows-tests.sh
bash scripts/lint.sh
