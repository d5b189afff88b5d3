// One SHA-256 stream of one engine of ours against OpenSSL's, timed in turns.
//
//   sha256_versus ENGINE [--calls N]
//
// Hashes one hot buffer of 91,104 bytes (the split's chunk) N times (default
// 3,000) with Sha256 on ENGINE (a name of Sha256::nameOf) and N times with
// OpenSSL's SHA256_Update, one call of each after the other, and prints
// "ENGINE OURS THEIRS" in MB/s, each from its fastest call. On a virtual
// machine whose processors are shared the speed of a whole second varies by
// a sixth from second to second; the fastest of many calls of a fraction of
// a millisecond is the code's own. Prints nothing where the processor lacks
// ENGINE. OpenSSL's code is what OPENSSL_ia32cap lets it take.
//
// Built by bench/compare-openssl.sh for each bitness against that bitness's
// libcrypto, without OpenSSL's headers (the 32-bit ones are not installed):
// the three calls below are part of its stable interface.
#include "split/Sha256.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
int SHA256_Init(void* context);
int SHA256_Update(void* context, const void* data, std::size_t size);
int SHA256_Final(unsigned char* digest, void* context);
}

namespace {

constexpr std::size_t ChunkSize = 91104;

// The seconds f takes, by the steady clock.
template <typename F>
double secondsOf(F f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: sha256_versus ENGINE [--calls N]\n");
        return 2;
    }
    long calls = 3000;
    if (argc == 4 && std::strcmp(argv[2], "--calls") == 0)
        calls = std::atol(argv[3]);
    Sha256::Engine engine = Sha256::Engine::Fastest;
    for (Sha256::Engine e : {Sha256::Engine::ShaInstructions, Sha256::Engine::Avx2, Sha256::Engine::Bmi2,
                             Sha256::Engine::Ssse3, Sha256::Engine::Portable})
        if (std::strcmp(argv[1], Sha256::nameOf(e)) == 0)
            engine = e;
    if (engine == Sha256::Engine::Fastest) {
        std::fprintf(stderr, "sha256_versus: no engine is named %s\n", argv[1]);
        return 2;
    }
    if (!Sha256::runs(engine))
        return 0;

    std::vector<unsigned char> chunk(ChunkSize);
    for (std::size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<unsigned char>(i * 131 + 7);
    Sha256 ours(engine);
    alignas(16) unsigned char theirs[256]; // SHA256_CTX is 112 bytes
    SHA256_Init(theirs);
    double bestOurs = 1e9, bestTheirs = 1e9;
    for (long i = 0; i < calls; ++i) {
        bestOurs = std::min(bestOurs, secondsOf([&] { ours.add(chunk.data(), chunk.size()); }));
        bestTheirs = std::min(bestTheirs, secondsOf([&] { SHA256_Update(theirs, chunk.data(), chunk.size()); }));
    }
    unsigned char digest[32];
    SHA256_Final(digest, theirs);
    ours.finish();
    std::printf("%s %.1f %.1f\n", argv[1], ChunkSize / bestOurs / 1e6, ChunkSize / bestTheirs / 1e6);
    return 0;
}
