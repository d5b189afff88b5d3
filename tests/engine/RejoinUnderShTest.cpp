// The rejoin scripts run by sh, as on Linux and macOS: dash, bash (also in
// POSIX mode, as macOS's /bin/sh) and busybox's ash, with whichever hashing
// tool there is.
#include "EngineTestSupport.h"

#include "split/SplitMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace SplitMessages;

const char* const Shells[] = {"/bin/dash", "/bin/bash", "/bin/bash --posix", "/bin/busybox sh"};

// text as one word of sh.
std::string quoted(const std::string& text)
{
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

struct ShRun {
    std::string output;
    int status = -1;
};

// Runs shell on script in folder, typing input; with PATH set to path when one is given.
ShRun run(const std::string& shell, const fs::path& folder, const std::string& script, const std::string& input = "",
        const std::string& path = "")
{
    const std::string output = (fs::temp_directory_path() / ("parcelor-sh-" + std::to_string(getpid()))).string();
    const std::string line = "cd " + quoted(folder.string()) + " && printf '%s' " + quoted(input) + " | env " +
                             (path.empty() ? "" : "PATH=" + quoted(path) + " ") + "timeout 60 " + shell + " " +
                             quoted(script) + " > " + output + " 2>&1";
    const int status = std::system(line.c_str());
    ShRun result{readFile(output), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    fs::remove(output);
    return result;
}

// A folder of the tools that the script needs, and of the hashing tool named (none when empty).
std::string toolsWith(const TempDir& dir, const std::string& hashTool)
{
    const fs::path bin = dir.path() / "bin";
    fs::create_directories(bin);
    for (std::string tool : {"awk", "cat", "wc", "rm", "mv", "timeout"})
        fs::create_symlink("/usr/bin/" + tool, bin / tool);
    if (!hashTool.empty())
        fs::create_symlink("/usr/bin/" + hashTool, bin / hashTool);
    return bin.string();
}

} // namespace

TEST(RejoinUnderSh, RebuildsAndProvesEveryKindOfName)
{
    // Half are run from the folder of the source, which holds a file of the
    // same name: the script must work in its own folder.
    const std::string names[] = {
        "plain.bin", "my holiday (1) & more.avi", "100% sure!.txt", "it's mine.txt", "$(touch ran).txt",
        "`touch ran`.txt", "back\\slash;semi.txt", "a+b,c;d=e^f.bin", "caf\xc3\xa9 r\xc3\xa9sum\xc3\xa9.doc",
        "-n.txt", "$HOME ~ {a,b}.txt", "empty.txt",
    };
    int turn = 0;
    for (const char* shell : Shells) {
        for (const std::string& name : names) {
            SCOPED_TRACE(std::string(shell) + ": " + name);
            TempDir dir;
            const std::string bytes = patternBytes(name == "empty.txt" ? 0 : 2500, static_cast<unsigned>(name.size()));
            split(dir.path(), name, bytes, "1000");
            const std::string script = name.substr(0, name.rfind('.')) + ".bat";
            const bool fromElsewhere = ++turn % 2 == 0;
            const ShRun result = fromElsewhere ? run(shell, dir.path() / "source", "../" + script)
                                             : run(shell, dir.path(), script);
            EXPECT_EQ(result.status, 0) << result.output;
            EXPECT_NE(result.output.find(FileStart + name + CreatedEnd + "\n" + ContentsChecked), std::string::npos)
                << result.output;
            EXPECT_TRUE(readFile(dir / name) == bytes && readFile(dir / ("source/" + name)) == bytes);
            EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
            EXPECT_FALSE(fs::exists(dir.path() / "ran") || fs::exists(dir.path() / "source/ran"))
                << "a name ran as a command";
        }
    }
}

TEST(RejoinUnderSh, NamesWhatIsWrongAndLosesNothing)
{
    // 3,500 bytes in pieces of 1,000 of "my data.bin"; "y" answers the
    // question before a file already here is replaced.
    const std::string file = "my data.bin", bytes = patternBytes(3500, 2);
    std::string edited = bytes;
    edited[100] ^= 1;
    struct Case {
        std::string shown;
        std::function<void(const TempDir&)> change;
        std::string input;
        int status;
        std::string fileAfter; // "-" for none
    };
    const std::string kept = KeptStart + file + KeptEnd;
    const Case cases[] = {
        {PieceStart + std::string("my data.002") + PieceMissingEnd,
         [](const TempDir& d) { fs::remove(d.path() / "my data.002"); }, "", 1, "-"},
        {"The piece my data.001 has 999 bytes instead of 1000" + std::string(PieceSizeEnd),
         [](const TempDir& d) { fs::resize_file(d.path() / "my data.001", 999); }, "", 1, "-"},
        {"The piece my data.004 has 501 bytes instead of 500",
         [](const TempDir& d) { fs::resize_file(d.path() / "my data.004", 501); }, "", 1, "-"},
        {CheckingEveryPiece + std::string("\n") + PieceStart + "my data.003" + PieceDamagedEnd,
         [](const TempDir& d) { writeFile(d / "my data.003", std::string(1000, 'x')); }, "", 1, "-"},
        {FileStart + file + AlreadyHereEnd, [&](const TempDir& d) { writeFile(d / file, bytes); }, "", 0, bytes},
        {FileStart + file + DiffersEnd + "\n" + ReplacePrompt + kept,
         [&](const TempDir& d) { writeFile(d / file, edited); }, "", 1, edited},
        {ContentsChecked, [&](const TempDir& d) { writeFile(d / file, "older"); }, "y\n", 0, bytes},
        // Replaced only by a proven rebuild.
        {PieceStart + std::string("my data.001") + PieceDamagedEnd,
         [&](const TempDir& d) {
             writeFile(d / file, "older");
             writeFile(d / "my data.001", std::string(1000, 'x'));
         },
         "yes\n", 1, "older"},
        {FolderStart + file + FolderEnd + "\n" + kept, [&](const TempDir& d) { fs::create_directory(d.path() / file); },
         "y\n", 1, "/"},
    };
    for (const char* shell : Shells) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(shell) + ": " + c.shown);
            TempDir dir;
            split(dir.path(), file, bytes, "1000");
            c.change(dir);
            const ShRun result = run(shell, dir.path(), "my data.bat", c.input);
            EXPECT_EQ(result.status, c.status) << result.output;
            EXPECT_NE(result.output.find(c.shown), std::string::npos) << result.output;
            if (c.fileAfter == "/")
                EXPECT_TRUE(fs::is_directory(dir.path() / file));
            else if (c.fileAfter == "-")
                EXPECT_FALSE(fs::exists(dir.path() / file));
            else
                EXPECT_TRUE(readFile(dir / file) == c.fileAfter) << "the file already here";
            EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
        }
    }
}

TEST(RejoinUnderSh, ProvesWithWhicheverToolThereIsAndSaysWhenNone)
{
    const std::string bytes = patternBytes(2500, 8);
    for (const char* shell : Shells) {
        for (const std::string tool : {"sha256sum", "shasum", "openssl", ""}) {
            SCOPED_TRACE(std::string(shell) + ": " + (tool.empty() ? "none" : tool));
            TempDir dir;
            split(dir.path(), "data.bin", bytes, "1000");
            const ShRun result = run(shell, dir.path(), "data.bat", "", toolsWith(dir, tool));
            EXPECT_EQ(result.status, 0) << result.output;
            EXPECT_EQ(result.output.find(NoHashTool) != std::string::npos, tool.empty()) << result.output;
            EXPECT_NE(result.output.find(FileStart + std::string("data.bin") + CreatedEnd + "\n" +
                                         (tool.empty() ? SizesChecked : ContentsChecked)),
                      std::string::npos)
                << result.output;
            EXPECT_TRUE(readFile(dir / "data.bin") == bytes);
        }
    }
}
