// Throughput of runSplit against a plain buffered copy of the same bytes, and what its hashing costs.
//
//   split_benchmark [--size BYTES] [--rounds N] [--dir FOLDER]
//
// Generates a file of BYTES (default 1 GiB), then, alternating, copies it
// into one file with a 91,104-byte buffer (the baseline), splits it with the
// preset piece size, splits it again through a host whose keepAlive checks a
// clock after every chunk, as a window that throttles its repaints would,
// and does the split's hashing alone, from memory. Prints the best MB/s of
// each, the ratios split/copy and keep-alive split/plain split, the time of one keepAlive call of either host against
// that of one chunk, the throughput of one SHA-256 stream with the
// processor's SHA instructions and with the portable code, and the peak
// resident memory of the process.
#include "split/Sha256.h"
#include "split/SplitChecks.h"
#include "split/SplitEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A host that answers lookups from the disk and shows nothing.
class QuietHost : public SplitHost {
public:
    std::string lastMessage;
    void showMessage(const std::string& text, MessageIcon) override { lastMessage = text; }
    PathKind lookUpPath(const std::string& path) override
    {
        std::error_code error;
        if (!fs::exists(path, error))
            return PathKind::Missing;
        return fs::is_directory(path, error) ? PathKind::Directory : PathKind::File;
    }
    void startProgress(int) override {}
    void stepProgress() override {}
    void hideProgress() override {}
};

// A host that, like a window, looks at a clock after every chunk and would
// paint at most every 50 ms.
class KeepAliveHost : public QuietHost {
public:
    long calls = 0, paints = 0;
    void keepAlive(std::int64_t, std::int64_t) override
    {
        ++calls;
        auto now = std::chrono::steady_clock::now();
        if (now >= m_nextPaint) {
            ++paints;
            m_nextPaint = now + std::chrono::milliseconds(50);
        }
    }

private:
    std::chrono::steady_clock::time_point m_nextPaint{};
};

// Bytes that vary, for the file and for hashing from memory.
std::vector<char> randomBlock(std::size_t size)
{
    std::vector<char> block(size);
    std::uint32_t state = 12345;
    for (char& c : block) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return block;
}

void generate(const std::string& path, std::uint64_t size)
{
    const std::vector<char> block = randomBlock(1 << 20);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    for (std::uint64_t left = size; left > 0;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        std::fwrite(block.data(), 1, n, file);
        left -= n;
    }
    std::fclose(file);
}

// The baseline: the same buffer size, one read and one write per chunk, into one file.
bool plainCopy(const std::string& from, const std::string& to)
{
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    if (!in || !out)
        return false;
    std::setvbuf(in, nullptr, _IONBF, 0);
    std::setvbuf(out, nullptr, _IONBF, 0);
    std::vector<char> buffer(CopyBufferSize);
    bool ok = true;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
        ok = ok && std::fwrite(buffer.data(), 1, n, out) == n;
    std::fclose(in);
    return std::fclose(out) == 0 && ok;
}

// The hashing that a split of size bytes with the preset does, without the
// files: each chunk of the split's sizes, from one buffer in memory, goes
// into its piece's digest and into the file's, so every byte is hashed twice.
void splitsHashing(std::uint64_t size, const std::vector<char>& chunk)
{
    Sha256 piece, file;
    for (std::uint64_t done = 0; done < size;) {
        const std::uint64_t inPiece = std::min<std::uint64_t>(FloppyPieceSize, size - done);
        for (std::uint64_t left = inPiece; left > 0;) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, CopyBufferSize));
            Sha256::addToBoth(piece, file, chunk.data(), n);
            left -= n;
        }
        piece.finish();
        done += inPiece;
    }
    file.finish();
}

// One SHA-256 stream over size bytes in chunks from memory.
void oneStream(std::uint64_t size, const std::vector<char>& chunk, Sha256::Engine engine)
{
    Sha256 sha(engine);
    for (std::uint64_t left = size; left > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
        sha.add(chunk.data(), n);
        left -= n;
    }
    sha.finish();
}

template <typename Work>
double secondsOf(Work work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Nanoseconds of one keepAlive call through the host interface, as the piece
// writer makes it, best of a few runs of many calls.
double nanosecondsPerKeepAlive(SplitHost& host)
{
    constexpr long Calls = 10000000;
    double best = 1e30;
    for (int run = 0; run < 5; ++run)
        best = std::min(best, secondsOf([&] {
            for (long i = 0; i < Calls; ++i)
                host.keepAlive(i, Calls);
        }));
    return best * 1e9 / Calls;
}

} // namespace

int main(int argc, char** argv)
{
    std::uint64_t size = 1ull << 30;
    int rounds = 3;
    fs::path folder = fs::temp_directory_path();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--size"))
            size = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--rounds"))
            rounds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--dir"))
            folder = argv[i + 1];
    }
    if (size > std::uint64_t(MaxPieces) * FloppyPieceSize) {
        std::fprintf(stderr, "at most %lld bytes fit 999 floppy pieces\n",
                     static_cast<long long>(MaxPieces) * FloppyPieceSize);
        return 2;
    }

    fs::path work = folder / ("parcelor-bench-" + std::to_string(::getpid()));
    fs::create_directories(work / "pieces");
    const std::string source = (work / "source.bin").string();
    generate(source, size);

    double bestCopy = 1e30, bestSplit = 1e30, bestKeepAlive = 1e30, bestHashing = 1e30;
    const std::vector<char> chunk = randomBlock(CopyBufferSize);
    QuietHost host;
    KeepAliveHost keepAliveHost;
    auto timeSplit = [&](QuietHost& splitHost, double& best) {
        best = std::min(best, secondsOf([&] {
            runSplit({source, (work / "pieces").string(), PresetSizeChoice, "", ""}, splitHost);
        }));
        if (splitHost.lastMessage.rfind("The file was split successfully.", 0) != 0)
            std::fprintf(stderr, "split failed: %s\n", splitHost.lastMessage.c_str());
        fs::remove_all(work / "pieces");
        fs::create_directories(work / "pieces");
    };
    for (int round = 0; round < rounds; ++round) {
        bestCopy = std::min(bestCopy, secondsOf([&] {
            if (!plainCopy(source, (work / "copy.bin").string()))
                std::fprintf(stderr, "baseline copy failed\n");
        }));
        fs::remove(work / "copy.bin");
        // Both splits take turns going first, so neither always finds a warmer cache.
        if (round % 2 == 0) {
            timeSplit(host, bestSplit);
            timeSplit(keepAliveHost, bestKeepAlive);
        } else {
            timeSplit(keepAliveHost, bestKeepAlive);
            timeSplit(host, bestSplit);
        }
        bestHashing = std::min(bestHashing, secondsOf([&] { splitsHashing(size, chunk); }));
    }
    double bestStream = 1e30;
    for (int round = 0; round < rounds; ++round)
        bestStream = std::min(bestStream, secondsOf([&] { oneStream(size, chunk, Sha256::Engine::Fastest); }));
    // The portable code is slow: one pass is enough to tell its speed.
    const double portableStream = secondsOf([&] { oneStream(size, chunk, Sha256::Engine::Portable); });
    fs::remove_all(work);

    // The hosts are picked through a value known only at run time, so the
    // compiler cannot make the calls direct.
    QuietHost emptyHost;
    KeepAliveHost clockHost;
    SplitHost* hosts[] = {&emptyHost, &clockHost};
    const double emptyCall = nanosecondsPerKeepAlive(*hosts[argc > 1000 ? 1 : 0]);
    const double clockCall = nanosecondsPerKeepAlive(*hosts[argc > 1000 ? 0 : 1]);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double megabytes = static_cast<double>(size) / 1e6;
    std::printf("file size:         %llu bytes, best of %d rounds\n", static_cast<unsigned long long>(size), rounds);
    std::printf("baseline copy:     %8.1f MB/s\n", megabytes / bestCopy);
    std::printf("runSplit (preset): %8.1f MB/s\n", megabytes / bestSplit);
    std::printf("ratio split/copy:  %8.3f\n", bestCopy / bestSplit);
    std::printf("runSplit, keepAlive clock check per chunk: %8.1f MB/s (%ld calls, %ld paints in %d runs)\n",
                megabytes / bestKeepAlive, keepAliveHost.calls, keepAliveHost.paints, rounds);
    std::printf("ratio keep-alive/plain split: %8.3f (throughput; 1 = no cost)\n", bestSplit / bestKeepAlive);
    const double chunksPerSplit = static_cast<double>(keepAliveHost.calls) / rounds;
    std::printf("one keepAlive call: %.1f ns empty, %.1f ns with the clock check; one chunk: %.1f us\n",
                emptyCall, clockCall, bestSplit * 1e6 / chunksPerSplit);
    std::printf("hashing alone:     %8.1f MB/s of the file, %.3f s (the split's hashing, from memory in its\n"
                "                   chunks: every byte into its piece's SHA-256 and the file's, %.0f MB hashed)\n",
                megabytes / bestHashing, bestHashing, 2 * megabytes);
    std::printf("split with hashing:    %8.1f MB/s, %.3f s (runSplit)\n", megabytes / bestSplit, bestSplit);
    std::printf("one SHA-256 stream: %8.1f MB/s with %s, %8.1f MB/s portable\n", megabytes / bestStream,
                Sha256::accelerated() ? "the SHA instructions" : "the portable code (no SHA instructions here)",
                megabytes / portableStream);
    std::printf("peak memory:       %ld KiB resident\n", usage.ru_maxrss);
    return 0;
}
