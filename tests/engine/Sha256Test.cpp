// SHA-256 of every engine against sha256sum, and the engines found against the kernel's flags.
#include "EngineTestSupport.h"
#include "Sha256TestCases.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

TEST(Sha256, AgreesWithSha256sumAroundBlockBoundaries)
{
    // The engines found against the processor's flags as the kernel reports them.
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, flags;
    while (flags.empty() && std::getline(cpuinfo, line))
        if (line.rfind("flags", 0) == 0)
            flags = line.substr(line.find(':') + 1) + " ";
    auto has = [&](const std::string& flag) {
        return flags.find(" " + flag + " ") != std::string::npos;
    };
    const bool bmi2 = has("ssse3") && has("bmi1") && has("bmi2");
    // Linux saves the AVX registers wherever the processor has them.
    const bool avx2 = bmi2 && has("avx") && has("avx2") && has("xsave");
    EXPECT_EQ(Sha256::runs(Sha256::Engine::ShaInstructions), has("sha_ni"));
    EXPECT_EQ(Sha256::runs(Sha256::Engine::Avx2), avx2);
    EXPECT_EQ(Sha256::runs(Sha256::Engine::Bmi2), bmi2);
    EXPECT_EQ(Sha256::runs(Sha256::Engine::Ssse3), has("ssse3"));
    EXPECT_EQ(Sha256::fastest(),
              has("sha_ni")      ? Sha256::Engine::ShaInstructions
                  : avx2         ? Sha256::Engine::Avx2
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
