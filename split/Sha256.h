// Sha256: the SHA-256 digest (FIPS 180-4) of bytes given in runs of any length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
public:
    // Fastest uses the processor's SHA instructions where it has them and the
    // portable code elsewhere; Portable always uses the portable code, so that
    // both can be checked on one machine.
    enum class Engine { Fastest, Portable };

    explicit Sha256(Engine engine = Engine::Fastest);

    // Appends size bytes at data to the message.
    void add(const void* data, std::size_t size);
    // Appends the same size bytes to both messages, as first.add and
    // second.add do, but with the SHA instructions twice as fast where both
    // messages stand at the same place within a 64-byte block (a piece that
    // starts on a block boundary of the file, as every piece of a size in
    // KB or MB does).
    static void addToBoth(Sha256& first, Sha256& second, const void* data, std::size_t size);
    // Ends the message and gives its digest as 64 lowercase hexadecimal
    // digits; the object then holds an empty message again.
    std::string finish();

    // Whether Engine::Fastest uses the SHA instructions on this processor.
    static bool accelerated();

private:
    void restart();
    void compress(const unsigned char* blocks, std::size_t count);

    std::uint32_t m_state[8];
    unsigned char m_block[64]; // the bytes of a block not yet complete
    std::size_t m_blockUsed;
    std::uint64_t m_length; // bytes of the message so far
    bool m_accelerated;
};
