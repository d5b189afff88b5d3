// What the SHA-256 tests share, natively and in the Windows builds: every
// engine, a digest taken in runs, and bytes that vary with a seed.
#pragma once

#include "split/Sha256.h"

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>

// An engine the processor lacks gives way to the portable code, which must
// then give the same digests.
inline constexpr Sha256::Engine Engines[] = {Sha256::Engine::Fastest, Sha256::Engine::ShaInstructions,
                                             Sha256::Engine::Avx2,    Sha256::Engine::Bmi2,
                                             Sha256::Engine::Ssse3,   Sha256::Engine::Portable};

// The digest of bytes added in runs of run bytes.
inline std::string digestOf(const std::string& bytes, Sha256::Engine engine, std::size_t run)
{
    Sha256 sha(engine);
    for (std::size_t at = 0; at < bytes.size(); at += run)
        sha.add(bytes.data() + at, std::min(run, bytes.size() - at));
    return sha.finish();
}

// Bytes that differ from position to position, so a misplaced chunk shows.
inline std::string patternBytes(std::size_t size, unsigned seed = 1)
{
    std::minstd_rand random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}
