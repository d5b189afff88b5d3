// SHA-256 of every engine against the FIPS 180 examples and against sha256sum.
#include "EngineTestSupport.h"

#include "split/Sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

// An engine the processor lacks gives way to the portable code, which must
// then give the same digests.
const Sha256::Engine Engines[] = {Sha256::Engine::Fastest, Sha256::Engine::ShaInstructions, Sha256::Engine::Bmi2,
                                  Sha256::Engine::Ssse3, Sha256::Engine::Portable};

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
                SCOPED_TRACE(c.message.substr(0, 10) + " in runs of " + std::to_string(run) + ", " +
                             Sha256::nameOf(engine));
                EXPECT_EQ(digestOf(c.message, engine, run), c.digest);
            }
}

TEST(Sha256, AgreesWithSha256sumAroundBlockBoundaries)
{
    // The engines found against the processor's flags as the kernel reports them.
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, flags;
    while (flags.empty() && std::getline(cpuinfo, line))
        if (line.rfind("flags", 0) == 0)
            flags = line.substr(line.find(':') + 1) + " ";
    auto has = [&](const std::string& flag) { return flags.find(" " + flag + " ") != std::string::npos; };
    const bool bmi2 = has("ssse3") && has("bmi1") && has("bmi2");
    EXPECT_EQ(Sha256::runs(Sha256::Engine::ShaInstructions), has("sha_ni"));
    EXPECT_EQ(Sha256::runs(Sha256::Engine::Bmi2), bmi2);
    EXPECT_EQ(Sha256::runs(Sha256::Engine::Ssse3), has("ssse3"));
    EXPECT_EQ(Sha256::fastest(), has("sha_ni") ? Sha256::Engine::ShaInstructions
                                 : bmi2         ? Sha256::Engine::Bmi2
                                 : has("ssse3") ? Sha256::Engine::Ssse3
                                                : Sha256::Engine::Portable);
    for (Sha256::Engine engine : Engines)
        if (!Sha256::runs(engine))
            std::printf("This processor lacks the %s engine: its cases check the portable code in its place.\n",
                        Sha256::nameOf(engine));

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
            for (Sha256::Engine engine : Engines) {
                SCOPED_TRACE(Sha256::nameOf(engine));
                EXPECT_EQ(digestOf(bytes, engine, run), answer);
                // Into two digests at once, at the same place within a block and at another.
                for (std::size_t ahead : {0, 64, 5}) {
                    const std::string prefix(ahead, 'p');
                    Sha256 first(engine), second(engine);
                    second.add(prefix.data(), prefix.size());
                    for (std::size_t at = 0; at < bytes.size(); at += run)
                        Sha256::addToBoth(first, second, bytes.data() + at, std::min(run, bytes.size() - at));
                    EXPECT_EQ(first.finish(), answer);
                    EXPECT_EQ(second.finish(), digestOf(prefix + bytes, Sha256::Engine::Portable, 64));
                }
            }
        }
}
