// The far side's cost: the checked rejoin script against a plain join of the same pieces.
//
//   rejoin_benchmark [--rounds N] [--certutil STAND-IN.EXE] [--dir FOLDER]
//
// Splits two files in FOLDER (default /dev/shm where there is one, so that
// the disk's writing back does not swamp the scripts' own cost): 200
// pieces of 20,000 bytes and 200 floppy pieces (1,457,664 bytes). Then, in
// each of N rounds (default 3), taking turns at going first:
//   - under Wine's cmd (when Wine is installed), the script NAME.bat, whose
//     certutil is the stand-in given (Wine's own prints nothing), against a
//     script of the plain join (copy /b lines into parcelor.tmp, its copy
//     to the file and its deletion) followed by one certutil run of the file;
//   - under sh (dash), sh NAME.bat against cat of the pieces into the file
//     followed by one sha256sum.
// Each run starts with no rebuilt file, as a user's first run does. Prints
// the best seconds of each and the ratio of the checked to the plain.
#include "split/PieceNames.h"
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

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const Wine = "/usr/lib/wine/wine64";

struct Shape {
    const char* label;
    int pieceSize;
    fs::path folder;
};

void writeText(const fs::path& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// Splits 200 pieces' worth of varying bytes as data.bin into shape's folder;
// writes beside them plain.bat, the plain join and one certutil, and plain.sh,
// cat and one sha256sum.
bool prepare(const Shape& shape)
{
    fs::create_directories(shape.folder / "source");
    const fs::path source = shape.folder / "source" / "data.bin";
    std::vector<char> bytes(static_cast<std::size_t>(shape.pieceSize) * 200);
    std::uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    writeText(source, std::string(bytes.begin(), bytes.end()));
    QuietHost host;
    runSplit({source.string(), shape.folder.string(), "Custom size...", std::to_string(shape.pieceSize), "Bytes"},
             host);
    if (host.lastMessage.rfind("The file was split successfully.", 0) != 0)
        return false;
    std::string bat = "@echo off\r\nif exist parcelor.tmp del parcelor.tmp\r\n"
                      "copy /b data.001 + data.002 parcelor.tmp > nul\r\n";
    std::string pieces;
    for (int k = 1; k <= 200; ++k) {
        pieces += " data." + pieceNumberText(k);
        if (k >= 3)
            bat += "copy /b parcelor.tmp + data." + pieceNumberText(k) + " parcelor.tmp > nul\r\n";
    }
    bat += "copy parcelor.tmp data.bin > nul\r\ndel parcelor.tmp > nul\r\n"
           "%SystemRoot%\\System32\\certutil.exe -hashfile data.bin SHA256 > nul\r\n";
    writeText(shape.folder / "plain.bat", bat);
    writeText(shape.folder / "plain.sh", "cat" + pieces + " > data.bin && sha256sum data.bin > /dev/null\n");
    return true;
}

// Seconds that command takes in folder, which holds no rebuilt file before;
// negative when it fails.
double timed(const fs::path& folder, const std::string& command)
{
    fs::remove(folder / "data.bin");
    const std::string line = "cd '" + folder.string() + "' && " + command;
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(line.c_str());
    const auto end = std::chrono::steady_clock::now();
    const bool rebuilt = fs::exists(folder / "data.bin") &&
        fs::file_size(folder / "data.bin") == fs::file_size(folder / "source" / "data.bin");
    return status == 0 && rebuilt ? std::chrono::duration<double>(end - start).count() : -1;
}

void report(const char* what, const char* label, double checked, double plain)
{
    if (checked < 0 || plain < 0) {
        std::printf("%-10s %-28s failed\n", what, label);
        return;
    }
    std::printf("%-10s %-28s %8.3f s %8.3f s %6.2f x\n", what, label, checked, plain, checked / plain);
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 3;
    std::string certutil = "build/native/tests/engine/certutil-stand-in.exe";
    fs::path dir = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--rounds"))
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--certutil"))
            certutil = argv[i + 1];
        else if (!std::strcmp(argv[i], "--dir"))
            dir = argv[i + 1];
    }
    const fs::path work = dir / ("parcelor-rejoin-bench-" + std::to_string(getpid()));
    Shape shapes[] = {{"200 pieces of 20,000 bytes", 20000, work / "small"},
                      {"200 floppy pieces", 1457664, work / "floppy"}};
    for (const Shape& shape : shapes) {
        if (!prepare(shape)) {
            std::fprintf(stderr, "the split into %s failed\n", shape.label);
            return 1;
        }
    }

    // A prefix of its own, with the stand-in as its certutil and a server
    // that stays up, so that no run pays for starting it.
    const bool wine = fs::exists(Wine) && fs::exists(certutil);
    const std::string prefix = (work / "prefix").string();
    const std::string env =
        "WINEPREFIX='" + prefix + "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;certutil.exe=n,b' ";
    if (wine) {
        std::system(("WINEPREFIX='" + prefix + "' /usr/lib/wine/wineserver -p > /dev/null 2>&1").c_str());
        std::system((env + Wine + " wineboot -i > /dev/null 2>&1").c_str());
        fs::copy_file(certutil, work / "prefix/drive_c/windows/system32/certutil.exe",
                      fs::copy_options::overwrite_existing);
    } else {
        std::printf("Wine or the certutil stand-in (%s) is missing: sh only\n", certutil.c_str());
    }

    std::printf("%-10s %-28s %10s %10s %8s\n", "", "", "checked", "plain", "ratio");
    std::fflush(stdout);
    for (const Shape& shape : shapes) {
        double best[4] = {1e9, 1e9, 1e9, 1e9}; // cmd checked, cmd plain, sh checked, sh plain
        for (int round = 0; round < rounds; ++round) {
            for (int turn = 0; turn < 2; ++turn) {
                const bool checked = (turn + round) % 2 == 0;
                auto keep = [&best](int at, double seconds) {
                    best[at] = seconds < 0 ? -1 : std::min(best[at], seconds);
                };
                if (wine)
                    keep(checked ? 0 : 1,
                         timed(shape.folder,
                               "printf '\\r\\n' | " + env + Wine + " cmd /c " + (checked ? "data.bat" : "plain.bat") +
                                   " > /dev/null 2>&1"));
                keep(checked ? 2 : 3,
                     timed(shape.folder, std::string("dash ") + (checked ? "data.bat" : "plain.sh") + " > /dev/null"));
            }
        }
        if (wine)
            report("Wine cmd", shape.label, best[0], best[1]);
        report("sh", shape.label, best[2], best[3]);
    }
    if (wine)
        std::system(("WINEPREFIX='" + prefix + "' /usr/lib/wine/wineserver -k > /dev/null 2>&1").c_str());
    fs::remove_all(work);
    return 0;
}
