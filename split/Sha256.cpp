// Sha256: the SHA-256 digest (FIPS 180-4) of bytes given in runs of any length.
#include "split/Sha256.h"

#include <algorithm>
#include <cstring>

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

std::uint32_t rotateRight(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

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
            w[t] = bigEndian32(blocks + 4 * static_cast<std::size_t>(t));
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
PARCELOR_ALIGNS_STACK __attribute__((target("sha,sse4.1,ssse3"))) void
compressAccelerated(std::uint32_t* const states[Streams], const unsigned char* blocks, std::size_t count)
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
            w[i] = _mm_shuffle_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * static_cast<std::size_t>(i))), byteSwap);
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i) {
            if (i >= 4) {
                // Words 4i ... from those 16, 12, 8 and 4 before them.
                __m128i next = _mm_sha256msg1_epu32(w[i & 3], w[(i + 1) & 3]);
                next = _mm_add_epi32(next, _mm_alignr_epi8(w[(i + 3) & 3], w[(i + 2) & 3], 4));
                w[i & 3] = _mm_sha256msg2_epu32(next, w[(i + 3) & 3]);
            }
            const __m128i words = _mm_add_epi32(
                w[i & 3],
                _mm_load_si128(reinterpret_cast<const __m128i*>(RoundConstants + 4 * static_cast<std::size_t>(i))));
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

// The scheduled engines' constants as the assembly reads them
// (Sha256Rounds.S): the round constants four to a row, each row twice (once
// for each half of an AVX2 register), and three byte masks for the shuffle,
// each twice too.
struct alignas(32) ScheduleTables {
    std::uint32_t k[16][8];
    unsigned char byteSwap[32]; // each word's bytes reversed: the words of a block from its big-endian bytes
    unsigned char lowPair[32];  // words 0 and 2 to words 0 and 1; 2 and 3 cleared
    unsigned char highPair[32]; // words 0 and 2 to words 2 and 3; 0 and 1 cleared
};

constexpr ScheduleTables makeScheduleTables()
{
    ScheduleTables tables{};
    for (int i = 0; i < 64; ++i)
        tables.k[i / 4][i % 4] = tables.k[i / 4][4 + i % 4] = RoundConstants[i];
    for (int half = 0; half < 32; half += 16)
        for (int i = 0; i < 16; ++i) {
            const int word = i / 4, byte = i % 4;
            tables.byteSwap[half + i] = static_cast<unsigned char>(4 * word + 3 - byte);
            // A byte with its top bit set clears the byte it lands in.
            tables.lowPair[half + i] = static_cast<unsigned char>(word < 2 ? 8 * word + byte : 0x80);
            tables.highPair[half + i] = static_cast<unsigned char>(word < 2 ? 0x80 : 8 * (word - 2) + byte);
        }
    return tables;
}

constexpr ScheduleTables Tables = makeScheduleTables();

} // namespace

// The compression function in assembly (Sha256Rounds.S) for count blocks,
// for first and, unless it is null, for second over the same blocks: the
// schedule in SSSE3 registers, one block at a time, or in AVX2 registers,
// two at a time (64-bit builds), beside rounds with BMI2's instructions or
// (parcelor_sha256_ssse3) without them.
extern "C" void parcelor_sha256_ssse3(std::uint32_t* first, std::uint32_t* second, const unsigned char* blocks,
                                      std::size_t count, const ScheduleTables* tables);
extern "C" void parcelor_sha256_ssse3_bmi2(std::uint32_t* first, std::uint32_t* second, const unsigned char* blocks,
                                           std::size_t count, const ScheduleTables* tables);
#if defined(__x86_64__)
extern "C" void parcelor_sha256_avx2_bmi2(std::uint32_t* first, std::uint32_t* second, const unsigned char* blocks,
                                          std::size_t count, const ScheduleTables* tables);
#endif

namespace {

// The assembly's engines for Streams (one or two) states. In 32-bit builds
// the AVX2 engine is the SSSE3+BMI2 one: eight vector registers leave two blocks'
// schedule no room, and the rounds, not the schedule, set the pace.
template <int Streams>
void compressInAssembly(Sha256::Engine engine, std::uint32_t* const states[Streams], const unsigned char* blocks,
                        std::size_t count)
{
    static_assert(Streams == 1 || Streams == 2, "the assembly takes one state or two");
    std::uint32_t* const second = Streams == 2 ? states[Streams - 1] : nullptr;
#if defined(__x86_64__)
    if (engine == Sha256::Engine::Avx2)
        return parcelor_sha256_avx2_bmi2(states[0], second, blocks, count, &Tables);
#endif
    if (engine == Sha256::Engine::Ssse3)
        return parcelor_sha256_ssse3(states[0], second, blocks, count, &Tables);
    parcelor_sha256_ssse3_bmi2(states[0], second, blocks, count, &Tables);
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
    case Sha256::Engine::ShaInstructions: return compressAccelerated<Streams>(states, blocks, count);
    // One schedule serves every stream: their rounds read its words from memory.
    case Sha256::Engine::Avx2:
    case Sha256::Engine::Bmi2:
    case Sha256::Engine::Ssse3: return compressInAssembly<Streams>(engine, states, blocks, count);
    default: break;
    }
#endif
    compressPortable<Streams>(states, blocks, count);
}

} // namespace

bool Sha256::runs(Engine engine)
{
#ifdef PARCELOR_X86_ENGINES
    static const bool has[] = {true,
                               processorHas(Engine::ShaInstructions),
                               processorHas(Engine::Avx2),
                               processorHas(Engine::Bmi2),
                               processorHas(Engine::Ssse3),
                               true};
    return has[static_cast<int>(engine)];
#else
    return engine == Engine::Fastest || engine == Engine::Portable;
#endif
}

Sha256::Engine Sha256::fastest()
{
#if defined(__i386__)
    // The same code (see compressInAssembly), and it needs no AVX state
    // saved by the system, which Windows XP does not.
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
    : m_engine(engine == Engine::Fastest ? fastest()
                   : runs(engine)        ? engine
                                         : Engine::Portable)
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
