// Throughput of runSplit against a plain copy of the same bytes, with its digests on other threads and without.
//
//   split_benchmark [--size BYTES] [--rounds N] [--dir FOLDER] [--process-size BYTES]
//   split_benchmark --one-split FILE FOLDER
//
// Generates a file of BYTES (default 1 GiB) in FOLDER, then, in each of N
// rounds (default 3), copies it into one file with a 91,104-byte buffer (the
// baseline) and splits it in every way below, taking turns at going first so
// that none always finds the cache warmer; prints the best MB/s of each and
// its ratio to the copy:
//   - the preset piece size, with the digests' worker and without it;
//   - the same through a host whose keepAlive reads a clock after every
//     chunk, as the window's does;
//   - a custom size that is a multiple of 64 bytes, whose pieces' digests
//     share the file's message schedule, and one byte less, whose do not,
//     with the worker and without;
//   - the preset with each SHA-256 engine the processor has: one worker for
//     both digests, a second for the pieces' forced on, and no worker.
// Then, from memory: the split's hashing alone (each chunk into its piece's
// SHA-256 and the file's through one schedule) and one SHA-256 stream on each
// engine, the fastest of which bounds any split: the file's digest is one
// chain of blocks; each engine's split against its stream, and the split with
// two workers on four processors predicted: the slowest of the copy and the
// stream. Then the cost of one keepAlive call, and the peak memory.
// Natively, last, whole processes on a file of --process-size bytes (default
// 768 MiB): this program splitting it once (--one-split) against coreutils'
// split -b 1457664, each started afresh, with their peak memories.
// (bench/compare-openssl.sh times one stream beside OpenSSL's, call by
// call: bench/Sha256Versus.cpp.)
#include "split/Sha256.h"
#include "split/SplitChecks.h"
#include "split/SplitEngine.h"

#include "QuietHost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

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

// The hashing that a split of size bytes into pieces of pieceSize does,
// without the files, on one thread: each chunk of the split's sizes, from one
// buffer in memory, into its piece's digest and into the file's.
void splitsHashing(std::uint64_t size, std::int32_t pieceSize, const std::vector<char>& chunk)
{
    Sha256 piece, file;
    for (std::uint64_t done = 0; done < size;) {
        const std::uint64_t inPiece = std::min<std::uint64_t>(static_cast<std::uint64_t>(pieceSize), size - done);
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

// The load averages of the machine, where the system tells them.
std::string machineLoad()
{
    char text[128] = "";
    std::FILE* file = std::fopen("/proc/loadavg", "r");
    if (!file)
        return "not known here";
    const bool read = std::fgets(text, sizeof text, file) != nullptr;
    std::fclose(file);
    std::string load = read ? text : "not known here";
    if (!load.empty() && load.back() == '\n')
        load.pop_back();
    return load;
}

// The most memory the process has held at once, in KiB.
long peakMemoryKiB()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

int processId()
{
#ifdef _WIN32
    return static_cast<int>(GetCurrentProcessId());
#else
    return static_cast<int>(::getpid());
#endif
}

// One way of splitting that the rounds time.
struct SplitWay {
    std::string label;
    std::string sizeChoice, customSize, sizeUnit;
    SplitOptions options;
    QuietHost* host;
    double best = 1e30;
};

SplitOptions withWorker(SplitOptions::Worker worker, Sha256::Engine engine = Sha256::Engine::Fastest,
                        SplitOptions::PieceWorker pieceWorker = SplitOptions::PieceWorker::Never)
{
    SplitOptions options;
    options.worker = worker;
    options.sha256 = engine;
    options.pieceWorker = pieceWorker;
    return options;
}

// Both digests of addToBoth over size bytes in chunks from memory.
void twoStreams(std::uint64_t size, const std::vector<char>& chunk, Sha256::Engine engine)
{
    Sha256 first(engine), second(engine);
    for (std::uint64_t left = size; left > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
        Sha256::addToBoth(first, second, chunk.data(), n);
        left -= n;
    }
    first.finish();
    second.finish();
}

// Every engine but Fastest, the fastest first.
const Sha256::Engine AllEngines[] = {Sha256::Engine::ShaInstructions, Sha256::Engine::Avx2, Sha256::Engine::Bmi2,
                                     Sha256::Engine::Ssse3, Sha256::Engine::Portable};
constexpr int EngineCount = sizeof AllEngines / sizeof AllEngines[0];

// The best seconds of one stream and, unless bestTwo is null, of two at once
// (addToBoth) over size bytes from memory, for each engine of AllEngines the
// processor has.
void timeStreams(std::uint64_t size, const std::vector<char>& chunk, int rounds, double bestOne[EngineCount],
                 double bestTwo[EngineCount])
{
    std::fill(bestOne, bestOne + EngineCount, 1e30);
    if (bestTwo)
        std::fill(bestTwo, bestTwo + EngineCount, 1e30);
    for (int round = 0; round < rounds; ++round)
        for (int e = 0; e < EngineCount; ++e)
            if (Sha256::runs(AllEngines[e])) {
                bestOne[e] = std::min(bestOne[e], secondsOf([&] { oneStream(size, chunk, AllEngines[e]); }));
                if (bestTwo)
                    bestTwo[e] = std::min(bestTwo[e], secondsOf([&] { twoStreams(size, chunk, AllEngines[e]); }));
            }
}

// SHA-256 from memory on each engine the processor has, one stream and two
// at once (addToBoth), with their ratios to the portable code's.
void printStreams(std::uint64_t size, const double bestOne[EngineCount], const double bestTwo[EngineCount], int rounds)
{
    const double megabytes = static_cast<double>(size) / 1e6;
    std::printf("\nSHA-256 from memory, best of %d; two = addToBoth, per byte given (hashed twice); x = ratio to "
                "portable's:\n",
                rounds);
    const double portableOne = bestOne[EngineCount - 1], portableTwo = bestTwo[EngineCount - 1];
    for (int e = 0; e < EngineCount; ++e)
        if (Sha256::runs(AllEngines[e]))
            std::printf("  %-16s one stream %8.1f MB/s %5.2f x, two %8.1f MB/s %5.2f x (two/one %.2f)\n",
                        Sha256::nameOf(AllEngines[e]), megabytes / bestOne[e], portableOne / bestOne[e],
                        megabytes / bestTwo[e], portableTwo / bestTwo[e], bestOne[e] / bestTwo[e]);
        else
            std::printf("  %-16s not on this processor\n", Sha256::nameOf(AllEngines[e]));
    std::printf("  Fastest here: %s\n", Sha256::nameOf(Sha256::fastest()));
}

#ifndef _WIN32
// Runs program with its arguments and waits for it: its wall time in seconds
// and its peak memory in KiB; a negative time when it fails.
double timeProcess(const std::vector<std::string>& arguments, long& peakKiB)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return -1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// This program splitting a file once, from its start to its end, against
// coreutils' split with the same piece size, alternately.
void compareProcesses(const fs::path& work, std::uint64_t size, int rounds)
{
    const std::string source = (work / "process.bin").string();
    generate(source, size);
    const fs::path pieces = work / "process-pieces";
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    double bestEngine = 1e30, bestCoreutils = 1e30;
    long engineKiB = 0, coreutilsKiB = 0;
    for (int round = 0; round < 2 * rounds; ++round) {
        fs::create_directories(pieces);
        long peak = 0;
        const bool engine = round % 2 == 0;
        const double seconds = engine ? timeProcess({self, "--one-split", source, pieces.string()}, peak)
                                      : timeProcess({"split", "-b", std::to_string(FloppyPieceSize), "-d", "-a", "3",
                                                     source, (pieces / "process.").string()},
                                                    peak);
        if (seconds < 0)
            std::fprintf(stderr, "%s failed\n", engine ? "the one split" : "coreutils' split");
        else if (engine) {
            bestEngine = std::min(bestEngine, seconds);
            engineKiB = std::max(engineKiB, peak);
        } else {
            bestCoreutils = std::min(bestCoreutils, seconds);
            coreutilsKiB = std::max(coreutilsKiB, peak);
        }
        fs::remove_all(pieces);
    }
    fs::remove(source);
    std::printf("\nwhole processes, %llu bytes into pieces of %d, best of %d each:\n",
                static_cast<unsigned long long>(size), FloppyPieceSize, rounds);
    std::printf("  this program, one split:    %6.3f s, peak memory %ld KiB\n", bestEngine, engineKiB);
    std::printf("  coreutils split -b %d: %6.3f s, peak memory %ld KiB\n", FloppyPieceSize, bestCoreutils,
                coreutilsKiB);
    std::printf("  ratio this program/coreutils: %.2f\n", bestEngine / bestCoreutils);
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && !std::strcmp(argv[1], "--one-split")) {
        QuietHost host;
        runSplit({argv[2], argv[3], PresetSizeChoice, "", ""}, host);
        return host.lastMessage.rfind("The file was split successfully.", 0) == 0 ? 0 : 1;
    }

    std::uint64_t size = 1ull << 30, processSize = 768ull << 20;
    int rounds = 3;
    fs::path folder = fs::temp_directory_path();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--size"))
            size = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--rounds"))
            rounds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--dir"))
            folder = argv[i + 1];
        else if (!std::strcmp(argv[i], "--process-size"))
            processSize = std::strtoull(argv[i + 1], nullptr, 10);
    }
    // A custom size for at most 999 pieces, a multiple of 64, and one byte less.
    const std::int64_t alignedSize = std::max<std::int64_t>(64, (static_cast<std::int64_t>(size) / 990 + 63) / 64 * 64);
    if (size > std::uint64_t(MaxPieces) * FloppyPieceSize || alignedSize > 999999999) {
        std::fprintf(stderr, "at most %lld bytes fit 999 floppy pieces\n",
                     static_cast<long long>(MaxPieces) * FloppyPieceSize);
        return 2;
    }
    std::printf("machine load at the start (1, 5, 15 minutes): %s\n", machineLoad().c_str());

    fs::path work = folder / ("parcelor-bench-" + std::to_string(processId()));
    fs::create_directories(work / "pieces");
    const std::string source = (work / "source.bin").string();
    generate(source, size);

    using Worker = SplitOptions::Worker;
    using PieceWorker = SplitOptions::PieceWorker;
    const std::string aligned = std::to_string(alignedSize), unaligned = std::to_string(alignedSize - 1);
    QuietHost host;
    KeepAliveHost keepAliveHost;
    std::vector<SplitWay> ways = {
        {"preset, worker", PresetSizeChoice, "", "", withWorker(Worker::Always), &host},
        {"preset, no worker", PresetSizeChoice, "", "", withWorker(Worker::Never), &host},
        {"preset, worker, keepAlive clock", PresetSizeChoice, "", "", withWorker(Worker::Always), &keepAliveHost},
        {"custom (multiple of 64), worker", "Custom size...", aligned, "Bytes", withWorker(Worker::Always), &host},
        {"custom (multiple of 64), no worker", "Custom size...", aligned, "Bytes", withWorker(Worker::Never), &host},
        {"custom (one byte less), worker", "Custom size...", unaligned, "Bytes", withWorker(Worker::Always), &host},
        {"custom (one byte less), no worker", "Custom size...", unaligned, "Bytes", withWorker(Worker::Never), &host},
    };
    // Each engine the processor has: one worker for both digests, a second
    // for the pieces' forced on, and no worker.
    const std::size_t firstEngineWay = ways.size();
    for (Sha256::Engine engine : AllEngines)
        if (Sha256::runs(engine)) {
            const std::string name = std::string("preset, ") + Sha256::nameOf(engine);
            ways.push_back({name + ", worker", PresetSizeChoice, "", "", withWorker(Worker::Always, engine), &host});
            ways.push_back({name + ", two workers", PresetSizeChoice, "", "",
                            withWorker(Worker::Always, engine, PieceWorker::Always), &host});
            ways.push_back({name + ", no worker", PresetSizeChoice, "", "", withWorker(Worker::Never, engine), &host});
        }
    const std::size_t wayCount = ways.size();

    double bestCopy = 1e30, bestHashing = 1e30, bestUnalignedHashing = 1e30;
    const std::vector<char> chunk = randomBlock(CopyBufferSize);
    for (int round = 0; round < rounds; ++round) {
        bestCopy = std::min(bestCopy, secondsOf([&] {
                                if (!plainCopy(source, (work / "copy.bin").string()))
                                    std::fprintf(stderr, "baseline copy failed\n");
                            }));
        fs::remove(work / "copy.bin");
        for (std::size_t i = 0; i < wayCount; ++i) {
            SplitWay& way = ways[(i + static_cast<std::size_t>(round)) % wayCount];
            way.best = std::min(
                way.best, secondsOf([&] {
                    runSplit({source, (work / "pieces").string(), way.sizeChoice, way.customSize, way.sizeUnit},
                             *way.host, systemScriptCodePage(), way.options);
                }));
            if (way.host->lastMessage.rfind("The file was split successfully.", 0) != 0)
                std::fprintf(stderr, "split failed: %s\n", way.host->lastMessage.c_str());
            fs::remove_all(work / "pieces");
            fs::create_directories(work / "pieces");
        }
        bestHashing = std::min(bestHashing, secondsOf([&] { splitsHashing(size, FloppyPieceSize, chunk); }));
        bestUnalignedHashing =
            std::min(bestUnalignedHashing,
                     secondsOf([&] { splitsHashing(size, static_cast<std::int32_t>(alignedSize - 1), chunk); }));
    }
    double bestOne[EngineCount], bestTwo[EngineCount];
    timeStreams(size, chunk, rounds, bestOne, bestTwo);
    double bestStream = 1e30;
    for (int e = 0; e < EngineCount; ++e)
        if (AllEngines[e] == Sha256::fastest())
            bestStream = bestOne[e];
    fs::remove_all(work / "pieces");

    const double megabytes = static_cast<double>(size) / 1e6;
    std::printf("file size: %llu bytes in %s, best of %d rounds; custom sizes %s and %s bytes\n",
                static_cast<unsigned long long>(size), folder.string().c_str(), rounds, aligned.c_str(),
                unaligned.c_str());
    std::printf("  %-44s %8.1f MB/s\n", "baseline copy (same 91,104-byte buffer)", megabytes / bestCopy);
    for (const SplitWay& way : ways)
        std::printf("  runSplit, %-34s %8.1f MB/s  x %.3f of the copy\n", way.label.c_str(), megabytes / way.best,
                    bestCopy / way.best);
    std::printf("  worker/no worker: preset %.2f, custom %.2f and %.2f\n", ways[1].best / ways[0].best,
                ways[4].best / ways[3].best, ways[6].best / ways[5].best);
    std::printf("  keep-alive/plain split: %.3f (throughput; 1 = no cost; %ld calls, %ld paints in %d runs)\n",
                ways[0].best / ways[2].best, keepAliveHost.calls, keepAliveHost.paints, rounds);
    std::printf("from memory, on one thread:\n");
    std::printf("  %-44s %8.1f MB/s of the file (every byte into its piece's digest and the file's)\n",
                "the split's hashing, preset", megabytes / bestHashing);
    std::printf("  %-44s %8.1f MB/s of the file (the two digests at different places in a block)\n",
                "the split's hashing, custom one byte less", megabytes / bestUnalignedHashing);
    std::printf("  %-44s %8.1f MB/s = x %.3f of the copy: the file's digest is one chain of blocks,\n"
                "  %-44s so no split can run faster\n",
                "the file's digest alone (fastest path)", megabytes / bestStream, bestCopy / bestStream, "");

    printStreams(size, bestOne, bestTwo, rounds);

    // With two workers each thread has one job: the split's own thread reads
    // and writes, as the plain copy does, and each worker computes one
    // stream. Given a processor each, the slowest of the three sets the pace.
    std::printf("\nthe split against its engine's one stream, and the split on four processors predicted:\n"
                "  (two workers' rate there = the slowest of the copy and one stream, each thread on a processor"
                " of its own)\n");
    std::size_t way = firstEngineWay;
    for (int e = 0; e < EngineCount; ++e)
        if (Sha256::runs(AllEngines[e])) {
            const double stream = megabytes / bestOne[e];
            std::printf("  %-16s stream %7.1f: worker %7.1f (x %.2f), two workers %7.1f (x %.2f), no worker %7.1f;"
                        " four processors %7.1f\n",
                        Sha256::nameOf(AllEngines[e]), stream, megabytes / ways[way].best, bestOne[e] / ways[way].best,
                        megabytes / ways[way + 1].best, bestOne[e] / ways[way + 1].best, megabytes / ways[way + 2].best,
                        std::min(stream, megabytes / bestCopy));
            way += 3;
        }
    fs::remove_all(work);

    // The hosts are picked through a value known only at run time, so the
    // compiler cannot make the calls direct.
    QuietHost emptyHost;
    KeepAliveHost clockHost;
    SplitHost* hosts[] = {&emptyHost, &clockHost};
    const double emptyCall = nanosecondsPerKeepAlive(*hosts[argc > 1000 ? 1 : 0]);
    const double clockCall = nanosecondsPerKeepAlive(*hosts[argc > 1000 ? 0 : 1]);
    const double chunksPerSplit = static_cast<double>(keepAliveHost.calls) / rounds;
    std::printf("\none keepAlive call: %.1f ns empty, %.1f ns with the clock check; one chunk: %.1f us\n", emptyCall,
                clockCall, ways[0].best * 1e6 / chunksPerSplit);
    std::printf("peak memory of this process: %ld KiB\n", peakMemoryKiB());

#ifndef _WIN32
    fs::create_directories(work);
    compareProcesses(work, processSize, rounds);
    fs::remove_all(work);
#else
    (void)processSize;
    std::printf("whole processes against coreutils' split: timed by the native build only\n");
#endif
    std::printf("machine load at the end (1, 5, 15 minutes): %s\n", machineLoad().c_str());
    return 0;
}
