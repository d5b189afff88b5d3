// The rejoin scripts run by Wine's cmd: real files rebuilt byte for byte, and
// the scripts' refusals when a piece is missing, damaged or a copy fails.
#include "EngineTestSupport.h"

#include "split/SplitChecks.h"
#include "split/SplitMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <locale.h>

namespace {

const char* const Wine = "/usr/lib/wine/wine64";
const std::string StandIn = CERTUTIL_STAND_IN;

// What answers for certutil in the prefix's system32.
enum class Certutil { StandIn, WinesOwn, Absent };

class RejoinUnderCmd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!fs::exists(Wine))
            return;
        s_prefix = new TempDir;
        // A server that stays up saves its start at every command.
        std::system(
            ("WINEPREFIX=" + s_prefix->path().string() + " /usr/lib/wine/wineserver -p > /dev/null 2>&1").c_str());
        run(s_prefix->path().string(), "wineboot -i");
        fs::copy_file(systemCertutil(), s_prefix->path() / "wine-certutil.exe");
        useCertutil(Certutil::StandIn);
    }
    static void TearDownTestSuite()
    {
        if (s_prefix)
            std::system(("WINEPREFIX=" + s_prefix->path().string() + " /usr/lib/wine/wineserver -k").c_str());
        delete s_prefix;
        s_prefix = nullptr;
    }
    void SetUp() override
    {
        if (!s_prefix)
            GTEST_SKIP() << "Wine is not installed (" << Wine << "): scripts/test.sh installs it";
        if (StandIn.empty() || !fs::exists(StandIn))
            FAIL() << "The certutil stand-in was not built: the MinGW-w64 cross compiler "
                      "x86_64-w64-mingw32-g++(-win32) was missing when CMake configured this tree. "
                      "Install mingw-w64 (scripts/test.sh does) and configure again.";
        useCertutil(Certutil::StandIn);
    }

    static fs::path systemCertutil() { return s_prefix->path() / "drive_c/windows/system32/certutil.exe"; }

    static void useCertutil(Certutil certutil)
    {
        fs::remove(systemCertutil());
        if (certutil == Certutil::StandIn && fs::exists(StandIn))
            fs::copy_file(StandIn, systemCertutil());
        if (certutil == Certutil::WinesOwn)
            fs::copy_file(s_prefix->path() / "wine-certutil.exe", systemCertutil());
    }

    // Runs a Wine command in folder, answering pause; gives what it printed.
    // The output goes through a file: Wine's helper processes outlive the
    // command and would hold a pipe open. The locale is fixed so that the
    // prefix reads batch files in code page 437 and Linux file names are UTF-8.
    // environment holds settings for the certutil stand-in (VAR=value ...);
    // the overrides let it, a native program, answer for Wine's own.
    // input is what the user types, as printf's format.
    static std::string run(const std::string& folder, const std::string& command, const std::string& environment = "",
                           const std::string& input = "\\r\\n")
    {
        const std::string output = (s_prefix->path() / "output.txt").string();
        std::string line = "cd '" + folder + "' && printf '" + input +
            "' | LC_ALL=C.UTF-8 timeout 120 env WINEPREFIX=" + s_prefix->path().string() +
            " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;certutil.exe=n,b' " + environment + " " + Wine + " " +
            command + " > " + output + " 2>&1";
        std::system(line.c_str());
        return readFile(output);
    }

    // Runs the script NAME.bat of folder under a plain name, so that the
    // test's own command line needs no quoting; cmd takes options, such as
    // /v:on for delayed expansion.
    static std::string runScript(const fs::path& folder, const std::string& baseName,
                                 const std::string& environment = "", const std::string& options = "",
                                 const std::string& input = "\\r\\n")
    {
        fs::copy_file(folder / (baseName + ".bat"), folder / "rejoin.bat", fs::copy_options::overwrite_existing);
        return run(folder.string(), "cmd " + options + " /c rejoin.bat", environment, input);
    }

    static TempDir* s_prefix;
};

TempDir* RejoinUnderCmd::s_prefix = nullptr;

// Whether this system has the locale name (as localedef makes it).
bool hasLocale(const char* name)
{
    locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (locale)
        freelocale(locale);
    return locale != static_cast<locale_t>(0);
}

} // namespace

TEST_F(RejoinUnderCmd, RebuildsEveryKindOfName)
{
    struct Case {
        std::string fileName, baseName;
        std::size_t length = 2500;
    };
    const Case cases[] = {
        {"plain.bin", "plain"},
        {"wow! it works!.txt", "wow! it works!"}, // delayed expansion would eat the ! signs
        {"empty.txt", "empty", 0},                // certutil fails on it: it must not be asked
        {"README", "README"},
        {"my holiday.avi", "my holiday"},
        {"A&B (1).doc", "A&B (1)"},
        {"100% sure.txt", "100% sure"},
        {"50%f off.txt", "50%f off"}, // %f is the size checks' loop variable
        {"x^y.dat", "x^y"},
        {"a+b,c;d=e.bin", "a+b,c;d=e"},
        {"song (live) & more.mp3", "song (live) & more"},
        {"report.v2.final.doc", "report.v2.final"},
    };
    bool windows7 = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        TempDir dir;
        const std::string bytes = patternBytes(c.length, static_cast<unsigned>(c.fileName.size()));
        split(dir.path(), c.fileName, bytes, "1000");
        // certutil answers in the form of Windows 7 and of Windows 10 in turn;
        // the window was opened with delayed expansion on.
        windows7 = !windows7;
        std::string output = runScript(dir.path(), c.baseName, windows7 ? "PARCELOR_CERTUTIL=win7" : "", "/v:on");
        EXPECT_NE(output.find("The file " + c.fileName + " is now being created . . ."), std::string::npos) << output;
        EXPECT_NE(
            output.find("The file " + c.fileName + " was successfully created.\r\n" + SplitMessages::ContentsChecked),
            std::string::npos)
            << output;
        EXPECT_EQ(readFile(dir / c.fileName), bytes);
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
        // What the user reads: the lines of old and a few of progress.
        if (c.fileName == "plain.bin") {
            EXPECT_EQ(output.substr(output.find("The file ")),
                      "The file plain.bin is now being created . . .\r\n\r\nChecking the pieces . . .\r\n"
                      "Joining 3 pieces . . .\r\nChecking the SHA-256 of the file . . .\r\n"
                      "The file plain.bin was successfully created.\r\n" +
                          std::string(SplitMessages::ContentsChecked) + "\r\n\r\nPress any key to continue... ");
        }
    }
}

TEST_F(RejoinUnderCmd, MissingPieceStopsBeforeJoining)
{
    TempDir dir;
    split(dir.path(), "my data.bin", patternBytes(3500), "1000");
    fs::remove(dir.path() / "my data.003");
    writeFile(dir / "parcelor.tmp", "left over");
    std::string output = runScript(dir.path(), "my data");
    EXPECT_NE(output.find(SplitMessages::fill(SplitMessages::PieceMissing, {"my data.003"})), std::string::npos)
        << output;
    EXPECT_NE(output.find("The file my data.bin was not created."), std::string::npos) << output;
    EXPECT_EQ(output.find("successfully"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(dir.path() / "my data.bin"));
    EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
}

TEST_F(RejoinUnderCmd, ADiskWithRoomForTheFileOnceIsEnough)
{
    // A disk of 512 KiB holds 200,000 bytes of pieces and the file once (not
    // twice); 450,000 bytes of pieces leave no room for the file.
    using namespace SplitMessages;
    for (int length : {200000, 450000}) {
        SCOPED_TRACE(length);
        TempDir source;
        SmallDisk smallDisk("512k");
        if (!smallDisk.mounted())
            GTEST_SKIP() << smallDisk.whyNot();
        const TempDir& disk = smallDisk.dir();
        const std::string bytes = patternBytes(static_cast<std::size_t>(length));
        writeFile(source / "big.zip", bytes);
        RecordingHost host;
        runSplit({source / "big.zip", disk.path().string(), "Custom size...", std::to_string(length / 3), "Bytes"},
                 host);
        ASSERT_EQ(host.lastMessage().rfind("The file was split successfully.", 0), 0u) << host.lastMessage();
        std::string output = runScript(disk.path(), "big");
        const bool fits = length == 200000;
        EXPECT_EQ(output.find(std::string("successfully created.\r\n") + ContentsChecked) != std::string::npos, fits)
            << output;
        EXPECT_EQ(output.find(fill(CopyFailed, {"big.zip", "450000"})) != std::string::npos, !fits) << output;
        EXPECT_EQ(fs::exists(disk.path() / "big.zip") && readFile(disk / "big.zip") == bytes, fits);
        EXPECT_FALSE(fs::exists(disk.path() / "parcelor.tmp"));
    }
}

TEST_F(RejoinUnderCmd, ARebuildCutShortLeavesNothingUnderTheNameAndTheNextRunJustWorks)
{
    // 30 pieces of 100,000 bytes. The first run is killed with every process
    // of the prefix, as by a power cut: halfway through the join, or while
    // certutil proves the join, with piece 7 damaged. The second has no input.
    using namespace SplitMessages;
    const std::string file = "my data.bin", bytes = patternBytes(3000000, 6);
    const std::string damaged = fill(PieceDamaged, {"my data.007"});
    const std::string prefix = s_prefix->path().string();
    for (const std::string& secondRun : {std::string(ContentsChecked), damaged}) {
        SCOPED_TRACE(secondRun);
        TempDir dir;
        split(dir.path(), file, bytes, "100000");
        fs::copy_file(dir.path() / "my data.bat", dir.path() / "rejoin.bat");
        const bool inProof = secondRun == damaged;
        if (inProof)
            writeFile(dir / "my data.007", std::string(100000, 'x'));
        const std::string log = (dir.path() / "certutil.log").string();
        Background first("cd '" + dir.path().string() + "' && LC_ALL=C.UTF-8 WINEPREFIX=" + prefix +
                             " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;certutil.exe=n,b' "
                             "PARCELOR_CERTUTIL=hang PARCELOR_CERTUTIL_LOG='Z:" +
                             log + "' exec " + Wine + " cmd /c rejoin.bat",
                         dir / "first.txt");
        EXPECT_TRUE(inProof ? first.waitForFile(log, 1) : first.waitForFile(dir.path() / "parcelor.tmp", 1000000));
        std::system(("WINEPREFIX=" + prefix + " /usr/lib/wine/wineserver -k").c_str());
        first.wait();
        std::system(("WINEPREFIX=" + prefix + " /usr/lib/wine/wineserver -p > /dev/null 2>&1").c_str());
        EXPECT_FALSE(fs::exists(dir.path() / file));
        const std::string output = runScript(dir.path(), "my data");
        EXPECT_NE(output.find(secondRun), std::string::npos) << output;
        EXPECT_EQ(output.find(ReplacePrompt), std::string::npos) << output;
        EXPECT_EQ(fs::exists(dir.path() / file) && readFile(dir / file) == bytes, !inProof);
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
    }
}

TEST_F(RejoinUnderCmd, SaysWhyWhenItCannotWriteOrRead)
{
    // As nobody, in a prefix of nobody's, who may not write to a folder of
    // root's or read a piece of root's.
    using namespace SplitMessages;
    TempDir home;
    fs::permissions(home.path(), fs::perms::others_exec, fs::perm_options::add);
    const fs::path prefix = home.path() / "prefix";
    fs::create_directories(prefix);
    std::system(("chown nobody '" + prefix.string() + "'").c_str());
    const std::string asNobody = "runuser -u nobody -- env HOME='" + home.path().string() + "' WINEPREFIX='" +
        prefix.string() +
        "' WINEDEBUG=-all LC_ALL=C.UTF-8 "
        "WINEDLLOVERRIDES='mscoree,mshtml=;certutil.exe=n,b' ";
    std::system((asNobody + Wine + " wineboot -i > /dev/null 2>&1").c_str());
    fs::copy_file(StandIn, prefix / "drive_c/windows/system32/certutil.exe", fs::copy_options::overwrite_existing);
    fs::permissions(prefix / "drive_c/windows/system32/certutil.exe", fs::perms::all);
    struct Case {
        bool writableFolder;
        std::string unreadablePiece, shown;
    };
    const Case cases[] = {
        {false, "", fill(NotWritable, {"data.bin"})},
        {true, "data.002", fill(PieceUnreadable, {"data.002"}) + "\r\n" + fill(FileNotCreated, {"data.bin"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const fs::path folder = home.path() / "pieces";
        fs::remove_all(folder);
        split(folder, "data.bin", patternBytes(3500, 9), "1000");
        fs::copy_file(folder / "data.bat", folder / "rejoin.bat");
        using fs::perms;
        fs::permissions(folder,
                        c.writableFolder ? perms::all : perms::owner_all | perms::others_read | perms::others_exec);
        if (!c.unreadablePiece.empty())
            fs::permissions(folder / c.unreadablePiece, perms::owner_read | perms::owner_write);
        const auto before = listFolder(folder);
        const std::string output = (home.path() / "output.txt").string();
        std::system(("cd '" + folder.string() + "' && printf '\\r\\n' | timeout 120 " + asNobody + Wine +
                     " cmd /c rejoin.bat > '" + output + "' 2>&1")
                        .c_str());
        const std::string said = readFile(output);
        EXPECT_NE(said.find(c.shown), std::string::npos) << said;
        EXPECT_EQ(said.find("successfully"), std::string::npos) << said;
        EXPECT_EQ(listFolder(folder), before);
    }
    std::system(
        ("runuser -u nobody -- env WINEPREFIX='" + prefix.string() + "' /usr/lib/wine/wineserver -k 2>/dev/null")
            .c_str());
}

TEST_F(RejoinUnderCmd, PieceOfTheWrongSizeStopsBeforeJoining)
{
    // 3,500 bytes in pieces of 1,000: the last piece holds 500.
    struct Case {
        std::string baseName, piece;
        std::uintmax_t newSize; // 0: a folder in its place
        std::string report;
    };
    const Case cases[] = {
        {"my (big) & data", "my (big) & data.002", 999,
         "The piece my (big) & data.002 has 999 bytes instead of 1000: copy it again and run this script again."},
        {"50%f off", "50%f off.004", 501, "The piece 50%f off.004 has 501 bytes instead of 500: copy it again"},
        {"my (big) & data", "my (big) & data.003", 0,
         SplitMessages::fill(SplitMessages::PieceFolder, {"my (big) & data.003"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        TempDir dir;
        const std::string fileName = c.baseName + ".bin";
        split(dir.path(), fileName, patternBytes(3500), "1000");
        if (c.newSize == 0) {
            fs::remove(dir.path() / c.piece);
            fs::create_directory(dir.path() / c.piece);
        } else {
            fs::resize_file(dir.path() / c.piece, c.newSize);
        }
        writeFile(dir / "parcelor.tmp", "left over");
        std::string output = runScript(dir.path(), c.baseName);
        EXPECT_NE(output.find(c.report), std::string::npos) << output;
        EXPECT_NE(output.find("The file " + fileName + " was not created."), std::string::npos) << output;
        EXPECT_EQ(output.find("successfully"), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(dir.path() / fileName));
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
    }
}

TEST_F(RejoinUnderCmd, AccentedNamesInTheInterpretersCodePage)
{
    // The program gets its names in code page 1252 and writes the script in
    // 437, the code page in which Wine's cmd reads it; Wine keeps Linux file
    // names in UTF-8. So the pieces are renamed from their 1252 bytes to the
    // UTF-8 names that Wine's Windows programs would have given them.
    struct Case {
        std::string baseName, extension, utf8BaseName;
    };
    const Case cases[] = {
        {"caf\xe9", ".bin", "caf\xc3\xa9"},
        {"r\xe9sum\xe9 (\xc9t\xe9) & m\xfcsli", ".doc", "r\xc3\xa9sum\xc3\xa9 (\xc3\x89t\xc3\xa9) & m\xc3\xbcsli"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8BaseName);
        TempDir dir;
        const std::string bytes = patternBytes(2500, 7);
        split(dir.path(), c.baseName + c.extension, bytes, "1000", Latin1ToDosCodePage());
        for (const char* number : {".001", ".002", ".003"})
            fs::rename(dir.path() / (c.baseName + number), dir.path() / (c.utf8BaseName + number));
        std::string output = runScript(dir.path(), c.baseName);
        EXPECT_NE(output.find(" was successfully created."), std::string::npos) << output;
        EXPECT_EQ(readFile(dir / (c.utf8BaseName + c.extension)), bytes);
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
    }
}

TEST_F(RejoinUnderCmd, ContentsUnderEveryAnswerOfCertutilWithOneBesideThePieces)
{
    // 3,500 bytes in pieces of 1,000, sizes unchanged. A certutil.exe beside
    // the pieces, a copy of the stand-in, would log its own path if it ran.
    struct Case {
        Certutil certutil;
        std::string environment, damagedPiece;
        std::vector<std::string> shown; // "#" stands for the file's SHA-256
        bool rebuilt;
        int calls; // of the system's certutil: the file, then each piece when it differs
    };
    using namespace SplitMessages;
    const std::string name = "my (big) & data", file = name + ".bin";
    const std::vector<std::string> sizesOnly = {ContentsNotChecked, fill(CheckByHand, {file, "#"}),
                                                "The file " + file + " was successfully created.\r\n" + SizesChecked};
    const Case cases[] = {
        {Certutil::StandIn, "", "", {std::string("successfully created.\r\n") + ContentsChecked}, true, 1},
        {Certutil::StandIn, "", name + ".002", {fill(PieceDamaged, {name + ".002"})}, false, 5},
        // The disk damages the rebuilt file as certutil is about to read it.
        {Certutil::StandIn, "PARCELOR_CERTUTIL_DAMAGE=parcelor.tmp", "", {fill(FileDamaged, {file})}, false, 5},
        {Certutil::StandIn, "PARCELOR_CERTUTIL=fail", "", sizesOnly, true, 1},
        {Certutil::Absent, "", "", sizesOnly, true, 0},
        {Certutil::WinesOwn, "", "", sizesOnly, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.front());
        TempDir dir;
        const std::string bytes = patternBytes(3500, 3);
        split(dir.path(), file, bytes, "1000");
        if (!c.damagedPiece.empty()) {
            std::string piece = readFile(dir / c.damagedPiece);
            piece[700] ^= 1;
            writeFile(dir / c.damagedPiece, piece);
        }
        fs::copy_file(StandIn, dir.path() / "certutil.exe");
        useCertutil(c.certutil);
        const std::string log = (dir.path() / "certutil.log").string();
        std::string output = runScript(dir.path(), name, c.environment + " PARCELOR_CERTUTIL_LOG='Z:" + log + "'");
        const std::string script = readFile(dir / (name + ".bat"));
        const std::string digest = script.substr(script.find("@rem SHA-256: ") + 14, 64);
        for (std::string line : c.shown) {
            if (line.find('#') != std::string::npos)
                line.replace(line.find('#'), 1, digest);
            const std::size_t at = output.find(line);
            EXPECT_NE(at, std::string::npos) << line << "\n" << output;
            EXPECT_EQ(output.find(line, at + 1), std::string::npos) << "said once: " << line;
        }
        EXPECT_EQ(output.find("successfully") != std::string::npos, c.rebuilt) << output;
        const std::string pause = "Press any key";
        EXPECT_EQ(output.find(pause), output.rfind(pause)) << "one pause, at the end: " << output;
        EXPECT_EQ(fs::exists(dir.path() / file) && readFile(dir / file) == bytes, c.rebuilt);
        if (!c.damagedPiece.empty()) {
            EXPECT_FALSE(fs::exists(dir.path() / file));
        }
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
        const std::string calls = readFile(log);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), c.calls) << calls;
        // The system's certutil, given each file's full path.
        const std::string system = "C:\\windows\\system32\\certutil.exe Z:\\";
        for (std::size_t at = 0; at < calls.size(); at = calls.find('\n', at) + 1)
            EXPECT_EQ(calls.compare(at, system.size(), system), 0) << calls;
    }
}

TEST_F(RejoinUnderCmd, StartedFromAnotherFolderWorksInItsOwnAndGoesBack)
{
    // A batch file in another folder starts the script, then shows the folder it is left in.
    TempDir dir;
    std::string folder = "Z:" + dir.path().string();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    const std::string intact = SplitMessages::ContentsChecked;
    const std::string damaged = SplitMessages::fill(SplitMessages::PieceDamaged, {"data.002"});
    // The script's path as typed there, and what the script shows.
    const std::pair<std::string, std::string> cases[] = {{folder + "\\pieces\\rejoin.bat", intact},
                                                         {"..\\pieces\\rejoin.bat", damaged}};
    for (const auto& [path, shown] : cases) {
        SCOPED_TRACE(path);
        fs::remove_all(dir.path() / "pieces");
        fs::create_directories(dir.path() / "elsewhere");
        split(dir.path() / "pieces", "data.bin", patternBytes(2500, 5), "1000");
        fs::copy_file(dir.path() / "pieces/data.bat", dir.path() / "pieces/rejoin.bat");
        if (shown == damaged)
            writeFile(dir / "pieces/data.002", std::string(1000, 'x'));
        writeFile(dir / "elsewhere/launch.bat", "@echo off\r\ncall " + path + "\r\ncd\r\n");
        const std::string output = run((dir.path() / "elsewhere").string(), "cmd /c launch.bat");
        EXPECT_NE(output.find(shown), std::string::npos) << output;
        const std::string back = folder + "\\elsewhere\r\n";
        EXPECT_EQ(output.substr(output.size() - std::min(output.size(), back.size())), back) << output;
        EXPECT_EQ(listFolder(dir.path() / "elsewhere"), std::vector<std::string>{"launch.bat"});
    }
}

TEST_F(RejoinUnderCmd, ClaimsOnlyTheChecksItMade)
{
    using namespace SplitMessages;
    // A script cut before its certutil routine, over a piece with one byte
    // flipped: it cannot tell the damage, and must not say it checked.
    TempDir dir;
    split(dir.path(), "data.bin", patternBytes(2500, 9), "1000");
    std::string script = readFile(dir / "data.bat");
    writeFile(dir / "data.bat", script.substr(0, script.find("\r\n:hash\r\n") + 2));
    std::string piece = readFile(dir / "data.001");
    piece[10] ^= 1;
    writeFile(dir / "data.001", piece);
    std::string output = runScript(dir.path(), "data");
    EXPECT_EQ(output.find(ContentsChecked), std::string::npos) << output;
    EXPECT_NE(output.find(SizesChecked), std::string::npos) << output;
}

TEST_F(RejoinUnderCmd, NothingAlreadyHereIsLostOrReplacedUnproven)
{
    // 3,500 bytes in pieces of 1,000, and a file or folder of the rebuilt
    // name there first. The user's copy asks before it overwrites
    // (COPYCMD=/-Y); "y" answers the script's question.
    using namespace SplitMessages;
    const std::string name = "my (big) & data", file = name + ".bin", bytes = patternBytes(3500, 6);
    std::string edited = bytes;
    edited[2000] ^= 1;
    struct Case {
        std::string already; // "/" for a folder
        Certutil certutil;
        std::string damagedPiece, input, shown;
        bool replaced;
        int calls;
    };
    const std::string kept = fill(Kept, {file});
    const Case cases[] = {
        {bytes, Certutil::StandIn, "", "", fill(AlreadyHere, {file}), false, 1},
        {edited, Certutil::StandIn, "", "", fill(Differs, {file}) + "\r\n" + ReplacePrompt + kept, false, 1},
        {"older", Certutil::StandIn, "", "y\\r\\n", std::string("successfully created.\r\n") + ContentsChecked, true,
         1},
        {"older", Certutil::StandIn, name + ".003", "y\\r\\n", fill(PieceDamaged, {name + ".003"}), false, 5},
        {bytes, Certutil::Absent, name + ".002", "", fill(Unproven, {file}), false, 0},
        {"/", Certutil::StandIn, "", "y\\r\\n", fill(FolderInTheWay, {file}) + "\r\n" + kept, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        TempDir dir;
        split(dir.path(), file, bytes, "1000");
        if (!c.damagedPiece.empty())
            writeFile(dir / c.damagedPiece, std::string(1000, 'x'));
        if (c.already == "/")
            fs::create_directory(dir.path() / file);
        else
            writeFile(dir / file, c.already);
        useCertutil(c.certutil);
        const std::string log = (dir.path() / "certutil.log").string();
        const std::string output =
            runScript(dir.path(), name, "COPYCMD=/-Y PARCELOR_CERTUTIL_LOG='Z:" + log + "'", "", c.input + "\\r\\n");
        EXPECT_NE(output.find(c.shown), std::string::npos) << output;
        EXPECT_EQ(output.find("successfully") != std::string::npos, c.replaced) << output;
        if (c.already == "/")
            EXPECT_TRUE(fs::is_directory(dir.path() / file));
        else
            EXPECT_TRUE(readFile(dir / file) == (c.replaced ? bytes : c.already)) << "the file already here";
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
        const std::string calls = fs::exists(log) ? readFile(log) : "";
        EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), c.calls) << calls;
    }
}

TEST_F(RejoinUnderCmd, UnderCommandComOnlyNamesItsLinesHold)
{
    // Where OS is not Windows_NT the script runs as under COMMAND.COM, which
    // cuts lines after 127 characters: two pieces of a 44-character name
    // still fit, of a 45-character one they do not.
    for (std::size_t length : {44, 45}) {
        SCOPED_TRACE(length);
        TempDir dir;
        const std::string name(length, 'n'), bytes = patternBytes(1500, 4);
        split(dir.path(), name + ".bin", bytes, "1000");
        fs::copy_file(dir.path() / (name + ".bat"), dir.path() / "rejoin.bat");
        writeFile(dir / "launch.bat", "@echo off\r\nset OS=\r\ncall rejoin.bat\r\n");
        const std::string output = run(dir.path().string(), "cmd /c launch.bat");
        const bool fits = length == 44;
        // It says how little it could check.
        EXPECT_EQ(output.find(std::string(" was successfully created.\r\n") + SplitMessages::PresenceChecked) !=
                      std::string::npos,
                  fits)
            << output;
        EXPECT_EQ(output.find(SplitMessages::NeedsWindowsNt) != std::string::npos, !fits) << output;
        EXPECT_EQ(fs::exists(dir.path() / (name + ".bin")) && readFile(dir / (name + ".bin")) == bytes, fits);
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
        if (!fits)
            continue;
        // A file already there, which it cannot compare, it keeps.
        writeFile(dir / (name + ".bin"), "older");
        const std::string again = run(dir.path().string(), "cmd /c launch.bat");
        EXPECT_NE(again.find(SplitMessages::fill(SplitMessages::Uncheckable, {name + ".bin"})), std::string::npos)
            << again;
        EXPECT_EQ(readFile(dir / (name + ".bin")), "older");
    }
}

TEST_F(RejoinUnderCmd, EastAsianNamesInTheirCodePages)
{
    // Each name holds characters whose second byte has the value of \ | or ^
    // in its code page (Korean ones never do), with blanks, & % and
    // parentheses. A calc.txt.bat beside the pieces records it if it runs.
    struct Locale {
        const char* name;
        int codePage;
        std::vector<std::string> files;
    };
    const Locale locales[] = {
        {"ja_JP.UTF-8", 932, {"ソフト 表.zip", "レポート (100%).doc", "タ&calc.txt"}},
        {"zh_CN.UTF-8", 936, {"乗 50%.zip", "億 (元).doc", "奮&calc.txt"}},
        {"zh_TW.UTF-8", 950, {"許功蓋 報告.zip", "四 (100%).doc", "回&calc.txt"}},
        {"ko_KR.UTF-8", 949, {"똠방 보고서 (100%).zip", "한&calc.txt"}},
    };
    for (const Locale& locale : locales) {
        SCOPED_TRACE(locale.name);
        if (!hasLocale(locale.name)) {
            ADD_FAILURE() << "the locale " << locale.name << " is missing: scripts/setup.sh makes it with localedef";
            continue;
        }
        // A prefix of its own: Wine takes its ANSI and OEM code pages from the locale.
        TempDir prefix;
        const std::string environment = "WINEPREFIX=" + prefix.path().string() + " LC_ALL=" + locale.name;
        run(prefix.path().string(), "wineboot -i", environment);
        fs::copy_file(StandIn, prefix.path() / "drive_c/windows/system32/certutil.exe",
                      fs::copy_options::overwrite_existing);
        const EastAsianCodePage codePage(locale.codePage);
        for (const std::string& file : locale.files) {
            SCOPED_TRACE(file);
            TempDir dir;
            const std::string bytes = patternBytes(2500, static_cast<unsigned>(file.size()));
            split(dir.path(), file, bytes, "1000", codePage);
            writeFile(dir / "calc.txt.bat", "@echo ran> ran.txt\r\n");
            const std::string output = runScript(dir.path(), file.substr(0, file.rfind('.')), environment);
            EXPECT_NE(output.find(SplitMessages::ContentsChecked), std::string::npos) << output;
            EXPECT_EQ(readFile(dir / file), bytes);
            EXPECT_FALSE(fs::exists(dir.path() / "ran.txt")) << "a name ran as a command";
            EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
        }
        std::system(("WINEPREFIX=" + prefix.path().string() + " /usr/lib/wine/wineserver -k 2>/dev/null").c_str());
    }
}
