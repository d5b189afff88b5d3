// Every SHA-256 engine against the portable code, in the Windows builds (under Wine) as natively.
#include "Sha256TestCases.h"

#include "split/SplitChecks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(Sha256, KnownAnswersInRunsOfAnyLength)
{
    struct Case {
        std::string message, digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (Sha256::Engine engine : Engines)
        for (const Case& c : cases)
            for (std::size_t run : {std::size_t(1), std::size_t(63), std::size_t(64), std::size_t(91104)}) {
                SCOPED_TRACE(c.message.substr(0, 10) + " in runs of " + std::to_string(run) + ", " +
                             Sha256::nameOf(engine));
                EXPECT_EQ(digestOf(c.message, engine, run), c.digest);
            }
}

TEST(Sha256Engines, AgreeWithThePortableCodeAroundEveryBoundary)
{
    // The engines that schedule two blocks at once end a run on an odd block
    // or a tail; the split hands them a chunk, then a piece, at a time.
    const std::size_t boundaries[] = {0, 64, 128, CopyBufferSize, FloppyPieceSize};
    std::minstd_rand random(29);
    for (std::size_t boundary : boundaries)
        for (int draw = 0; draw < 6; ++draw) {
            const std::size_t size = boundary + random() % (4 * 64 + 1);
            const std::string bytes = patternBytes(size, static_cast<unsigned>(size));
            const std::string expected = digestOf(bytes, Sha256::Engine::Portable, bytes.size() + 1);
            for (Sha256::Engine engine : Engines) {
                SCOPED_TRACE(std::to_string(size) + " bytes, " + Sha256::nameOf(engine));
                EXPECT_EQ(digestOf(bytes, engine, CopyBufferSize), expected);
                // From an address that is no multiple of 4: the vector code loads the blocks unaligned.
                const std::string shifted = "abc" + bytes;
                Sha256 odd(engine);
                odd.add(shifted.data() + 3, size);
                EXPECT_EQ(odd.finish(), expected);
                // The file's digest and a piece's that starts one block into the file, through one schedule.
                const std::size_t ahead = std::min<std::size_t>(size, 64);
                Sha256 file(engine), piece(engine);
                file.add(bytes.data(), ahead);
                Sha256::addToBoth(file, piece, bytes.data() + ahead, size - ahead);
                EXPECT_EQ(file.finish(), expected);
                EXPECT_EQ(piece.finish(), digestOf(bytes.substr(ahead), Sha256::Engine::Portable, size + 1));
            }
        }
}
