// Sha256: the SHA-256 digest (FIPS 180-4) of bytes given in runs of any length.
#include "split/Sha256.h"

#include <algorithm>
#include <cstring>
#include <utility>

// The engines beside the portable one: x86 instructions, each reached through
// GCC's or Clang's per-function targets.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define PARCELOR_X86_ENGINES 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace {

// The first 32 bits of the fractional parts of the cube roots of the first 64 primes.
alignas(16) constexpr std::uint32_t RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// The first 32 bits of the fractional parts of the square roots of the first 8 primes.
constexpr std::uint32_t InitialState[8] = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19,
};

std::uint32_t rotateRight(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

std::uint32_t bigEndian32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Runs the compression function for Streams states over the same count
// 64-byte blocks, in plain C++: the streams share the message schedule.
template <int Streams>
void compressPortable(std::uint32_t* const states[Streams], const unsigned char* blocks, std::size_t count)
{
    for (; count > 0; --count, blocks += 64) {
        std::uint32_t w[64];
        for (int t = 0; t < 16; ++t)
            w[t] = bigEndian32(blocks + 4 * t);
        for (int t = 16; t < 64; ++t) {
            const std::uint32_t s0 = rotateRight(w[t - 15], 7) ^ rotateRight(w[t - 15], 18) ^ (w[t - 15] >> 3);
            const std::uint32_t s1 = rotateRight(w[t - 2], 17) ^ rotateRight(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = s1 + w[t - 7] + s0 + w[t - 16];
        }
        for (int s = 0; s < Streams; ++s) {
            std::uint32_t* const state = states[s];
            std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
            std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
            for (int t = 0; t < 64; ++t) {
                const std::uint32_t sum1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
                const std::uint32_t choice = (e & f) ^ (~e & g);
                const std::uint32_t t1 = h + sum1 + choice + RoundConstants[t] + w[t];
                const std::uint32_t sum0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
                const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
                h = g;
                g = f;
                f = e;
                e = d + t1;
                d = c;
                c = b;
                b = a;
                a = t1 + sum0 + majority;
            }
            state[0] += a;
            state[1] += b;
            state[2] += c;
            state[3] += d;
            state[4] += e;
            state[5] += f;
            state[6] += g;
            state[7] += h;
        }
    }
}

#ifdef PARCELOR_X86_ENGINES

// On 32-bit Windows the stack of a window's callback may be aligned to 4
// bytes only: a function that spills 16-byte values aligns its own.
#if defined(__i386__)
#define PARCELOR_ALIGNS_STACK __attribute__((force_align_arg_pointer))
#else
#define PARCELOR_ALIGNS_STACK
#endif

// Whether the system saves the AVX registers (YMM) when it switches threads:
// CPUID leaf 1 ECX bit 27 (OSXSAVE) says that it has turned XSAVE on, and
// XGETBV's register 0 bits 1 and 2 that it saves the SSE and AVX states.
// Windows before 7 SP1 (XP among them) saves neither, and AVX code there
// would lose its registers' upper halves at every switch.
__attribute__((target("xsave"))) bool systemSavesAvx()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & (1u << 27)) || !(c & (1u << 28)))
        return false;
    return (_xgetbv(0) & 6) == 6;
}

// Whether the processor has the instructions of the code engine names:
// CPUID leaf 1 ECX bits 9 (SSSE3) and 19 (SSE4.1); leaf 7 EBX bits 3 (BMI1),
// 5 (AVX2), 8 (BMI2) and 29 (SHA). Only AVX2 needs more of the system than
// SSE's registers.
bool processorHas(Sha256::Engine engine)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (engine == Sha256::Engine::Portable)
        return true;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & (1u << 9)))
        return false;
    if (engine == Sha256::Engine::Ssse3)
        return true;
    const bool sse41 = (c & (1u << 19)) != 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return false;
    if (engine == Sha256::Engine::ShaInstructions)
        return sse41 && (b & (1u << 29));
    const bool bmi2 = (b & (1u << 3)) && (b & (1u << 8));
    if (engine == Sha256::Engine::Avx2)
        return bmi2 && (b & (1u << 5)) && systemSavesAvx();
    return bmi2;
}

// compressPortable with the SHA instructions, for Streams states at once
// over the same blocks: the streams share the message schedule, and the
// rounds of one run while those of the other wait for their results. Only
// called where the processor has the instructions: this one function is
// compiled for them, the rest of the program runs on any x86.
template <int Streams>
PARCELOR_ALIGNS_STACK __attribute__((target("sha,sse4.1,ssse3")))
void compressAccelerated(std::uint32_t* const states[Streams], const unsigned char* blocks, std::size_t count)
{
    // Turns each 32-bit word of a block from its big-endian bytes.
    const __m128i byteSwap = _mm_set_epi8(12, 13, 14, 15, 8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3);

    // The instructions keep a state as two halves: A B E F and C D G H.
    __m128i abef[Streams], cdgh[Streams];
    for (int s = 0; s < Streams; ++s) {
        const __m128i abcd = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&states[s][0]));
        const __m128i efgh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&states[s][4]));
        const __m128i badc = _mm_shuffle_epi32(abcd, 0xB1);
        const __m128i hgfe = _mm_shuffle_epi32(efgh, 0x1B);
        abef[s] = _mm_alignr_epi8(badc, hgfe, 8);
        cdgh[s] = _mm_blend_epi16(hgfe, badc, 0xF0);
    }

    for (; count > 0; --count, blocks += 64) {
        __m128i startAbef[Streams], startCdgh[Streams];
        for (int s = 0; s < Streams; ++s) {
            startAbef[s] = abef[s];
            startCdgh[s] = cdgh[s];
        }
        // w[i % 4] holds the message words 4i ... 4i + 3 of the current rounds.
        __m128i w[4];
        for (int i = 0; i < 4; ++i)
            w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), byteSwap);
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i) {
            if (i >= 4) {
                // Words 4i ... from those 16, 12, 8 and 4 before them.
                __m128i next = _mm_sha256msg1_epu32(w[i & 3], w[(i + 1) & 3]);
                next = _mm_add_epi32(next, _mm_alignr_epi8(w[(i + 3) & 3], w[(i + 2) & 3], 4));
                w[i & 3] = _mm_sha256msg2_epu32(next, w[(i + 3) & 3]);
            }
            const __m128i words = _mm_add_epi32(
                w[i & 3], _mm_load_si128(reinterpret_cast<const __m128i*>(&RoundConstants[4 * i])));
            const __m128i laterWords = _mm_shuffle_epi32(words, 0x0E);
            for (int s = 0; s < Streams; ++s)
                cdgh[s] = _mm_sha256rnds2_epu32(cdgh[s], abef[s], words);
            for (int s = 0; s < Streams; ++s)
                abef[s] = _mm_sha256rnds2_epu32(abef[s], cdgh[s], laterWords);
        }
        for (int s = 0; s < Streams; ++s) {
            abef[s] = _mm_add_epi32(abef[s], startAbef[s]);
            cdgh[s] = _mm_add_epi32(cdgh[s], startCdgh[s]);
        }
    }

    for (int s = 0; s < Streams; ++s) {
        const __m128i feba = _mm_shuffle_epi32(abef[s], 0x1B);
        const __m128i dchg = _mm_shuffle_epi32(cdgh[s], 0xB1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&states[s][0]), _mm_blend_epi16(feba, dchg, 0xF0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&states[s][4]), _mm_alignr_epi8(dchg, feba, 8));
    }
}

// The vector helpers below pass and return SIMD values in functions compiled
// for the plain processor, which on 32-bit x86 (no SSE) GCC warns may change
// their calling convention; they are always inlined into functions compiled
// for the instructions, so no call ever passes one. (GCC gives the warning at
// the end of the file: it stays off to there.)
#pragma GCC diagnostic ignored "-Wpsabi"

// Four message words: the SIMD registers compute the message schedule while
// the scalar ones run the rounds.
typedef std::uint32_t Words __attribute__((vector_size(16)));

// The message words 4i ... 4i + 3 of a block, from their big-endian bytes at bytes.
__attribute__((always_inline)) inline Words loadWords(const unsigned char* bytes)
{
    typedef unsigned char Bytes __attribute__((vector_size(16)));
    Bytes bigEndian;
    std::memcpy(&bigEndian, bytes, sizeof bigEndian);
    return Words(__builtin_shufflevector(bigEndian, bigEndian, 3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12));
}

// Stores the four words of x at wk.
__attribute__((always_inline)) inline void storeWords(Words x, std::uint32_t wk[4])
{
    std::memcpy(wk, &x, sizeof x);
}

// The round constants of words 4i ... 4i + 3.
__attribute__((always_inline)) inline Words loadConstants(int i)
{
    Words constants;
    std::memcpy(&constants, &RoundConstants[4 * i], sizeof constants);
    return constants;
}

// The functions sigma0 and sigma1 of the message schedule, on each word of x.
__attribute__((always_inline)) inline Words smallSigma0(Words x)
{
    return (x >> 7 | x << 25) ^ (x >> 18 | x << 14) ^ x >> 3;
}
__attribute__((always_inline)) inline Words smallSigma1(Words x)
{
    return (x >> 17 | x << 15) ^ (x >> 19 | x << 13) ^ x >> 10;
}

// The next four words of the message schedule, from the sixteen before
// them: w0 holds the oldest four, w3 the newest.
__attribute__((always_inline)) inline Words nextWords(Words w0, Words w1, Words w2, Words w3)
{
    const Words zero = {};
    const Words partial = w0 + smallSigma0(__builtin_shufflevector(w0, w1, 1, 2, 3, 4)) +
                          __builtin_shufflevector(w2, w3, 1, 2, 3, 4);
    // The last two words need the first two: sigma1(0) is 0, so each step
    // adds nothing to the words it cannot compute yet.
    const Words firstTwo = partial + smallSigma1(__builtin_shufflevector(w3, zero, 2, 3, 4, 4));
    return firstTwo + smallSigma1(__builtin_shufflevector(zero, firstTwo, 0, 0, 4, 5));
}

// Computes the message words 4i ... 4i + 3 of the block at block into
// w[i % 4], from its bytes or from the sixteen words before them in w, and
// stores them plus their round constants at wk.
__attribute__((always_inline)) inline void scheduleWords(int i, Words w[4], const unsigned char* block,
                                                         std::uint32_t wk[4])
{
    w[i & 3] = i < 4 ? loadWords(block + 16 * i) : nextWords(w[i & 3], w[(i + 1) & 3], w[(i + 2) & 3], w[(i + 3) & 3]);
    const Words sum = w[i & 3] + loadConstants(i);
    std::memcpy(wk, &sum, sizeof sum);
}

// Round t of the compression function on the working variables v of one
// stream, with wk the message word plus the round constant. The variables
// stay in place: round t finds a ... h at v[-t & 7] ... v[(7 - t) & 7], and
// writes only the new e (over d) and the new a (over h).
__attribute__((always_inline)) inline void runRound(std::uint32_t v[8], int t, std::uint32_t wk)
{
    const std::uint32_t a = v[-t & 7], b = v[(1 - t) & 7], c = v[(2 - t) & 7];
    const std::uint32_t e = v[(4 - t) & 7], f = v[(5 - t) & 7], g = v[(6 - t) & 7];
    std::uint32_t& d = v[(3 - t) & 7];
    std::uint32_t& h = v[(7 - t) & 7];
    const std::uint32_t sum1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
    const std::uint32_t sum0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
    // The terms that do not wait for e's rotations, summed first; the two
    // halves of the choice have no bit in common, so they add.
    const std::uint32_t early = h + wk + (e & f) + (~e & g);
    // Its b ^ c is the previous round's a ^ b.
    const std::uint32_t majority = ((a ^ b) & (b ^ c)) ^ b;
    d = d + early + sum1;
    h = early + sum1 + sum0 + majority;
}

// compressPortable with the message schedule in SIMD registers and the
// rounds in scalar ones, the schedule computed four groups of rounds ahead of
// the rounds that use it, so that the two kinds of work overlap. Inlined into
// functions compiled for the instructions it needs.
__attribute__((always_inline)) inline void compressScheduled(std::uint32_t state[8], const unsigned char* blocks,
                                                             std::size_t count)
{
    for (; count > 0; --count, blocks += 64) {
        // wk[i] holds the words 4i ... 4i + 3 plus their round constants.
        alignas(16) std::uint32_t wk[16][4];
        Words w[4];
        std::uint32_t v[8];
        std::memcpy(v, state, sizeof v);
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i)
            scheduleWords(i, w, blocks, wk[i]);
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i) {
            if (i < 12)
                scheduleWords(i + 4, w, blocks, wk[i + 4]);
#pragma GCC unroll 4
            for (int r = 0; r < 4; ++r)
                runRound(v, 4 * i + r, wk[i][r]);
        }
#pragma GCC unroll 8
        for (int j = 0; j < 8; ++j)
            state[j] += v[j];
    }
}

// compressScheduled compiled for SSSE3 (its byte shuffle loads the words).
PARCELOR_ALIGNS_STACK __attribute__((target("ssse3"))) void compressSsse3(std::uint32_t state[8],
                                                                          const unsigned char* blocks,
                                                                          std::size_t count)
{
    compressScheduled(state, blocks, count);
}

// Unoptimised builds (the debug build of the dialog tests) and those for
// AddressSanitizer compile no assembly below: there the compiler cannot give
// it the registers it asks for, and the engines that use it run
// compressScheduled.
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
#define PARCELOR_ROUNDS_IN_ASSEMBLY 1

// The rounds below are written in assembly: the compiler's code for them,
// however the C++ was written, ran a quarter slower than rounds whose
// instructions are ordered by hand, the work on e interleaved with the work
// on a. They loop eight rounds at a time. In 64 bits the working variables
// stay in registers; 32-bit x86 has seven registers free, too few for them
// and the temporaries, and keeps all but a and e in memory.
struct RoundSpace {
    // The message words plus the round constants, four rounds to a row:
    // wk[i][0 ... 3] for words 4i ... 4i + 3 of one block, wk[i][4 ... 7] for
    // those of the next block where two are scheduled at once.
    std::uint32_t wk[16][8];
};

// The working variables between groups of rounds.
struct WorkingVariables {
    // a ... h: rounds 8j ... find variable k in v[k]; where they live in
    // memory, round t finds it in v[(k - t) & 7].
    std::uint32_t v[8];
    // a ^ b of round t in ab[t & 1]: round t + 1's b ^ c.
    std::uint32_t ab[2];
};

#if defined(__x86_64__)

// One round on the working variables a ... h in the registers named, with
// b ^ c in bc (which it turns into Maj(a, b, c)) and a ^ b to ab, and W + K
// at the offset wk from the register w. It writes only d (the new e) and h
// (the new a); the next round renames. The order interleaves the work on e
// and on a, which run in parallel.
#define PARCELOR_ROUND(wk, a, b, c, d, e, f, g, h, bc, ab)                                                            \
    "addl " #wk "+%c[half](%[w]), %[" #h "]\n\t"                                                                     \
    "movl %[" #f "], %[y]\n\t"                                                                                       \
    "andl %[" #e "], %[y]\n\t"                                                                                       \
    "rorx $25, %[" #e "], %[z0]\n\t"                                                                                 \
    "rorx $11, %[" #e "], %[z1]\n\t"                                                                                 \
    "leal (%q[" #h "], %q[y]), %[" #h "]\n\t"                                                                        \
    "andn %[" #g "], %[" #e "], %[y]\n\t"                                                                            \
    "xorl %[z1], %[z0]\n\t"                                                                                          \
    "rorx $6, %[" #e "], %[z1]\n\t"                                                                                  \
    /* h += Ch(e, f, g) = (e & f) + (~e & g): the halves have no bit in common. */                                 \
    "leal (%q[" #h "], %q[y]), %[" #h "]\n\t"                                                                        \
    "xorl %[z1], %[z0]\n\t"                                                                                          \
    "movl %[" #a "], %[" #ab "]\n\t"                                                                                 \
    "rorx $22, %[" #a "], %[y]\n\t"                                                                                  \
    /* h += Sigma1(e): T1. */                                                                                      \
    "leal (%q[" #h "], %q[z0]), %[" #h "]\n\t"                                                                       \
    "xorl %[" #b "], %[" #ab "]\n\t"                                                                                 \
    "rorx $13, %[" #a "], %[z1]\n\t"                                                                                 \
    "rorx $2, %[" #a "], %[z0]\n\t"                                                                                  \
    /* d += T1: the new e. */                                                                                      \
    "leal (%q[" #d "], %q[" #h "]), %[" #d "]\n\t"                                                                   \
    "andl %[" #ab "], %[" #bc "]\n\t"                                                                                \
    "xorl %[y], %[z1]\n\t"                                                                                           \
    /* Maj(a, b, c) = ((a ^ b) & (b ^ c)) ^ b. */                                                                  \
    "xorl %[" #b "], %[" #bc "]\n\t"                                                                                 \
    "xorl %[z0], %[z1]\n\t"                                                                                          \
    /* h += Maj(a, b, c) + Sigma0(a): the new a. */                                                                \
    "leal (%q[" #h "], %q[" #bc "]), %[" #h "]\n\t"                                                                  \
    "addl %[z1], %[" #h "]\n\t"

// Rounds 8j ... 8j + 3, and 8j + 4 ... 8j + 7, with their W + K at the
// offset row from w.
#define PARCELOR_ROUNDS_0_TO_3(row)                                                                                   \
    PARCELOR_ROUND(row + 0, v0, v1, v2, v3, v4, v5, v6, v7, p, q)                                                     \
    PARCELOR_ROUND(row + 4, v7, v0, v1, v2, v3, v4, v5, v6, q, p)                                                     \
    PARCELOR_ROUND(row + 8, v6, v7, v0, v1, v2, v3, v4, v5, p, q)                                                     \
    PARCELOR_ROUND(row + 12, v5, v6, v7, v0, v1, v2, v3, v4, q, p)
#define PARCELOR_ROUNDS_4_TO_7(row)                                                                                   \
    PARCELOR_ROUND(row + 0, v4, v5, v6, v7, v0, v1, v2, v3, p, q)                                                     \
    PARCELOR_ROUND(row + 4, v3, v4, v5, v6, v7, v0, v1, v2, q, p)                                                     \
    PARCELOR_ROUND(row + 8, v2, v3, v4, v5, v6, v7, v0, v1, p, q)                                                     \
    PARCELOR_ROUND(row + 12, v1, v2, v3, v4, v5, v6, v7, v0, q, p)

// The operands of the rounds.
#define PARCELOR_ROUND_OPERANDS                                                                                       \
    [v0] "+r"(v[0]), [v1] "+r"(v[1]), [v2] "+r"(v[2]), [v3] "+r"(v[3]), [v4] "+r"(v[4]), [v5] "+r"(v[5]),             \
        [v6] "+r"(v[6]), [v7] "+r"(v[7]), [y] "=&r"(y), [z0] "=&r"(z0), [z1] "=&r"(z1), [p] "+&r"(p), [q] "=&r"(q),  \
        [w] "+r"(row)

// Rounds 8j ... 8j + 8 groups - 1 of the compression function on the
// working variables in vars, for j from the row of space.wk at row, with the
// words of half Half. Groups of eight rounds leave every variable where they
// found it.
template <int Half>
__attribute__((always_inline)) inline void runRounds(WorkingVariables& vars, const RoundSpace& space,
                                                     const std::uint32_t (*row)[8], int groups)
{
    const std::uint32_t(*const end)[8] = row + 2 * groups;
    std::uint32_t* const v = vars.v;
    std::uint32_t y, z0, z1, p = vars.ab[1], q;
    asm(".p2align 5\n1:\n\t" PARCELOR_ROUNDS_0_TO_3(0) PARCELOR_ROUNDS_4_TO_7(32) "add $64, %[w]\n\t"
        "cmp %[end], %[w]\n\t"
        "jne 1b"
        : PARCELOR_ROUND_OPERANDS
        : [end] "m"(end), [half] "i"(Half * 16), "m"(space.wk));
    vars.ab[1] = p;
}

// Rounds 4i ... 4i + 3, for i odd when Odd, from row i of wk, its first half.
template <bool Odd>
__attribute__((always_inline)) inline void runFourRounds(WorkingVariables& vars, const RoundSpace& space,
                                                         const std::uint32_t* row)
{
    std::uint32_t* const v = vars.v;
    std::uint32_t y, z0, z1, p = vars.ab[1], q;
    if (Odd)
        asm(PARCELOR_ROUNDS_4_TO_7(0) : PARCELOR_ROUND_OPERANDS : [half] "i"(0), "m"(space.wk));
    else
        asm(PARCELOR_ROUNDS_0_TO_3(0) : PARCELOR_ROUND_OPERANDS : [half] "i"(0), "m"(space.wk));
    vars.ab[1] = p;
}

#else

// One round on the working variables a ... h in the memory slots named, a
// and e also in the registers a and e; b ^ c in the slot bc, a ^ b to the
// slot ab; W + K at the offset wk from the register w. It writes a's and e's
// slots with the values that a and e had on entering it. The work on a comes
// first: it needs only what the round before finished first.
#define PARCELOR_ROUND(wk, A, B, C, D, E, F, G, H, bc, ab)                                                            \
    /* y = Sigma0(a) + Maj(a, b, c), Maj = ((a ^ b) & (b ^ c)) ^ b. */                                             \
    "rorx $2, %[a], %[y]\n\t"                                                                                        \
    "rorx $13, %[a], %[z]\n\t"                                                                                       \
    "xorl %[z], %[y]\n\t"                                                                                            \
    "rorx $22, %[a], %[z]\n\t"                                                                                       \
    "xorl %[z], %[y]\n\t"                                                                                            \
    "movl %[a], %[z]\n\t"                                                                                            \
    "xorl %[" #B "], %[z]\n\t"                                                                                       \
    "movl %[z], %[" #ab "]\n\t"                                                                                      \
    "andl %[" #bc "], %[z]\n\t"                                                                                      \
    "xorl %[" #B "], %[z]\n\t"                                                                                       \
    "addl %[z], %[y]\n\t"                                                                                            \
    /* a to its slot; a = h + wk + Ch(e, f, g) + Sigma1(e) = T1. */                                                \
    "movl %[a], %[" #A "]\n\t"                                                                                       \
    "movl %[" #H "], %[a]\n\t"                                                                                       \
    "addl " #wk "+%c[half](%[w]), %[a]\n\t"                                                                          \
    "movl %[" #F "], %[x]\n\t"                                                                                       \
    "andl %[e], %[x]\n\t"                                                                                            \
    "addl %[x], %[a]\n\t"                                                                                            \
    "andn %[" #G "], %[e], %[x]\n\t"                                                                                 \
    "addl %[x], %[a]\n\t"                                                                                            \
    "rorx $6, %[e], %[x]\n\t"                                                                                        \
    "rorx $11, %[e], %[z]\n\t"                                                                                       \
    "xorl %[z], %[x]\n\t"                                                                                            \
    "rorx $25, %[e], %[z]\n\t"                                                                                       \
    "xorl %[z], %[x]\n\t"                                                                                            \
    "addl %[x], %[a]\n\t"                                                                                            \
    /* e to its slot; e = d + T1; a = T1 + y. */                                                                   \
    "movl %[e], %[" #E "]\n\t"                                                                                       \
    "movl %[" #D "], %[e]\n\t"                                                                                       \
    "addl %[a], %[e]\n\t"                                                                                            \
    "addl %[y], %[a]\n\t"

#define PARCELOR_ROUNDS_0_TO_3(row)                                                                                   \
    PARCELOR_ROUND(row + 0, v0, v1, v2, v3, v4, v5, v6, v7, ab1, ab0)                                                 \
    PARCELOR_ROUND(row + 4, v7, v0, v1, v2, v3, v4, v5, v6, ab0, ab1)                                                 \
    PARCELOR_ROUND(row + 8, v6, v7, v0, v1, v2, v3, v4, v5, ab1, ab0)                                                 \
    PARCELOR_ROUND(row + 12, v5, v6, v7, v0, v1, v2, v3, v4, ab0, ab1)
#define PARCELOR_ROUNDS_4_TO_7(row)                                                                                   \
    PARCELOR_ROUND(row + 0, v4, v5, v6, v7, v0, v1, v2, v3, ab1, ab0)                                                 \
    PARCELOR_ROUND(row + 4, v3, v4, v5, v6, v7, v0, v1, v2, ab0, ab1)                                                 \
    PARCELOR_ROUND(row + 8, v2, v3, v4, v5, v6, v7, v0, v1, ab1, ab0)                                                 \
    PARCELOR_ROUND(row + 12, v1, v2, v3, v4, v5, v6, v7, v0, ab0, ab1)

// The operands of the rounds: the slots are named one by one for their
// addresses, and changed as a whole (an operand for each would pass the
// limit of 30).
#define PARCELOR_ROUND_OPERANDS                                                                                       \
    [a] "+r"(a), [e] "+r"(e), [x] "=&r"(x), [y] "=&r"(y), [z] "=&r"(z), [w] "+r"(row), "+m"(slots)
#define PARCELOR_SLOT_OPERANDS                                                                                        \
    [v0] "m"(slots.v[0]), [v1] "m"(slots.v[1]), [v2] "m"(slots.v[2]), [v3] "m"(slots.v[3]), [v4] "m"(slots.v[4]),     \
        [v5] "m"(slots.v[5]), [v6] "m"(slots.v[6]), [v7] "m"(slots.v[7]), [ab0] "m"(slots.ab[0]),                     \
        [ab1] "m"(slots.ab[1])

// runRounds and runFourRounds (above), with the variables in vars' slots.
template <int Half>
__attribute__((always_inline)) inline void runRounds(WorkingVariables& vars, const RoundSpace& space,
                                                     const std::uint32_t (*row)[8], int groups)
{
    const std::uint32_t(*const end)[8] = row + 2 * groups;
    WorkingVariables& slots = vars;
    std::uint32_t a = slots.v[0], e = slots.v[4], x, y, z;
    asm(".p2align 5\n1:\n\t" PARCELOR_ROUNDS_0_TO_3(0) PARCELOR_ROUNDS_4_TO_7(32) "add $64, %[w]\n\t"
        "cmp %[end], %[w]\n\t"
        "jne 1b"
        : PARCELOR_ROUND_OPERANDS
        : PARCELOR_SLOT_OPERANDS, [end] "m"(end), [half] "i"(Half * 16), "m"(space.wk));
    slots.v[0] = a;
    slots.v[4] = e;
}

// runFourRounds (above).
template <bool Odd>
__attribute__((always_inline)) inline void runFourRounds(WorkingVariables& vars, const RoundSpace& space,
                                                         const std::uint32_t* row)
{
    WorkingVariables& slots = vars;
    // a and e are where rounds 4i find them: slots 0 and 4 for i even, 4 and 0 for i odd.
    std::uint32_t a = slots.v[Odd ? 4 : 0], e = slots.v[Odd ? 0 : 4], x, y, z;
    if (Odd)
        asm(PARCELOR_ROUNDS_4_TO_7(0) : PARCELOR_ROUND_OPERANDS : PARCELOR_SLOT_OPERANDS, [half] "i"(0), "m"(space.wk));
    else
        asm(PARCELOR_ROUNDS_0_TO_3(0) : PARCELOR_ROUND_OPERANDS : PARCELOR_SLOT_OPERANDS, [half] "i"(0), "m"(space.wk));
    slots.v[Odd ? 0 : 4] = a;
    slots.v[Odd ? 4 : 0] = e;
}

#endif

// The words of one block four at a time in SSSE3 registers.
class BlockSchedule {
public:
    static constexpr std::size_t Blocks = 1;
    // Computes rows 0 ... 3 of wk (see RoundSpace) from the block.
    __attribute__((always_inline)) BlockSchedule(const unsigned char* block, const unsigned char*,
                                                 std::uint32_t (*wk)[8])
    {
#pragma GCC unroll 4
        for (int m = 0; m < 4; ++m) {
            m_w[m] = loadWords(block + 16 * m);
            storeWords(m_w[m] + loadConstants(m), wk[m]);
        }
    }
    // Computes row i of wk, for i = 4, 5 ... 15 in turn.
    __attribute__((always_inline)) void computeRow(int i, std::uint32_t (*wk)[8])
    {
        Words& w = m_w[i & 3];
        w = nextWords(w, m_w[(i + 1) & 3], m_w[(i + 2) & 3], m_w[(i + 3) & 3]);
        storeWords(w + loadConstants(i), wk[i]);
    }

private:
    Words m_w[4];
};

// Eight message words: four of one block in the lower half, the same four
// of the next block in the upper half, as AVX2's registers hold them.
typedef std::uint32_t WordPairs __attribute__((vector_size(32)));

// smallSigma0 and smallSigma1 on each word of x.
__attribute__((always_inline)) inline WordPairs smallSigma0(WordPairs x)
{
    return (x >> 7 | x << 25) ^ (x >> 18 | x << 14) ^ x >> 3;
}
__attribute__((always_inline)) inline WordPairs smallSigma1(WordPairs x)
{
    return (x >> 17 | x << 15) ^ (x >> 19 | x << 13) ^ x >> 10;
}

// nextWords on each half. The moves of two words within each half are
// written on 64-bit lanes, which the compiler turns into one instruction
// that stays within the halves (on 32-bit ones it crossed them, slower).
__attribute__((always_inline)) inline WordPairs nextWords(WordPairs w0, WordPairs w1, WordPairs w2, WordPairs w3)
{
    typedef std::uint64_t Lanes __attribute__((vector_size(32)));
    const Lanes zero = {};
    const WordPairs partial = w0 + smallSigma0(__builtin_shufflevector(w0, w1, 1, 2, 3, 8, 5, 6, 7, 12)) +
                              __builtin_shufflevector(w2, w3, 1, 2, 3, 8, 5, 6, 7, 12);
    const WordPairs lastTwo = WordPairs(__builtin_shufflevector(Lanes(w3), zero, 1, 5, 3, 7));
    const WordPairs firstTwo = partial + smallSigma1(lastTwo);
    return firstTwo + smallSigma1(WordPairs(__builtin_shufflevector(zero, Lanes(firstTwo), 0, 4, 2, 6)));
}

// The words of two blocks at once in AVX2 registers, every instruction of
// the schedule serving both.
class PairSchedule {
public:
    static constexpr std::size_t Blocks = 2;
    // Computes rows 0 ... 3 of wk from the blocks.
    __attribute__((always_inline)) PairSchedule(const unsigned char* first, const unsigned char* second,
                                                std::uint32_t (*wk)[8])
    {
#pragma GCC unroll 4
        for (int m = 0; m < 4; ++m) {
            m_w[m] = __builtin_shufflevector(loadWords(first + 16 * m), loadWords(second + 16 * m), 0, 1, 2, 3, 4, 5,
                                             6, 7);
            store(m, wk);
        }
    }
    // Computes row i of wk, for i = 4, 5 ... 15 in turn.
    __attribute__((always_inline)) void computeRow(int i, std::uint32_t (*wk)[8])
    {
        WordPairs& w = m_w[i & 3];
        w = nextWords(w, m_w[(i + 1) & 3], m_w[(i + 2) & 3], m_w[(i + 3) & 3]);
        store(i, wk);
    }

private:
    // Row i of wk from the words of m_w[i % 4].
    __attribute__((always_inline)) void store(int i, std::uint32_t (*wk)[8])
    {
        const Words constants = loadConstants(i);
        const WordPairs sum = m_w[i & 3] + __builtin_shufflevector(constants, constants, 0, 1, 2, 3, 0, 1, 2, 3);
        std::memcpy(wk[i], &sum, sizeof sum);
    }

    WordPairs m_w[4];
};

// Sets up vars for the rounds of state.
__attribute__((always_inline)) inline void startRounds(WorkingVariables& vars, const std::uint32_t state[8])
{
    std::memcpy(vars.v, state, sizeof vars.v);
    vars.ab[1] = state[1] ^ state[2];
}

// Adds the working variables after the 64 rounds to state.
__attribute__((always_inline)) inline void endRounds(const WorkingVariables& vars, std::uint32_t state[8])
{
    for (int j = 0; j < 8; ++j)
        state[j] += vars.v[j];
}

// Rounds 4i ... 4i + 3 of the first block, after computing row i + 4 of
// wk: the SIMD work of the schedule runs beside the scalar rounds (two or
// four rows at a time, before eight or sixteen rounds, measured slower).
template <int I, class Schedule>
__attribute__((always_inline)) inline void scheduleAndRun(Schedule& schedule, WorkingVariables& vars,
                                                          RoundSpace& space)
{
    if (I < 12)
        schedule.computeRow(I + 4, space.wk);
    runFourRounds<I % 2 == 1>(vars, space, space.wk[I]);
}

#if defined(__x86_64__)

// Rounds 4i ... 4i + 3 on the variables pinned below, after row i + 4.
#define PARCELOR_STEP(i)                                                                                              \
    if (i < 12)                                                                                                       \
        schedule.computeRow(i + 4, space.wk);                                                                         \
    row = space.wk[i];                                                                                                \
    if (i % 2)                                                                                                        \
        asm(PARCELOR_ROUNDS_4_TO_7(0) : PARCELOR_PINNED_OPERANDS : [half] "i"(0), "m"(space.wk));                     \
    else                                                                                                              \
        asm(PARCELOR_ROUNDS_0_TO_3(0) : PARCELOR_PINNED_OPERANDS : [half] "i"(0), "m"(space.wk));
#define PARCELOR_PINNED_OPERANDS                                                                                      \
    [v0] "+r"(v0), [v1] "+r"(v1), [v2] "+r"(v2), [v3] "+r"(v3), [v4] "+r"(v4), [v5] "+r"(v5), [v6] "+r"(v6),          \
        [v7] "+r"(v7), [y] "=&r"(y), [z0] "=&r"(z0), [z1] "=&r"(z1), [p] "+&r"(p), [q] "=&r"(q), [w] "+r"(row)

// The 64 rounds of the first block while the schedule computes rows 4 ...
// 15. The variables are pinned to registers: left to the compiler, they
// went to memory between the groups of rounds.
template <class Schedule, int... I>
__attribute__((always_inline)) inline void runScheduling(Schedule& schedule, WorkingVariables& vars,
                                                         RoundSpace& space, std::integer_sequence<int, I...>)
{
    register std::uint32_t v0 asm("r8") = vars.v[0];
    register std::uint32_t v1 asm("r9") = vars.v[1];
    register std::uint32_t v2 asm("r10") = vars.v[2];
    register std::uint32_t v3 asm("r11") = vars.v[3];
    register std::uint32_t v4 asm("r12") = vars.v[4];
    register std::uint32_t v5 asm("r13") = vars.v[5];
    register std::uint32_t v6 asm("r14") = vars.v[6];
    register std::uint32_t v7 asm("r15") = vars.v[7];
    register std::uint32_t p asm("rbx") = vars.ab[1];
    std::uint32_t y, z0, z1, q;
    const std::uint32_t* row;
    PARCELOR_STEP(0) PARCELOR_STEP(1) PARCELOR_STEP(2) PARCELOR_STEP(3)
    PARCELOR_STEP(4) PARCELOR_STEP(5) PARCELOR_STEP(6) PARCELOR_STEP(7)
    PARCELOR_STEP(8) PARCELOR_STEP(9) PARCELOR_STEP(10) PARCELOR_STEP(11)
    PARCELOR_STEP(12) PARCELOR_STEP(13) PARCELOR_STEP(14) PARCELOR_STEP(15)
    const std::uint32_t out[8] = {v0, v1, v2, v3, v4, v5, v6, v7};
    std::memcpy(vars.v, out, sizeof out);
    vars.ab[1] = p;
}

#else

template <class Schedule, int... I>
__attribute__((always_inline)) inline void runScheduling(Schedule& schedule, WorkingVariables& vars,
                                                         RoundSpace& space, std::integer_sequence<int, I...>)
{
    (scheduleAndRun<I>(schedule, vars, space), ...);
}

#endif

// Runs the compression function for Streams states over count blocks, with
// the schedule of Schedule (Schedule::Blocks blocks at a time) and the rounds
// above. The first stream's first block runs while the schedule computes the
// rows that its later rounds need, so that the SIMD work runs beside the
// scalar rounds; every other block and stream reads the rows stored.
template <int Streams, class Schedule>
__attribute__((always_inline)) inline void compressScheduledWords(std::uint32_t* const states[Streams],
                                                                   const unsigned char* blocks, std::size_t count)
{
    alignas(32) RoundSpace space;
    while (count > 0) {
        WorkingVariables vars;
        const std::size_t taken = count < Schedule::Blocks ? count : Schedule::Blocks;
        // A last block alone is scheduled twice where two are scheduled at once.
        Schedule schedule(blocks, taken > 1 ? blocks + 64 : blocks, space.wk);
        startRounds(vars, states[0]);
        runScheduling(schedule, vars, space, std::make_integer_sequence<int, 16>());
        endRounds(vars, states[0]);
        for (int s = 0; s < Streams; ++s)
            for (int half = s == 0 ? 1 : 0; half < static_cast<int>(taken); ++half) {
                startRounds(vars, states[s]);
                if (half == 0)
                    runRounds<0>(vars, space, space.wk, 8);
                else
                    runRounds<1>(vars, space, space.wk, 8);
                endRounds(vars, states[s]);
            }
        blocks += 64 * taken;
        count -= taken;
    }
}

#endif // PARCELOR_ROUNDS_IN_ASSEMBLY

// The rounds above with the schedule in SSSE3 registers, one block at a time.
template <int Streams>
PARCELOR_ALIGNS_STACK __attribute__((target("ssse3,bmi,bmi2"))) void compressBmi2(std::uint32_t* const states[Streams],
                                                                                  const unsigned char* blocks,
                                                                                  std::size_t count)
{
#ifdef PARCELOR_ROUNDS_IN_ASSEMBLY
    compressScheduledWords<Streams, BlockSchedule>(states, blocks, count);
#else
    for (int s = 0; s < Streams; ++s)
        compressScheduled(states[s], blocks, count);
#endif
}

// The rounds above with the schedule in AVX2 registers, two blocks at a time.
template <int Streams>
PARCELOR_ALIGNS_STACK __attribute__((target("avx2,bmi,bmi2"))) void compressAvx2(std::uint32_t* const states[Streams],
                                                                                  const unsigned char* blocks,
                                                                                  std::size_t count)
{
#ifdef PARCELOR_ROUNDS_IN_ASSEMBLY
    compressScheduledWords<Streams, PairSchedule>(states, blocks, count);
#else
    for (int s = 0; s < Streams; ++s)
        compressScheduled(states[s], blocks, count);
#endif
}

#endif

// Runs the compression function for Streams states over the same count
// blocks, with the code of engine (not Fastest, and one the processor has).
template <int Streams>
void compressWith(Sha256::Engine engine, std::uint32_t* const states[Streams], const unsigned char* blocks,
                  std::size_t count)
{
#ifdef PARCELOR_X86_ENGINES
    switch (engine) {
    case Sha256::Engine::ShaInstructions:
        return compressAccelerated<Streams>(states, blocks, count);
    // One schedule serves every stream: their rounds read its words from memory.
    case Sha256::Engine::Avx2:
        return compressAvx2<Streams>(states, blocks, count);
    case Sha256::Engine::Bmi2:
        return compressBmi2<Streams>(states, blocks, count);
    // Each stream makes a pass of its own, schedule and rounds: a second
    // pass over a shared schedule has no SIMD work beside its rounds, and
    // measured no faster than a pass that computes its own.
    case Sha256::Engine::Ssse3:
        for (int s = 0; s < Streams; ++s)
            compressSsse3(states[s], blocks, count);
        return;
    default:
        break;
    }
#endif
    compressPortable<Streams>(states, blocks, count);
}

} // namespace

bool Sha256::runs(Engine engine)
{
#ifdef PARCELOR_X86_ENGINES
    static const bool has[] = {true, processorHas(Engine::ShaInstructions), processorHas(Engine::Avx2),
                               processorHas(Engine::Bmi2), processorHas(Engine::Ssse3), true};
    return has[static_cast<int>(engine)];
#else
    return engine == Engine::Fastest || engine == Engine::Portable;
#endif
}

Sha256::Engine Sha256::fastest()
{
#if defined(__i386__)
    // With eight vector registers the schedule of two blocks spills, and
    // measured slower than that of one (the benchmark's comparison).
    const Engine order[] = {Engine::ShaInstructions, Engine::Bmi2, Engine::Avx2, Engine::Ssse3};
#else
    const Engine order[] = {Engine::ShaInstructions, Engine::Avx2, Engine::Bmi2, Engine::Ssse3};
#endif
    for (Engine engine : order)
        if (runs(engine))
            return engine;
    return Engine::Portable;
}

const char* Sha256::nameOf(Engine engine)
{
    static const char* const names[] = {"fastest", "SHA instructions", "AVX2+BMI2", "SSSE3+BMI2", "SSSE3", "portable"};
    return names[static_cast<int>(engine)];
}

Sha256::Sha256(Engine engine)
    : m_engine(engine == Engine::Fastest ? fastest() : runs(engine) ? engine : Engine::Portable)
{
    restart();
}

void Sha256::restart()
{
    std::memcpy(m_state, InitialState, sizeof m_state);
    m_blockUsed = 0;
    m_length = 0;
}

void Sha256::compress(const unsigned char* blocks, std::size_t count)
{
    std::uint32_t* const states[1] = {m_state};
    compressWith<1>(m_engine, states, blocks, count);
}

void Sha256::add(const void* data, std::size_t size)
{
    if (size == 0)
        return;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    m_length += size;
    if (m_blockUsed > 0) {
        const std::size_t taken = size < 64 - m_blockUsed ? size : 64 - m_blockUsed;
        std::memcpy(m_block + m_blockUsed, bytes, taken);
        m_blockUsed += taken;
        bytes += taken;
        size -= taken;
        if (m_blockUsed < 64)
            return;
        compress(m_block, 1);
        m_blockUsed = 0;
    }
    // Whole blocks straight from the caller's bytes; only a tail is kept.
    if (size >= 64)
        compress(bytes, size / 64);
    std::memcpy(m_block, bytes + size / 64 * 64, size % 64);
    m_blockUsed = size % 64;
}

void Sha256::addToBoth(Sha256& first, Sha256& second, const void* data, std::size_t size)
{
    if (first.m_engine != second.m_engine || first.m_blockUsed != second.m_blockUsed) {
        first.add(data, size);
        second.add(data, size);
        return;
    }
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    // Each up to the next block boundary, then the whole blocks together.
    const std::size_t head = std::min(size, (64 - first.m_blockUsed) % 64);
    first.add(bytes, head);
    second.add(bytes, head);
    bytes += head;
    size -= head;
    const std::size_t blocks = size / 64;
    if (blocks > 0) {
        std::uint32_t* const states[2] = {first.m_state, second.m_state};
        compressWith<2>(first.m_engine, states, bytes, blocks);
        first.m_length += blocks * 64;
        second.m_length += blocks * 64;
    }
    first.add(bytes + blocks * 64, size % 64);
    second.add(bytes + blocks * 64, size % 64);
}

std::string Sha256::finish()
{
    // The padding: one 1 bit, zeros up to 8 bytes short of a block, then the
    // length of the message in bits, big-endian.
    const std::uint64_t bits = m_length * 8;
    unsigned char padding[72] = {0x80};
    const std::size_t zeros = (m_blockUsed < 56 ? 56 : 120) - m_blockUsed;
    for (int i = 0; i < 8; ++i)
        padding[zeros + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    add(padding, zeros + 8);

    static const char hex[] = "0123456789abcdef";
    std::string digest;
    for (std::uint32_t word : m_state)
        for (int shift = 28; shift >= 0; shift -= 4)
            digest += hex[(word >> shift) & 0xF];
    restart();
    return digest;
}
