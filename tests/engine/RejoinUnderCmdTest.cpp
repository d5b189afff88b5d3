// The rejoin scripts run by Wine's cmd: real files rebuilt byte for byte, and
// the scripts' refusals when a piece is missing or a copy fails.
#include "EngineTestSupport.h"

#include "split/SplitChecks.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const char* const Wine = "/usr/lib/wine/wine64";

class RejoinUnderCmd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!fs::exists(Wine))
            return;
        s_prefix = new TempDir;
        // A server that stays up saves its start at every command.
        std::system(("WINEPREFIX=" + s_prefix->path().string() + " /usr/lib/wine/wineserver -p > /dev/null 2>&1").c_str());
        run(s_prefix->path().string(), "wineboot -i");
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
    }

    // Runs a Wine command in folder, answering pause; gives what it printed.
    // The output goes through a file: Wine's helper processes outlive the
    // command and would hold a pipe open. The locale is fixed so that the
    // prefix reads batch files in code page 437 and Linux file names are UTF-8.
    static std::string run(const std::string& folder, const std::string& command)
    {
        const std::string output = (s_prefix->path() / "output.txt").string();
        std::string line = "cd '" + folder + "' && printf '\\r\\n' | LC_ALL=C.UTF-8 WINEPREFIX=" +
                           s_prefix->path().string() + " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' " + Wine +
                           " " + command + " > " + output + " 2>&1";
        std::system(line.c_str());
        return readFile(output);
    }

    // Runs the script NAME.bat of folder under a plain name, so that the
    // test's own command line needs no quoting.
    static std::string runScript(const fs::path& folder, const std::string& baseName)
    {
        fs::copy_file(folder / (baseName + ".bat"), folder / "rejoin.bat", fs::copy_options::overwrite_existing);
        return run(folder.string(), "cmd /c rejoin.bat");
    }

    static TempDir* s_prefix;
};

TempDir* RejoinUnderCmd::s_prefix = nullptr;

// Splits bytes saved as fileName into folder with pieces of size bytes.
void split(const fs::path& folder, const std::string& fileName, const std::string& bytes, const std::string& size,
           const ScriptCodePage& codePage = systemScriptCodePage())
{
    fs::create_directories(folder / "source");
    writeFile((folder / "source" / fileName).string(), bytes);
    RecordingHost host;
    runSplit({(folder / "source" / fileName).string(), folder.string(), "Custom size...", size, "Bytes"}, host,
             codePage);
    ASSERT_EQ(host.messages.size(), 1u);
    ASSERT_EQ(host.lastMessage().rfind("The file was split successfully.", 0), 0u) << host.lastMessage();
}

} // namespace

TEST_F(RejoinUnderCmd, RebuildsEveryKindOfName)
{
    struct Case {
        std::string fileName, baseName;
    };
    const Case cases[] = {
        {"plain.bin", "plain"},
        {"README", "README"},
        {"my holiday.avi", "my holiday"},
        {"A&B (1).doc", "A&B (1)"},
        {"100% sure.txt", "100% sure"},
        {"50%f off.txt", "50%f off"},  // %f is the size checks' loop variable
        {"x^y.dat", "x^y"},
        {"a+b,c;d=e.bin", "a+b,c;d=e"},
        {"song (live) & more.mp3", "song (live) & more"},
        {"report.v2.final.doc", "report.v2.final"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        TempDir dir;
        const std::string bytes = patternBytes(2500, static_cast<unsigned>(c.fileName.size()));
        split(dir.path(), c.fileName, bytes, "1000");
        std::string output = runScript(dir.path(), c.baseName);
        EXPECT_NE(output.find("The file " + c.fileName + " is now being created . . ."), std::string::npos) << output;
        EXPECT_NE(output.find("The file " + c.fileName + " was successfully created."), std::string::npos) << output;
        EXPECT_EQ(readFile(dir / c.fileName), bytes);
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
    }
}

TEST_F(RejoinUnderCmd, MissingPieceStopsBeforeJoining)
{
    TempDir dir;
    split(dir.path(), "my data.bin", patternBytes(3500), "1000");
    fs::remove(dir.path() / "my data.003");
    writeFile(dir / "parcelor.tmp", "left over");
    std::string output = runScript(dir.path(), "my data");
    EXPECT_NE(output.find("The piece my data.003 is missing."), std::string::npos) << output;
    EXPECT_NE(output.find("The file my data.bin was not created."), std::string::npos) << output;
    EXPECT_EQ(output.find("successfully"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(dir.path() / "my data.bin"));
    EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
}

TEST_F(RejoinUnderCmd, FailedCopyIsNotReportedAsSuccess)
{
    TempDir source;
    SmallDisk smallDisk("512k");
    if (!smallDisk.mounted())
        GTEST_SKIP() << smallDisk.whyNot();
    const TempDir& disk = smallDisk.dir();

    // The pieces fit the disk; the scratch file that gathers them does not.
    writeFile(source / "big.zip", patternBytes(450000));
    RecordingHost host;
    runSplit({source / "big.zip", disk.path().string(), "Custom size...", "150000", "Bytes"}, host);
    ASSERT_EQ(host.lastMessage().rfind("The file was split successfully.", 0), 0u) << host.lastMessage();
    std::string output = runScript(disk.path(), "big");
    EXPECT_NE(output.find("A copy failed: the file big.zip was not created completely."), std::string::npos)
        << output;
    EXPECT_EQ(output.find("successfully"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(disk.path() / "parcelor.tmp"));
}

TEST_F(RejoinUnderCmd, PieceOfTheWrongSizeStopsBeforeJoining)
{
    // 3,500 bytes in pieces of 1,000: the last piece holds 500.
    struct Case {
        std::string baseName, piece;
        std::uintmax_t newSize;
        std::string report;
    };
    const Case cases[] = {
        {"my (big) & data", "my (big) & data.002", 999,
         "The piece my (big) & data.002 has 999 bytes instead of 1000."},
        {"50%f off", "50%f off.004", 501, "The piece 50%f off.004 has 501 bytes instead of 500."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        TempDir dir;
        const std::string fileName = c.baseName + ".bin";
        split(dir.path(), fileName, patternBytes(3500), "1000");
        fs::resize_file(dir.path() / c.piece, c.newSize);
        writeFile(dir / "parcelor.tmp", "left over");
        std::string output = runScript(dir.path(), c.baseName);
        EXPECT_NE(output.find(c.report), std::string::npos) << output;
        EXPECT_NE(output.find("The file " + fileName + " was not created."), std::string::npos) << output;
        EXPECT_EQ(output.find("successfully"), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(dir.path() / fileName));
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
    }
}

TEST_F(RejoinUnderCmd, RebuiltFileOfTheWrongSizeIsNotReportedAsCreated)
{
    // A folder of the file's name takes the copy into itself without an error.
    TempDir dir;
    split(dir.path(), "data.bin", patternBytes(2500), "1000");
    fs::create_directory(dir.path() / "data.bin");
    std::string output = runScript(dir.path(), "data");
    EXPECT_NE(output.find("The file data.bin has 0 bytes instead of 2500: it was not created correctly."),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("successfully"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
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
