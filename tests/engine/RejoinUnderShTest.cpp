// The rejoin scripts run by sh, as on Linux and macOS: dash, bash (also in
// POSIX mode, as macOS's /bin/sh), busybox's ash, mksh, posh, yash, ksh93 and
// zsh as sh, with GNU's or busybox's tools, any of four awks, and whichever
// hashing tool there is.
#include "EngineTestSupport.h"

#include "split/SplitMessages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace SplitMessages;

// text as one word of sh.
std::string quoted(const std::string& text)
{
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// The shells that run the scripts; zsh runs as sh only under that name.
const std::vector<std::string>& shells()
{
    static const std::vector<std::string> shells = [] {
        const fs::path zsh = fs::temp_directory_path() / "parcelor-zsh-as-sh";
        fs::create_directories(zsh);
        std::error_code ignored;
        fs::create_symlink("/usr/bin/zsh", zsh / "sh", ignored);
        return std::vector<std::string>{"/bin/dash",       "/bin/bash",      "/bin/bash --posix",
                                        "/bin/busybox sh", "/bin/mksh",      "/bin/posh",
                                        "/usr/bin/yash",   "/usr/bin/ksh93", (zsh / "sh").string()};
    }();
    return shells;
}

const char* const Awks[] = {"/usr/bin/original-awk", "/usr/bin/mawk", "/usr/bin/gawk", "/bin/busybox"};

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
        (path.empty() ? "" : "PATH=" + quoted(path) + " ") + "timeout 60 " + shell + " " + script + " > " + output +
        " 2>&1";
    const int status = std::system(line.c_str());
    ShRun result{readFile(output), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    fs::remove(output);
    return result;
}

// The tools that a script may use, each a link in one folder for PATH.
struct Tools {
    std::string hash = "sha256sum"; // none when empty
    std::string awk = "/usr/bin/awk";
    bool busybox = false; // cat, wc, rm, mv and printf of busybox, else GNU's
    std::string slow;     // a tool that takes its time: "cat" between files, or "hash"
};

std::string toolsFor(const TempDir& dir, const Tools& tools)
{
    const fs::path bin = dir.path() / "bin";
    fs::create_directories(bin);
    for (std::string tool : {"cat", "wc", "rm", "mv", "printf"})
        fs::create_symlink(tools.busybox ? "/bin/busybox" : "/usr/bin/" + tool, bin / tool);
    fs::create_symlink(tools.awk, bin / "awk");
    fs::create_symlink("/usr/bin/timeout", bin / "timeout");
    if (!tools.hash.empty())
        fs::create_symlink("/usr/bin/" + tools.hash, bin / tools.hash);
    // A hashing tool that never answers, and a cat that pauses after each file.
    if (tools.slow == "hash") {
        fs::remove(bin / tools.hash);
        writeFile((bin / tools.hash).string(), "#!/bin/sh\nexec /bin/sleep 60\n");
    } else if (tools.slow == "cat") {
        fs::remove(bin / "cat");
        writeFile((bin / "cat").string(), "#!/bin/sh\nfor f; do /bin/cat \"$f\" || exit 1; /bin/sleep 0.1; done\n");
    }
    for (const char* tool : {"cat", "sha256sum"})
        if (fs::is_regular_file(fs::symlink_status(bin / tool)))
            fs::permissions(bin / tool, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    return bin.string();
}

// The command that the script's header tells a user to type, "sh" first.
std::string typedCommand(const fs::path& script)
{
    const std::string text = readFile(script.string()), before = "run: sh ";
    const std::size_t at = text.find(before) + before.size();
    return text.substr(at, text.find('\r', at) - at);
}

} // namespace

TEST(RejoinUnderSh, RebuildsAndProvesEveryKindOfName)
{
    // Half are run from the folder of the source, which holds a file of the
    // same name: the script must work in its own folder. The others are run
    // as the script's header says, but for names with a percent sign, which
    // the header doubles: cmd would expand it even in a rem line.
    const std::string names[] = {
        "plain.bin",
        "my holiday (1) & more.avi",
        "100% sure!.txt",
        "it's mine.txt",
        "$(touch ran).txt",
        "`touch ran`.txt",
        "back\\slash;semi.txt",
        "a+b,c;d=e^f.bin",
        "caf\xc3\xa9 r\xc3\xa9sum\xc3\xa9.doc",
        "-n.txt",
        "-x y.txt",
        "$HOME ~ {a,b}.txt",
        "empty.txt",
    };
    int turn = 0;
    for (const std::string& shell : shells()) {
        for (const std::string& name : names) {
            SCOPED_TRACE(shell + ": " + name);
            TempDir dir;
            const std::string bytes = patternBytes(name == "empty.txt" ? 0 : 2500, static_cast<unsigned>(name.size()));
            split(dir.path(), name, bytes, "1000");
            const std::string script = name.substr(0, name.rfind('.')) + ".bat";
            const bool fromElsewhere = ++turn % 2 == 0 || name.find('%') != std::string::npos;
            Tools tools;
            tools.awk = Awks[turn % 4];
            tools.busybox = turn % 3 == 0;
            const std::string path = toolsFor(dir, tools);
            const ShRun result = fromElsewhere ? run(shell, dir.path() / "source", quoted("../" + script), "", path)
                                               : run(shell, dir.path(), typedCommand(dir.path() / script), "", path);
            EXPECT_EQ(result.status, 0) << result.output;
            EXPECT_NE(result.output.find(fill(FileCreated, {name}) + "\n" + ContentsChecked), std::string::npos)
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
    const std::string kept = fill(Kept, {file});
    const Case cases[] = {
        {fill(PieceMissing, {"my data.002"}), [](const TempDir& d) { fs::remove(d.path() / "my data.002"); }, "", 1,
         "-"},
        {fill(PieceFolder, {"my data.003"}),
         [](const TempDir& d) {
             fs::remove(d.path() / "my data.003");
             fs::create_directory(d.path() / "my data.003");
         },
         "", 1, "-"},
        {fill(PieceWrongSize, {"my data.001", "999", "1000"}),
         [](const TempDir& d) { fs::resize_file(d.path() / "my data.001", 999); }, "", 1, "-"},
        {"The piece my data.004 has 501 bytes instead of 500",
         [](const TempDir& d) { fs::resize_file(d.path() / "my data.004", 501); }, "", 1, "-"},
        {CheckingEveryPiece + std::string("\n") + fill(PieceDamaged, {"my data.003"}),
         [](const TempDir& d) { writeFile(d / "my data.003", std::string(1000, 'x')); }, "", 1, "-"},
        {fill(AlreadyHere, {file}), [&](const TempDir& d) { writeFile(d / file, bytes); }, "", 0, bytes},
        {fill(Differs, {file}) + "\n" + ReplacePrompt + kept, [&](const TempDir& d) { writeFile(d / file, edited); },
         "", 1, edited},
        {ContentsChecked, [&](const TempDir& d) { writeFile(d / file, "older"); }, "y\n", 0, bytes},
        // Replaced only by a proven rebuild.
        {fill(PieceDamaged, {"my data.001"}),
         [&](const TempDir& d) {
             writeFile(d / file, "older");
             writeFile(d / "my data.001", std::string(1000, 'x'));
         },
         "yes\n", 1, "older"},
        {fill(FolderInTheWay, {file}) + "\n" + kept, [&](const TempDir& d) { fs::create_directory(d.path() / file); },
         "y\n", 1, "/"},
    };
    for (const std::string& shell : shells()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(shell + ": " + c.shown);
            TempDir dir;
            split(dir.path(), file, bytes, "1000");
            c.change(dir);
            const ShRun result = run(shell, dir.path(), "'my data.bat'", c.input);
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
    for (const std::string& shell : shells()) {
        for (const std::string tool : {"sha256sum", "shasum", "openssl", ""}) {
            SCOPED_TRACE(shell + ": " + (tool.empty() ? "none" : tool));
            TempDir dir;
            split(dir.path(), "data.bin", bytes, "1000");
            Tools tools;
            tools.hash = tool;
            const ShRun result = run(shell, dir.path(), "data.bat", "", toolsFor(dir, tools));
            EXPECT_EQ(result.status, 0) << result.output;
            EXPECT_EQ(result.output.find(NoHashTool) != std::string::npos, tool.empty()) << result.output;
            EXPECT_NE(result.output.find(fill(FileCreated, {"data.bin"}) + "\n" +
                                         (tool.empty() ? SizesChecked : ContentsChecked)),
                      std::string::npos)
                << result.output;
            EXPECT_TRUE(readFile(dir / "data.bin") == bytes);
        }
    }
}

TEST(RejoinUnderSh, ARebuildCutShortLeavesNothingUnderTheNameAndTheNextRunJustWorks)
{
    // 30 pieces of 1,000 bytes, joined by a cat that pauses after each; or
    // proven by a hashing tool that never answers, with piece 7 damaged.
    // The first run is killed (as by a power cut) or stopped by a signal
    // (as by Ctrl-C or a closed terminal); the second has no input.
    const std::string file = "my data.bin", bytes = patternBytes(30000, 4);
    struct Case {
        std::string slow;
        int signal;
        bool wholeGroup;
        std::string afterStop, secondRun; // what each run says last
    };
    const std::string stopped = fill(Stopped, {file});
    const std::string damaged = fill(PieceDamaged, {"my data.007"});
    const Case cases[] = {
        {"cat", SIGKILL, true, "", ContentsChecked},     {"hash", SIGKILL, true, "", damaged},
        {"cat", SIGINT, true, stopped, ContentsChecked}, {"cat", SIGTERM, false, stopped, ContentsChecked},
        {"hash", SIGHUP, true, stopped, damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slow + " " + std::to_string(c.signal));
        TempDir dir;
        split(dir.path(), file, bytes, "1000");
        if (c.secondRun == damaged)
            writeFile(dir / "my data.007", std::string(1000, 'x'));
        Tools tools;
        tools.slow = c.slow;
        const std::string output = dir / "output.txt";
        Background first("cd " + quoted(dir.path().string()) + " && PATH=" + quoted(toolsFor(dir, tools)) +
                             " exec /bin/dash 'my data.bat'",
                         output);
        // Half the pieces joined, or all of them, ready to be proven.
        ASSERT_TRUE(first.waitForFile(dir.path() / "parcelor.tmp", c.slow == "cat" ? 15000 : 30000));
        if (c.slow == "hash")
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        first.signal(c.signal, c.wholeGroup);
        const int status = first.wait();
        EXPECT_NE(status, 0);
        EXPECT_FALSE(fs::exists(dir.path() / file));
        const std::string said = readFile(output);
        if (!c.afterStop.empty()) {
            EXPECT_EQ(said.substr(said.rfind('\n', said.size() - 2) + 1), c.afterStop + "\n");
            EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
        }
        const ShRun second = run("/bin/dash", dir.path(), "'my data.bat'");
        EXPECT_EQ(second.status, c.secondRun == damaged ? 1 : 0) << second.output;
        EXPECT_NE(second.output.find(c.secondRun), std::string::npos) << second.output;
        EXPECT_EQ(fs::exists(dir.path() / file), c.secondRun != damaged);
        EXPECT_FALSE(fs::exists(dir.path() / "parcelor.tmp"));
    }
}

TEST(RejoinUnderSh, SaysWhyWhenItCannotWriteOrRead)
{
    // As nobody, who may not write to a folder of root's or read a piece of
    // root's; and on a disk that holds the pieces and the file once, but not
    // twice.
    struct Case {
        std::string why;
        std::size_t length;
        const char* disk; // a tmpfs of this size, or none
        bool asNobody, writableFolder;
        std::string unreadablePiece, shown;
    };
    const Case cases[] = {
        {"a folder that cannot be written to", 3500, nullptr, true, false, "", fill(NotWritable, {"data.bin"})},
        {"a piece that cannot be read", 3500, nullptr, true, true, "data.002",
         fill(PieceUnreadable, {"data.002"}) + "\n" + fill(FileNotCreated, {"data.bin"})},
        {"room for the file once", 200000, "512k", false, true, "", ContentsChecked},
        {"no room for it", 450000, "512k", false, true, "", fill(CopyFailed, {"data.bin", "450000"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TempDir source;
        std::unique_ptr<SmallDisk> disk;
        if (c.disk) {
            disk = std::make_unique<SmallDisk>(c.disk);
            if (!disk->mounted())
                GTEST_SKIP() << disk->whyNot();
        }
        const fs::path folder = c.disk ? disk->dir().path() : source.path() / "pieces";
        fs::create_directories(folder);
        writeFile(source / "data.bin", patternBytes(c.length, 5));
        RecordingHost host;
        runSplit({source / "data.bin", folder.string(), "Custom size...", std::to_string(c.length / 3 + 1), "Bytes"},
                 host);
        ASSERT_EQ(host.lastMessage().rfind("The file was split successfully.", 0), 0u) << host.lastMessage();
        fs::permissions(source.path(), fs::perms::others_exec, fs::perm_options::add);
        using fs::perms;
        fs::permissions(folder,
                        c.writableFolder ? perms::all : perms::owner_all | perms::others_read | perms::others_exec);
        if (!c.unreadablePiece.empty())
            fs::permissions(folder / c.unreadablePiece, fs::perms::owner_read | fs::perms::owner_write);
        const auto before = listFolder(folder);
        const ShRun result = run(c.asNobody ? "runuser -u nobody -- /bin/dash" : "/bin/dash", folder, "data.bat");
        EXPECT_EQ(result.status == 0, c.shown == ContentsChecked) << result.output;
        EXPECT_NE(result.output.find(c.shown), std::string::npos) << result.output;
        EXPECT_EQ(result.output.find("Permission denied"), std::string::npos) << "the tools' words: " << result.output;
        if (c.shown == ContentsChecked)
            EXPECT_EQ(readFile((folder / "data.bin").string()), readFile(source / "data.bin"));
        else
            EXPECT_EQ(listFolder(folder), before);
    }
}
