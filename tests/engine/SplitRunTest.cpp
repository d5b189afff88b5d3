// Whole runs on real files: pieces, script, host calls, and every way a run can fail.
#include "EngineTestSupport.h"

#include "split/PieceNames.h"
#include "split/RejoinScript.h"
#include "split/Sha256.h"
#include "split/SplitChecks.h"
#include "split/SplitMessages.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

// The identity of one file made unreadable, as on a network folder that has
// gone away: stat of the path unreadableName, or fstat of a descriptor open
// on the path unreadableOpen, fails with EIO. Every other call goes to the C
// library. Defined here, these take the place of the library's in this program.
namespace {
std::string unreadableName, unreadableOpen;

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool failsOpen(int descriptor)
{
    if (unreadableOpen.empty())
        return false;
    char target[4096];
    const ssize_t size = readlink(("/proc/self/fd/" + std::to_string(descriptor)).c_str(), target, sizeof target);
    return size > 0 && std::string(target, static_cast<std::size_t>(size)) == unreadableOpen;
}

template <typename Status>
int statOf(const char* name, const char* path, Status* status)
{
    if (!unreadableName.empty() && unreadableName == path) {
        errno = EIO;
        return -1;
    }
    return next<int (*)(const char*, Status*)>(name)(path, status);
}

template <typename Status>
int fstatOf(const char* name, int descriptor, Status* status)
{
    if (failsOpen(descriptor)) {
        errno = EIO;
        return -1;
    }
    return next<int (*)(int, Status*)>(name)(descriptor, status);
}
} // namespace

extern "C" {
int stat(const char* path, struct stat* status) noexcept
{
    return statOf("stat", path, status);
}
int stat64(const char* path, struct stat64* status) noexcept
{
    return statOf("stat64", path, status);
}
int fstat(int descriptor, struct stat* status) noexcept
{
    return fstatOf("fstat", descriptor, status);
}
int fstat64(int descriptor, struct stat64* status) noexcept
{
    return fstatOf("fstat64", descriptor, status);
}
}

namespace {

const std::string Custom = "Custom size...";

std::string successText(const std::string& fileName, const std::string& baseName)
{
    return "The file was split successfully.\nTo recreate " + fileName + " run the program " + baseName + ".bat.";
}

std::string success(const std::string& fileName, const std::string& baseName)
{
    return "message 64 " + successText(fileName, baseName);
}

std::string stop(const std::string& text)
{
    return "message 16 " + text;
}

// The host calls of a run that passed its checks and split into count pieces.
std::vector<std::string> progressCalls(const std::string& file, const std::string& dir, int count)
{
    std::vector<std::string> calls = {"look " + file, "look " + dir, "start " + std::to_string(count)};
    calls.insert(calls.end(), static_cast<std::size_t>(count), "step");
    return calls;
}

std::string concatenatedPieces(const TempDir& dir, const std::string& baseName, int count)
{
    std::string joined;
    for (int k = 1; k <= count; ++k)
        joined += readFile(dir /
                           (baseName + "." +
                            std::string(k < 10        ? "00"
                                            : k < 100 ? "0"
                                                      : "") +
                            std::to_string(k)));
    return joined;
}

// The SHA-256 of the pieces baseName.001 ... in dir and of the file they make.
SplitDigests digestsOnDisk(const TempDir& dir, const std::string& baseName, int count)
{
    SplitDigests digests;
    Sha256 file;
    for (int k = 1; k <= count; ++k) {
        const std::string bytes = readFile(dir / (baseName + "." + pieceNumberText(k)));
        Sha256 piece;
        piece.add(bytes.data(), bytes.size());
        digests.pieces.push_back(piece.finish());
        file.add(bytes.data(), bytes.size());
    }
    digests.file = file.finish();
    return digests;
}

SplitOptions withWorker(SplitOptions::Worker worker, Sha256::Engine engine = Sha256::Engine::Fastest,
                        SplitOptions::PieceWorker pieceWorker = SplitOptions::PieceWorker::Never)
{
    SplitOptions options;
    options.worker = worker;
    options.sha256 = engine;
    options.pieceWorker = pieceWorker;
    return options;
}

// The ways of computing the digests: a worker for the file's and another for
// the pieces' (with an engine other than the SHA instructions', which never
// take the second), one worker for both, and none.
struct Workers {
    const char* name;
    SplitOptions::Worker worker;
    SplitOptions::PieceWorker pieceWorker;
    Sha256::Engine engine;
};
const Workers WorkerOrNot[] = {
    {"two workers", SplitOptions::Worker::Always, SplitOptions::PieceWorker::Always, Sha256::Engine::Bmi2},
    {"worker", SplitOptions::Worker::Always, SplitOptions::PieceWorker::Never, Sha256::Engine::Fastest},
    {"no worker", SplitOptions::Worker::Never, SplitOptions::PieceWorker::Never, Sha256::Engine::Fastest},
};

// Read and write system calls made by this process so far.
std::pair<long, long> systemCallCounts()
{
    std::ifstream io("/proc/self/io");
    long reads = -1, writes = -1;
    for (std::string key; io >> key;) {
        long value;
        io >> value;
        if (key == "syscr:")
            reads = value;
        if (key == "syscw:")
            writes = value;
    }
    return {reads, writes};
}

} // namespace

TEST(SplitRun, ThreeFloppyPiecesRejoinToTheFile)
{
    TempDir source, pieces;
    const std::string bytes = patternBytes(3000000);
    writeFile(source / "big.zip", bytes);
    RecordingHost host;
    runSplit({source / "big.zip", pieces.path().string() + "/", PresetSizeChoice, "", ""}, host);

    std::vector<std::string> expected = progressCalls(source / "big.zip", pieces.path().string(), 3);
    expected.push_back(success("big.zip", "big"));
    expected.push_back("hide");
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(listFolder(pieces.path()), (std::vector<std::string>{"big.001", "big.002", "big.003", "big.bat"}));
    EXPECT_EQ(fs::file_size(pieces / "big.001"), 1457664u);
    EXPECT_EQ(fs::file_size(pieces / "big.002"), 1457664u);
    EXPECT_EQ(fs::file_size(pieces / "big.003"), 84672u);
    EXPECT_EQ(concatenatedPieces(pieces, "big", 3), bytes);
    EXPECT_EQ(
        readFile(pieces / "big.bat"),
        rejoinScriptText({"big", "big.zip", "big", "big.zip"}, 3, 1457664, 3000000, digestsOnDisk(pieces, "big", 3)));
}

TEST(SplitRun, PieceSizesAtTheEdges)
{
    struct Case {
        std::size_t length;
        std::string size, unit;
        std::vector<std::uintmax_t> pieceSizes;
    };
    const Case cases[] = {
        {100, "1", "KB", {100}},               // smaller than a piece
        {3072, "1", "KB", {1024, 1024, 1024}}, // exact multiple: last piece full
        {3073, "1", "KB", {1024, 1024, 1024, 1}},
        {999, "1", "Bytes", std::vector<std::uintmax_t>(999, 1)}, // the most pieces allowed
        {0, "10", "Bytes", {0}},                                  // an empty file gives one empty piece
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " in " + c.size + " " + c.unit);
        TempDir dir;
        const std::string bytes = patternBytes(c.length);
        writeFile(dir / "data.bin", bytes);
        RecordingHost host;
        runSplit({dir / "data.bin", dir.path().string(), Custom, c.size, c.unit}, host);
        const int count = static_cast<int>(c.pieceSizes.size());
        ASSERT_EQ(host.lastMessage(), successText("data.bin", "data"));
        for (int k = 1; k <= count; ++k)
            EXPECT_EQ(fs::file_size(dir /
                                    ("data." +
                                     std::string(k < 10        ? "00"
                                                     : k < 100 ? "0"
                                                               : "") +
                                     std::to_string(k))),
                      c.pieceSizes[static_cast<std::size_t>(k - 1)]);
        EXPECT_EQ(concatenatedPieces(dir, "data", count), bytes);
        const std::int64_t pieceSize = std::stoll(c.size) * (c.unit == "KB" ? 1024 : 1);
        EXPECT_EQ(readFile(dir / "data.bat"),
                  rejoinScriptText({"data", "data.bin", "data", "data.bin"}, count, pieceSize, std::int64_t(c.length),
                                   digestsOnDisk(dir, "data", count)));
        EXPECT_EQ(listFolder(dir.path()).size(), static_cast<std::size_t>(count) + 2);
    }
}

TEST(SplitRun, TheWorkerChangesNoByte)
{
    struct Case {
        std::size_t length;
        std::string size;
        Sha256::Engine engine;
    };
    const Case cases[] = {
        {3000000, "", Sha256::Engine::Fastest},          // the preset
        {10000000, "1000001", Sha256::Engine::Portable}, // the worker lags: pieces hashed on both sides
        {10000000, "4000000", Sha256::Engine::Fastest},  // pieces longer than the ring
        {99900, "100", Sha256::Engine::Fastest},         // 999 pieces shorter than a chunk
        {0, "10", Sha256::Engine::Fastest},              // one empty piece
        {3000000, "1000000", Sha256::Engine::Avx2},      // pieces that end inside a chunk
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " in pieces of " + (c.size.empty() ? "the preset" : c.size));
        TempDir source, out[3];
        writeFile(source / "data.bin", patternBytes(c.length));
        for (int way = 0; way < 3; ++way) {
            const Workers& workers = WorkerOrNot[way];
            RecordingHost host;
            runSplit({source / "data.bin", out[way].path().string(), c.size.empty() ? PresetSizeChoice : Custom, c.size,
                      "Bytes"},
                     host, systemScriptCodePage(),
                     withWorker(workers.worker, c.engine == Sha256::Engine::Fastest ? workers.engine : c.engine,
                                workers.pieceWorker));
            ASSERT_EQ(host.lastMessage(), successText("data.bin", "data"));
        }
        const std::vector<std::string> names = listFolder(out[2].path());
        for (int way = 0; way < 2; ++way) {
            SCOPED_TRACE(WorkerOrNot[way].name);
            ASSERT_EQ(listFolder(out[way].path()), names);
            for (const std::string& name : names)
                ASSERT_TRUE(readFile(out[way] / name) == readFile(out[2] / name)) << name;
        }
    }
}

TEST(SplitRun, OneReadAndOneWritePerChunk)
{
    TempDir dir;
    writeFile(dir / "data.bin", patternBytes(400000));
    RecordingHost host;
    auto [calibrationReads, calibrationWrites] = systemCallCounts();
    if (calibrationReads < 0)
        GTEST_SKIP() << "this system does not count system calls in /proc/self/io";
    auto [readsBefore, writesBefore] = systemCallCounts();
    const long ownReads = readsBefore - calibrationReads; // reading the counters reads too
    runSplit({dir / "data.bin", dir.path().string(), Custom, "200000", "Bytes"}, host);
    auto [readsAfter, writesAfter] = systemCallCounts();
    ASSERT_EQ(host.lastMessage(), successText("data.bin", "data"));
    // Chunks: 91,104 + 91,104 + 17,792 for each of the two pieces, and one
    // read that finds the end of the file; one write for the script.
    EXPECT_EQ(readsAfter - readsBefore - ownReads, 6 + 1);
    EXPECT_EQ(writesAfter - writesBefore - (writesBefore - calibrationWrites), 6 + 1);
}

TEST(SplitRun, KeepAliveAfterEveryChunkWritten)
{
    TempDir dir;
    writeFile(dir / "data.bin", patternBytes(300000));
    RecordingHost host;
    host.recordsKeepAlive = true;
    runSplit({dir / "data.bin", dir.path().string(), Custom, "200000", "Bytes"}, host);
    const std::vector<std::string> expected = {"look " + (dir / "data.bin"),
                                               "look " + dir.path().string(),
                                               "start 2",
                                               "keep 91104/200000",
                                               "keep 182208/200000",
                                               "keep 200000/200000",
                                               "step",
                                               "keep 91104/100000",
                                               "keep 100000/100000",
                                               "step",
                                               success("data.bin", "data"),
                                               "hide"};
    EXPECT_EQ(host.calls, expected);

    // The one piece of an empty file has no chunk to report.
    writeFile(dir / "data.bin", "");
    RecordingHost empty;
    empty.recordsKeepAlive = true;
    runSplit({dir / "data.bin", dir.path().string(), Custom, "10", "Bytes"}, empty);
    EXPECT_EQ(std::vector<std::string>(empty.calls.begin() + 2, empty.calls.begin() + 4),
              (std::vector<std::string>{"start 1", "step"}));
}

TEST(SplitRun, TooManyPiecesWritesNothing)
{
    TempDir dir;
    writeFile(dir / "data.bin", patternBytes(1000));
    RecordingHost host;
    runSplit({dir / "data.bin", dir.path().string(), Custom, "1", "Bytes"}, host);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"look " + (dir / "data.bin"), "look " + dir.path().string(),
                                        stop(SplitMessages::TooManyPieces)}));
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"data.bin"});
}

TEST(SplitRun, RefusedRequestsTouchNothing)
{
    TempDir dir;
    // Rebuilt beside its script, one of these would replace the running script or its scratch file.
    // Others have names that Windows gives a device, or leave the pieces no name.
    for (const char* name : {"data.bin", "install.bat", "SETUP.BAT", "Parcelor.TMP", "backup.001", "nul.bin", "Com1",
                             ".hidden", "aux .tar.gz"})
        writeFile(dir / name, "abc");
    fs::create_directory(dir.path() / "out");
    fs::create_directory(dir.path() / "lpt1.d");
    writeFile(dir / "lpt1.d/README", "abc");
    struct Case {
        SplitRequest request;
        std::string message;
    };
    using namespace SplitMessages;
    const Case cases[] = {
        {{"", dir / "out", PresetSizeChoice, "", ""}, SplitMessages::NoFile},
        {{dir / "nothing.bin", dir / "out", Custom, "", ""}, SplitMessages::FileNotFound},
        {{"\"" + (dir / "data.bin"), dir / "out", PresetSizeChoice, "", ""}, SplitMessages::FileNotFound},
        {{dir / "out", dir / "out", PresetSizeChoice, "", ""}, SplitMessages::FileNotFound},
        {{dir / "data.bin", dir / "data.bin", PresetSizeChoice, "", ""}, SplitMessages::DirectoryNotFound},
        {{dir / "data.bin", dir / "out", Custom, "0", "KB"}, SplitMessages::SizeZero},
        {{dir / "data.bin", dir / "out", Custom, "12", "GB"}, SplitMessages::UnknownUnit},
        {{dir / "install.bat", dir / "out", PresetSizeChoice, "", ""}, fill(NamesTheScript, {"install.bat"})},
        {{dir / "SETUP.BAT", dir / "out", PresetSizeChoice, "", ""}, fill(NamesTheScript, {"SETUP.BAT"})},
        {{dir / "Parcelor.TMP", dir / "out", PresetSizeChoice, "", ""}, fill(ScratchName, {"Parcelor.TMP"})},
        // Its script would take piece 1 for the file already there, and a yes would overwrite it.
        {{dir / "backup.001", dir / "out", PresetSizeChoice, "", ""}, fill(PieceName, {"backup.001"})},
        {{dir / "nul.bin", dir / "out", PresetSizeChoice, "", ""}, fill(DeviceName, {"nul"})},
        {{dir / "Com1", dir / "out", PresetSizeChoice, "", ""}, fill(DeviceName, {"Com1"})},
        {{dir / "aux .tar.gz", dir / "out", PresetSizeChoice, "", ""}, fill(DeviceName, {"aux .tar"})},
        {{dir / "lpt1.d/README", dir / "out", PresetSizeChoice, "", ""}, fill(DeviceName, {"lpt1"})},
        {{dir / ".hidden", dir / "out", PresetSizeChoice, "", ""}, fill(NoBaseName, {".hidden"})},
        {{"/dev/null", dir / "out", PresetSizeChoice, "", ""}, SourceNotOnDisk},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        runSplit(c.request, host);
        EXPECT_EQ(host.calls.back(), stop(c.message));
        EXPECT_EQ(host.messages.size(), 1u);
        EXPECT_TRUE(fs::is_empty(dir.path() / "out"));
    }
}

TEST(SplitRun, NeverOverwritesTheFileBeingSplit)
{
    TempDir dir;
    fs::create_directories(dir.path() / "pieces");
    const std::string bytes = patternBytes(5000);
    // The file has the name under which its script is written, or is reached
    // through another name: a hard link, a symbolic link.
    writeFile(dir / "pieces/REPORT.ba~", bytes);
    writeFile(dir / "data.bin", bytes);
    fs::create_hard_link(dir / "data.bin", dir / "pieces/data.001");
    writeFile(dir / "song.mp3", bytes);
    fs::create_symlink(dir / "song.mp3", dir / "pieces/song.bat");
    struct Case {
        std::string file, directory, output;
    };
    const Case cases[] = {
        {dir / "pieces/REPORT.ba~", dir / "pieces", "rejoin script REPORT.bat"},
        {dir / "pieces/REPORT.ba~", dir.path().string() + "/./pieces//", "rejoin script REPORT.bat"},
        {dir / "data.bin", dir / "pieces", "piece data.001"},
        {dir / "song.mp3", dir / "pieces", "rejoin script song.bat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " into " + c.directory);
        auto before = listFolder(dir.path() / "pieces");
        RecordingHost host;
        runSplit({c.file, c.directory, Custom, "1000", "Bytes"}, host);
        EXPECT_EQ(host.calls.size(), 3u) << "no progress before the refusal";
        EXPECT_EQ(host.lastMessage(), SplitMessages::fill(SplitMessages::OverwritesSource, {c.output}));
        EXPECT_EQ(readFile(c.file), bytes);
        EXPECT_EQ(listFolder(dir.path() / "pieces"), before);
    }
}

TEST(SplitRun, SourceThatCannotBeToldApartIsNeverOpenedForWriting)
{
    TempDir dir;
    fs::create_directories(dir.path() / "out");
    const std::string bytes = patternBytes(5000);
    // The source named as its own first piece (refused by its name before
    // anything is read), hard-linked as piece 2, named like the script's
    // temporary file; then the source itself unreadable.
    writeFile(dir / "out/self.001", bytes);
    writeFile(dir / "data.bin", bytes);
    fs::create_hard_link(dir / "data.bin", dir / "out/data.002");
    writeFile(dir / "out/self.ba~", bytes);
    struct Case {
        std::string file, unreadableName, unreadableOpen, message;
    };
    const Case cases[] = {
        {dir / "out/self.001", dir / "out/self.001", "", SplitMessages::fill(SplitMessages::PieceName, {"self.001"})},
        {dir / "data.bin", dir / "out/data.002", "", SplitMessages::FolderNotChecked},
        {dir / "out/self.ba~", dir / "out/self.ba~", "", SplitMessages::FolderNotChecked},
        {dir / "data.bin", "", dir / "data.bin", SplitMessages::ReadError},
    };
    // The identity goes once the host has looked both paths up.
    struct FailingHost : RecordingHost {
        const Case& c;
        explicit FailingHost(const Case& c) : c(c) { }
        PathKind lookUpPath(const std::string& path) override
        {
            const PathKind kind = RecordingHost::lookUpPath(path);
            if (calls.size() == 2) {
                unreadableName = c.unreadableName;
                unreadableOpen = c.unreadableOpen;
            }
            return kind;
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto before = listFolder(dir.path() / "out");
        FailingHost host(c);
        runSplit({c.file, dir / "out", Custom, "2000", "Bytes"}, host);
        unreadableName.clear();
        unreadableOpen.clear();
        EXPECT_EQ(host.calls, (std::vector<std::string>{"look " + c.file, "look " + dir / "out", stop(c.message)}));
        EXPECT_TRUE(readFile(c.file) == bytes);
        EXPECT_EQ(listFolder(dir.path() / "out"), before);
    }
}

TEST(SplitRun, ScriptNamesInItsInterpretersCodePage)
{
    TempDir dir;
    const std::string bytes = patternBytes(2500);
    writeFile(dir / "caf\xe9 cr\xe8me.bin", bytes);
    RecordingHost host;
    const Latin1ToDosCodePage dos;
    runSplit({dir / "caf\xe9 cr\xe8me.bin", dir.path().string(), Custom, "1000", "Bytes"}, host, dos);
    // Pieces and script on disk, and the message, keep the program's own names.
    ASSERT_EQ(host.lastMessage(), successText("caf\xe9 cr\xe8me.bin", "caf\xe9 cr\xe8me"));
    EXPECT_EQ(concatenatedPieces(dir, "caf\xe9 cr\xe8me", 3), bytes);
    // Inside the script every name is in the interpreter's bytes: copies, messages, size checks.
    const std::string script = readFile(dir / "caf\xe9 cr\xe8me.bat");
    const SplitDigests digests = digestsOnDisk(dir, "caf\xe9 cr\xe8me", 3);
    EXPECT_EQ(script,
              rejoinScriptText({"caf\x82 cr\x8Ame", "caf\x82 cr\x8Ame.bin", "caf\xc3\xa9 cr\xc3\xa8me",
                                "caf\xc3\xa9 cr\xc3\xa8me.bin"},
                               3, 1000, 2500, digests));
    EXPECT_EQ(script.find_first_of("\xe9\xe8"), std::string::npos);

    // Where the system has no conversion, the script holds the names as they came.
    RecordingHost plain;
    runSplit({dir / "caf\xe9 cr\xe8me.bin", dir.path().string(), Custom, "1000", "Bytes"}, plain);
    ASSERT_EQ(plain.lastMessage(), successText("caf\xe9 cr\xe8me.bin", "caf\xe9 cr\xe8me"));
    EXPECT_EQ(readFile(dir / "caf\xe9 cr\xe8me.bat"),
              rejoinScriptText({"caf\xe9 cr\xe8me", "caf\xe9 cr\xe8me.bin", "caf\xe9 cr\xe8me", "caf\xe9 cr\xe8me.bin"},
                               3, 1000, 2500, digests));
}

TEST(SplitRun, NameTheScriptCannotHoldWritesNothing)
{
    TempDir dir;
    fs::create_directory(dir.path() / "out");
    struct Case {
        std::string fileName, refusedName, scriptName;
    };
    const Case cases[] = {
        {"\x80uro.bin", "\x80uro", "\x80uro.bat"},    // the base name, first
        {"price.\x80", "price.\x80", "price.bat"},    // only the file name
        {"wild\x9f.txt", "wild\x9f", "wild\x9f.bat"}, // converted to a wildcard
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        writeFile(dir / c.fileName, "some bytes");
        RecordingHost host;
        const Latin1ToDosCodePage dos;
        runSplit({dir / c.fileName, dir / "out", Custom, "3", "Bytes"}, host, dos);
        EXPECT_EQ(host.calls,
                  (std::vector<std::string>{"look " + (dir / c.fileName), "look " + (dir / "out"),
                                            stop("The name " + c.refusedName +
                                                 " cannot be written into the rejoin script " + c.scriptName +
                                                 ": the character set in which the command "
                                                 "interpreter reads the script has no equivalent for "
                                                 "some of its characters.\n"
                                                 "Rename the file before splitting it.")}));
        EXPECT_TRUE(fs::is_empty(dir.path() / "out"));
    }
}

TEST(SplitRun, PieceThatCannotBeCreated)
{
    TempDir dir;
    writeFile(dir / "data.bin", patternBytes(3000));
    fs::create_directory(dir.path() / "data.002"); // takes the second piece's name
    RecordingHost host;
    runSplit({dir / "data.bin", dir.path().string(), Custom, "1", "KB"}, host);
    std::vector<std::string> expected = progressCalls(dir / "data.bin", dir.path().string(), 3);
    expected.resize(4); // the first piece was stepped, the second failed
    expected.push_back(stop(SplitMessages::OpenError));
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(fs::file_size(dir / "data.001"), 1024u);
    EXPECT_FALSE(fs::exists(dir / "data.003"));
    EXPECT_FALSE(fs::exists(dir / "data.bat"));
}

TEST(SplitRun, ScriptOfAnEarlierSplitNeverJoinsNewPieces)
{
    TempDir dir;
    writeFile(dir / "data.bin", patternBytes(3000));
    // The earlier script is removed before the first piece, so that a failed run leaves none.
    writeFile(dir / "data.bat", "an earlier split's script");
    fs::create_directory(dir.path() / "data.003"); // takes the third piece's name
    RecordingHost failing;
    runSplit({dir / "data.bin", dir.path().string(), Custom, "1", "KB"}, failing);
    EXPECT_EQ(failing.lastMessage(), SplitMessages::OpenError);
    EXPECT_FALSE(fs::exists(dir / "data.bat"));

    // One that cannot be removed refuses the run before anything is written.
    fs::remove(dir / "data.001");
    fs::remove(dir / "data.002");
    fs::create_directories(dir.path() / "data.bat/in use");
    RecordingHost refused;
    runSplit({dir / "data.bin", dir.path().string(), Custom, "1", "KB"}, refused);
    EXPECT_EQ(refused.calls,
              (std::vector<std::string>{"look " + (dir / "data.bin"), "look " + dir.path().string(),
                                        stop(SplitMessages::fill(SplitMessages::OldScript, {"data.bat"}))}));
    EXPECT_FALSE(fs::exists(dir / "data.001"));

    // The script is written under a name of its own first: one that cannot be created fails the run.
    fs::remove_all(dir.path() / "data.bat");
    fs::remove(dir.path() / "data.003");
    fs::create_directory(dir.path() / "data.ba~");
    RecordingHost noScript;
    runSplit({dir / "data.bin", dir.path().string(), Custom, "2", "KB"}, noScript);
    std::vector<std::string> expected = progressCalls(dir / "data.bin", dir.path().string(), 2);
    expected.push_back(stop(SplitMessages::OpenError)); // instead of the success message
    EXPECT_EQ(noScript.calls, expected);
    EXPECT_EQ(concatenatedPieces(dir, "data", 2), readFile(dir / "data.bin"));
    EXPECT_FALSE(fs::exists(dir / "data.bat"));
}

TEST(SplitRun, FileThatChangesWhileSplitLeavesNoScript)
{
    // Another program appends to the file, or cuts it short, while its first piece is written.
    struct : RecordingHost {
        std::string path;
        std::uintmax_t newSize = 0;
        void keepAlive(std::int64_t, std::int64_t) override
        {
            if (!path.empty())
                fs::resize_file(path, newSize);
            path.clear();
        }
    } hosts[2];
    hosts[0].newSize = 300008; // noticed by the read after the last piece
    hosts[1].newSize = 250000; // noticed by the last piece's reads
    for (auto& host : hosts) {
        SCOPED_TRACE(host.newSize);
        TempDir dir;
        writeFile(dir / "data.bin", patternBytes(300000));
        host.path = dir / "data.bin";
        runSplit({dir / "data.bin", dir.path().string(), Custom, "100000", "Bytes"}, host);
        EXPECT_EQ(host.calls.back(), stop(SplitMessages::SourceChanged));
        EXPECT_FALSE(fs::exists(dir / "data.bat"));
    }
    EXPECT_EQ(hosts[0].calls.end()[-2], "step") << "after the last piece";
}

TEST(SplitRun, FullDisk)
{
    TempDir source;
    SmallDisk smallDisk("256k");
    if (!smallDisk.mounted())
        GTEST_SKIP() << smallDisk.whyNot();
    const TempDir& disk = smallDisk.dir();

    const std::string bytes = patternBytes(1 << 20);
    writeFile(source / "data.bin", bytes);
    for (const Workers& workers : WorkerOrNot) {
        SCOPED_TRACE(workers.name);
        for (const std::string& name : listFolder(disk.path()))
            fs::remove(disk / name);
        RecordingHost host;
        runSplit({source / "data.bin", disk.path().string(), Custom, "100", "KB"}, host, systemScriptCodePage(),
                 withWorker(workers.worker, workers.engine, workers.pieceWorker));
        ASSERT_EQ(host.messages.size(), 1u);
        const std::string message = host.lastMessage();
        EXPECT_TRUE(message == SplitMessages::WriteError || message == SplitMessages::CloseError) << message;
        EXPECT_EQ(host.calls[2], "start 11");
        EXPECT_EQ(host.calls.back(), stop(message)) << "no hideProgress after a failure";
        EXPECT_FALSE(fs::exists(disk / "data.bat"));
        // The pieces written before the disk filled stay, and hold the file's first bytes.
        std::string written = readFile(disk / "data.001");
        EXPECT_EQ(written, bytes.substr(0, written.size()));
    }

    // The disk fills while the script is written: no script, whole or cut, is left.
    for (const std::string& name : listFolder(disk.path()))
        fs::remove(disk.path() / name);
    writeFile(source / "data.bin", bytes.substr(0, 252 * 1024)); // 63 of the 64 pages
    RecordingHost scriptHost;
    runSplit({source / "data.bin", disk.path().string(), Custom, "84", "KB"}, scriptHost);
    EXPECT_EQ(scriptHost.lastMessage(), SplitMessages::WriteError);
    EXPECT_EQ(listFolder(disk.path()), (std::vector<std::string>{"data.001", "data.002", "data.003"}));
}

TEST(SplitRun, ReadErrorMidPiece)
{
    TempDir dir;
    const std::string bytes = patternBytes(1 << 20);
    writeFile(dir / "data.bin", bytes);
    // After the first chunk of the second piece (the first has five), the
    // source's descriptor turns into one open for writing only: the next read fails.
    struct FailingHost : RecordingHost {
        std::string source;
        int chunks = 0;
        void keepAlive(std::int64_t done, std::int64_t size) override
        {
            RecordingHost::keepAlive(done, size);
            if (++chunks != 6)
                return;
            for (const fs::directory_entry& fd : fs::directory_iterator("/proc/self/fd")) {
                std::error_code error;
                if (fs::read_symlink(fd.path(), error) == source) {
                    const int writeOnly = ::open("/dev/null", O_WRONLY);
                    ::dup2(writeOnly, std::stoi(fd.path().filename().string()));
                    ::close(writeOnly);
                }
            }
        }
    };
    for (const Workers& workers : WorkerOrNot) {
        SCOPED_TRACE(workers.name);
        FailingHost host;
        host.source = dir / "data.bin";
        runSplit({dir / "data.bin", dir.path().string(), Custom, "400000", "Bytes"}, host, systemScriptCodePage(),
                 withWorker(workers.worker, workers.engine, workers.pieceWorker));
        std::vector<std::string> expected = progressCalls(dir / "data.bin", dir.path().string(), 3);
        expected.resize(4); // the first piece was stepped, the second failed
        expected.push_back(stop(SplitMessages::ReadError));
        EXPECT_EQ(host.calls, expected);
        EXPECT_TRUE(readFile(dir / "data.001") == bytes.substr(0, 400000));
        EXPECT_TRUE(readFile(dir / "data.002") == bytes.substr(400000, 91104));
        EXPECT_FALSE(fs::exists(dir / "data.bat"));
        EXPECT_FALSE(fs::exists(dir / "data.003"));
        fs::remove(dir / "data.001");
        fs::remove(dir / "data.002");
    }
}

TEST(SplitRun, PathsUpToTheSystemLimit)
{
    TempDir dir;
    writeFile(dir / "ab.c", "hello");
    // "/." segments make a long spelling of the same folder.
    auto folderOfLength = [&dir](std::size_t length) {
        std::string folder = dir.path().string();
        while (folder.size() + 2 <= length)
            folder += "/.";
        if (folder.size() < length)
            folder += "/";
        return folder;
    };
    const std::size_t prefixExtra = std::string("/ab.bat").size();
    for (std::size_t total : {MaxPathLength, MaxPathLength + 1}) {
        SCOPED_TRACE(total);
        std::string folder = folderOfLength(total - prefixExtra);
        ASSERT_EQ(folder.size() + prefixExtra, total);
        // The real lookup of so long a spelling is the platform's business.
        struct : RecordingHost {
            std::string folder;
            PathKind lookUpPath(const std::string& path) override
            {
                RecordingHost::lookUpPath(path);
                return path == folder ? PathKind::Directory : PathKind::File;
            }
        } longHost;
        longHost.folder = folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
        for (const char* name : {"ab.001", "ab.002", "ab.003", "ab.bat"})
            fs::remove(dir / name);
        runSplit({dir / "ab.c", folder, Custom, "2", "Bytes"}, longHost);
        if (total == MaxPathLength) {
            EXPECT_EQ(longHost.lastMessage(), successText("ab.c", "ab"));
            EXPECT_EQ(readFile(dir / "ab.003"), "o");
        } else {
            EXPECT_EQ(longHost.lastMessage(), SplitMessages::PathTooLong);
            EXPECT_FALSE(fs::exists(dir / "ab.001"));
        }
    }
}

TEST(SplitRun, FilesPastTwoGigabytes)
{
    TempDir dir;
    const std::int64_t length = (std::int64_t(1) << 31) + 10;
    const std::string path = dir / "huge.img";
    {
        std::ofstream(path, std::ios::binary).put('\0');
        fs::resize_file(path, static_cast<std::uintmax_t>(length));
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(length - 10);
        file.write("last bytes", 10); // marks the end, past the 32-bit range
    }
    RecordingHost host;
    runSplit({path, dir.path().string(), Custom, "999", "MB"}, host);
    ASSERT_EQ(host.lastMessage(), successText("huge.img", "huge"));
    EXPECT_EQ(host.calls[2], "start 3");
    EXPECT_EQ(fs::file_size(dir / "huge.001"), 1047527424u);
    EXPECT_EQ(fs::file_size(dir / "huge.002"), 1047527424u);
    EXPECT_EQ(fs::file_size(dir / "huge.003"), static_cast<std::uintmax_t>(length - 2 * 1047527424LL));
    std::string last = readFile(dir / "huge.003");
    EXPECT_EQ(last.substr(last.size() - 10), "last bytes");
    fs::remove(dir / "huge.001");
    fs::remove(dir / "huge.002");

    // The same file with the preset needs 1,474 pieces: refused before writing.
    fs::create_directory(dir.path() / "floppies");
    RecordingHost floppyHost;
    runSplit({path, (dir / "floppies"), PresetSizeChoice, "", ""}, floppyHost);
    EXPECT_EQ(floppyHost.lastMessage(), SplitMessages::TooManyPieces);
    EXPECT_TRUE(fs::is_empty(dir.path() / "floppies"));
}
