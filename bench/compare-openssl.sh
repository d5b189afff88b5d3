#!/bin/bash
# One SHA-256 stream of every engine this processor has, in 64 and in 32
# bits, beside OpenSSL's for the same bitness, told to use no more of the
# processor than the engine does; then the split with each engine, its
# second worker forced on and off (split_benchmark, 64 bits). Run as root on
# Debian 12, with both processors free: the machine's load is printed.
#
#   bash bench/compare-openssl.sh [--size BYTES] [--rounds N] [--dir FOLDER] [--stream-rounds N] [--streams-only]
#
# --size, --rounds and --dir are the split's (default 512 MiB, 3, /dev/shm);
# --stream-rounds the streams' (default 5: about 15 seconds a round);
# --streams-only stops after the streams' table.
#
# The 32-bit figures come from a native i686 build (gcc -m32, the same GCC
# as the MinGW-w64 compilers of the product, the same code); OpenSSL's from
# Debian's i386 openssl and libssl3, unpacked under build/ without being
# installed over the native ones. The streams' timer (bench/Sha256Versus.cpp)
# is built here against each bitness's libcrypto.
set -eu
cd "$(dirname "$0")/.."
size=536870912 rounds=3 dir=/dev/shm stream_rounds=5 streams_only=
while [ $# -gt 0 ]; do
    case $1 in
    --size) size=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --dir) dir=$2; shift 2 ;;
    --streams-only) streams_only=1; shift ;;
    --stream-rounds) stream_rounds=$2; shift 2 ;;
    *) echo "usage: bash bench/compare-openssl.sh [--size BYTES] [--rounds N] [--dir FOLDER] [--stream-rounds N] [--streams-only]" >&2; exit 2 ;;
    esac
done

source scripts/setup.sh
for p in cmake ninja-build g++ g++-multilib openssl; do
    dpkg -s $p >/dev/null 2>&1 || { apt-get update || true; DEBIAN_FRONTEND=noninteractive apt-get install -y $p; }
done

build() { # DIR FLAGS TARGET, Release
    cmake -S . -B $1 -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARCELOR_TESTS=OFF -DCMAKE_C_FLAGS="$2" \
        -DCMAKE_CXX_FLAGS="$2" -DCMAKE_ASM_FLAGS="$2" >/dev/null && cmake --build $1 --target $3 >/dev/null
}
build build/bench-x86_64 "" split_benchmark
build build/bench-i686 -m32 parcelor_split # the engine alone, for the streams' timer

# Debian's i386 OpenSSL, unpacked once.
ossl32=build/openssl-i386
if [ ! -x $ossl32/usr/bin/openssl ]; then
    dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; apt-get update || true; }
    debs=$(mktemp -d)
    chmod 777 "$debs"
    (cd "$debs" && apt-get download openssl:i386 libssl3:i386) ||
        { apt-get update || true; (cd "$debs" && apt-get download openssl:i386 libssl3:i386); }
    for deb in "$debs"/*.deb; do dpkg -x "$deb" $ossl32; done
    rm -rf "$debs"
fi
# The streams' timer, for each bitness against that bitness's libcrypto.
g++ -O2 -I. bench/Sha256Versus.cpp build/bench-x86_64/split/libparcelor_split.a \
    /usr/lib/x86_64-linux-gnu/libcrypto.so.3 -o build/bench-x86_64/sha256_versus
g++ -m32 -O2 -I. bench/Sha256Versus.cpp build/bench-i686/split/libparcelor_split.a \
    $ossl32/usr/lib/i386-linux-gnu/libcrypto.so.3 -o build/bench-i686/sha256_versus
openssl32() { LD_LIBRARY_PATH=$PWD/$ossl32/usr/lib/i386-linux-gnu OPENSSL_MODULES=$PWD/$ossl32/usr/lib/i386-linux-gnu/ossl-modules $ossl32/usr/bin/openssl "$@"; }
openssl64() { openssl "$@"; }

# OpenSSL's capability masks (OPENSSL_ia32cap, "CPUID 1 ECX:EDX : CPUID 7 ECX:EBX"
# with ~ for "without"): bit 60 AVX and 41 SSSE3; 29 SHA, 5 AVX2, 3 BMI1, 8 BMI2.
declare -A mask=(
    ["SHA instructions"]=""
    ["AVX2+BMI2"]=":~0x20000000"
    ["SSSE3+BMI2"]="~0x1000000000000000:~0x20000020"
    ["SSSE3"]="~0x1000000000000000:~0x20000128"
    ["portable"]="~0x1000020000000000:~0x20000128"
)

# versus BITS ENGINE: "OURS THEIRS" in MB/s (see bench/Sha256Versus.cpp),
# OpenSSL told to use no more of the processor than the engine does;
# nothing where the processor lacks the engine.
versus() {
    case $1 in
    64) arch=x86_64 lib= ;;
    32) arch=i686 lib=$PWD/$ossl32/usr/lib/i386-linux-gnu ;;
    esac
    # An empty mask would be read as "nothing": no mask is none given.
    (if [ -n "${mask[$2]}" ]; then export OPENSSL_ia32cap=${mask[$2]}; fi
     LD_LIBRARY_PATH=$lib build/bench-$arch/sha256_versus "$2") | awk '{print $(NF - 1), $NF}'
}
load1() { cut -d' ' -f1 /proc/loadavg; }
max() { awk -v a="${1:-0}" -v b="${2:-0}" 'BEGIN {print (b + 0 > a + 0 ? b : a)}'; }

engines=("SHA instructions" "AVX2+BMI2" "SSSE3+BMI2" "SSSE3" "portable")
echo "machine load at the start (1, 5, 15 minutes): $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$(openssl64 version) (64-bit); $(openssl32 version) (32-bit); $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2-)"
# Each round times every engine and bitness once, ours and OpenSSL's in
# turns, call by call; each side keeps its fastest.
declare -A best_ours best_theirs row_load
for _ in $(seq 1 "$stream_rounds"); do
    for bits in 64 32; do
        for engine in "${engines[@]}"; do
            key="$bits $engine"
            read -r a b <<<"$(versus $bits "$engine")" || true
            [ -n "${a:-}" ] || continue
            best_ours[$key]=$(max "${best_ours[$key]:-}" "$a")
            best_theirs[$key]=$(max "${best_theirs[$key]:-}" "$b")
            row_load[$key]=$(max "${row_load[$key]:-}" "$(load1)")
        done
    done
done
echo
echo "One SHA-256 stream from memory, MB/s, over a chunk of 91,104 bytes: the fastest of $stream_rounds x 3,000"
echo "calls each, ours (Sha256) and OpenSSL's (SHA256_Update) taken in turns (bench/Sha256Versus.cpp);"
echo "load: the highest 1-minute load seen after its runs (this benchmark's own process counts 1):"
printf '| %-16s | %4s | %12s | %10s | %7s | %4s | %s\n' engine bits "this project" OpenSSL ratio load "OpenSSL's mask"
echo "|------------------|------|--------------|------------|---------|------|-----"
for bits in 64 32; do
    for engine in "${engines[@]}"; do
        key="$bits $engine"
        [ -n "${best_ours[$key]:-}" ] || { printf '| %-16s | %4s | not on this processor\n' "$engine" $bits; continue; }
        printf '| %-16s | %4s | %12s | %10s | %7s | %4s | %s\n' "$engine" $bits "${best_ours[$key]}" "${best_theirs[$key]}" \
            "$(awk -v a="${best_ours[$key]}" -v b="${best_theirs[$key]}" 'BEGIN {printf "%.2f x", a / b}')" \
            "${row_load[$key]}" "${mask[$engine]:-(none)}"
    done
done
echo "machine load after the streams: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -z "$streams_only" ] || exit 0

echo
echo "The split (64-bit, $size bytes in $dir), each engine, its second worker forced on and off:"
build/bench-x86_64/bench/split_benchmark --size "$size" --rounds "$rounds" --dir "$dir" --process-size 268435456
