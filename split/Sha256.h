// Sha256: the SHA-256 digest (FIPS 180-4) of bytes given in runs of any length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
public:
    // The code that computes the digest: the processor's SHA instructions;
    // the message schedule of two blocks at once in AVX2 registers and the
    // rounds in scalar ones with BMI2's rotations, in assembly (32-bit
    // builds run the next engine's code for it); the schedule of one block
    // in SSSE3 registers with the same rounds; the same rounds without
    // BMI2 (rotations and and-not from older instructions); or plain C++,
    // which runs everywhere. Fastest takes the first of
    // these the processor (and for AVX2 the system) has, in 32-bit builds
    // SSSE3 with BMI2 before AVX2; naming one lets each be checked on one
    // machine, and one the processor lacks gives way to the portable code.
    enum class Engine { Fastest, ShaInstructions, Avx2, Bmi2, Ssse3, Portable };

    explicit Sha256(Engine engine = Engine::Fastest);

    // Appends size bytes at data to the message.
    void add(const void* data, std::size_t size);
    // Appends the same size bytes to both messages, as first.add and
    // second.add do, but faster where both use the same engine and stand at
    // the same place within a 64-byte block (a piece that starts on a block
    // boundary of the file, as every piece of a size in KB or MB does): the
    // two share one message schedule, and with the SHA instructions their
    // rounds interleave.
    static void addToBoth(Sha256& first, Sha256& second, const void* data, std::size_t size);
    // Ends the message and gives its digest as 64 lowercase hexadecimal
    // digits; the object then holds an empty message again.
    std::string finish();

    // Whether this processor runs the code of engine.
    static bool runs(Engine engine);
    // The engine Fastest stands for on this processor: never Fastest itself.
    static Engine fastest();
    // A short name of engine, for people.
    static const char* nameOf(Engine engine);

private:
    void restart();
    void compress(const unsigned char* blocks, std::size_t count);

    std::uint32_t m_state[8];
    unsigned char m_block[64]; // the bytes of a block not yet complete
    std::size_t m_blockUsed;
    std::uint64_t m_length; // bytes of the message so far
    Engine m_engine;        // never Fastest
};
