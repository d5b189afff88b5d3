// SHA-256 of both engines against the FIPS 180 examples and against sha256sum.
#include "EngineTestSupport.h"

#include "split/Sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

const Sha256::Engine Engines[] = {Sha256::Engine::Fastest, Sha256::Engine::Portable};

std::string digestOf(const std::string& bytes, Sha256::Engine engine, std::size_t run)
{
    Sha256 sha(engine);
    for (std::size_t at = 0; at < bytes.size(); at += run)
        sha.add(bytes.data() + at, std::min(run, bytes.size() - at));
    return sha.finish();
}

} // namespace

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
                SCOPED_TRACE(c.message.substr(0, 10) + " in runs of " + std::to_string(run) +
                             (engine == Sha256::Engine::Portable ? ", portable" : ""));
                EXPECT_EQ(digestOf(c.message, engine, run), c.digest);
            }
}

TEST(Sha256, AgreesWithSha256sumAroundBlockBoundaries)
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    const std::string flags((std::istreambuf_iterator<char>(cpuinfo)), std::istreambuf_iterator<char>());
    if (flags.find(" sha_ni") != std::string::npos) {
        EXPECT_TRUE(Sha256::accelerated()) << "this processor has the SHA instructions";
    }

    TempDir dir;
    for (std::size_t size : {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129, 191, 192, 4097, 91104})
        for (std::size_t run : {std::size_t(7), std::size_t(64), std::size_t(91104)}) {
            SCOPED_TRACE(std::to_string(size) + " bytes in runs of " + std::to_string(run));
            const std::string bytes = patternBytes(size, static_cast<unsigned>(size + 1));
            writeFile(dir / "random.bin", bytes);
            std::FILE* tool = popen(("sha256sum " + (dir / "random.bin")).c_str(), "r");
            ASSERT_NE(tool, nullptr);
            char answer[65] = {};
            ASSERT_EQ(std::fread(answer, 1, 64, tool), 64u) << "sha256sum gave no digest";
            pclose(tool);
            for (Sha256::Engine engine : Engines)
                EXPECT_EQ(digestOf(bytes, engine, run), answer);
            // Into two digests at once, at the same place within a block and at another.
            for (std::size_t ahead : {0, 64, 5}) {
                const std::string prefix(ahead, 'p');
                Sha256 first, second;
                second.add(prefix.data(), prefix.size());
                for (std::size_t at = 0; at < bytes.size(); at += run)
                    Sha256::addToBoth(first, second, bytes.data() + at, std::min(run, bytes.size() - at));
                EXPECT_EQ(first.finish(), answer);
                EXPECT_EQ(second.finish(), digestOf(prefix + bytes, Sha256::Engine::Portable, 64));
            }
        }
}
