// Splits through the real main dialog that only Windows' own rules decide: files held open by
// other programs, forward slashes, quoted paths, a share's root, names of devices.
#include "app/ParcelorMFCDlg.h"
#include "app/PathLookup.h"
#include "res/resource.h"
#include "split/SplitFiles.h"
#include "split/SplitMessages.h"
#include "tests/wine/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

// A file held open as another program holds it, with access and the sharing it allows others.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD access, DWORD sharing)
        : m_hFile(::CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~HeldFile()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hFile);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile;
};

// The message of one split of file into directory, typed into the dialog as a person types them.
std::string SplitMessage(const std::string& file, const std::string& directory, const char* customBytes)
{
    CParcelorDlg dlg;
    BoxCatcher catcher;
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        Type(hDlg, IDC_FILE, file);
        Focus(hDlg, IDC_DIRECTORY);
        Type(hDlg, IDC_DIRECTORY, directory);
        Choose(hDlg, IDC_SIZE, "Custom size...");
        Type(hDlg, IDC_CUSTOM_SIZE, customBytes);
        Click(hDlg, IDC_SPLIT);
    });
    return catcher.Boxes().empty() ? "" : catcher.Boxes().back().text;
}

std::string Done(const std::string& fileName, const std::string& baseName)
{
    return SplitMessages::fill(SplitMessages::SplitDone, {fileName, baseName + ".bat"});
}

} // namespace

TEST(SplitOnWindows, NoScriptBesidePiecesOfAnotherSplit)
{
    ScratchDirectory dir;
    WriteFileBytes(dir / "big.bin", PatternBytes(3000));
    ASSERT_EQ(SplitMessage(dir / "big.bin", dir.Path(), "1000"), Done("big.bin", "big"));

    // Another file of the same name and size, while another program holds piece 3 of the first:
    // the split fails there, and no script is left to join pieces of both.
    WriteFileBytes(dir / "big.bin", std::string(3000, 'B'));
    {
        HeldFile piece(dir / "big.003", GENERIC_READ, 0);
        ASSERT_TRUE(piece.Held());
        EXPECT_EQ(SplitMessage(dir / "big.bin", dir.Path(), "1000"), SplitMessages::OpenError);
    }
    EXPECT_FALSE(FileExists(dir / "big.bat"));
    EXPECT_FALSE(FileExists(dir / "big.ba~"));

    // A script that cannot be removed refuses the next split before anything is written.
    ASSERT_EQ(SplitMessage(dir / "big.bin", dir.Path(), "1000"), Done("big.bin", "big"));
    WriteFileBytes(dir / "big.bin", std::string(3000, 'C'));
    {
        HeldFile script(dir / "big.bat", GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(script.Held());
        EXPECT_EQ(SplitMessage(dir / "big.bin", dir.Path(), "1000"),
                  SplitMessages::fill(SplitMessages::OldScript, {"big.bat"}));
    }
    EXPECT_EQ(ReadFileBytes(dir / "big.001"), std::string(1000, 'B'));
}

TEST(SplitOnWindows, SourceThatOthersMayWriteIsRefusedAndWhileSplitNoOneMay)
{
    ScratchDirectory dir;
    WriteFileBytes(dir / "log.txt", PatternBytes(3000));
    {
        HeldFile writer(dir / "log.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(writer.Held());
        EXPECT_EQ(SplitMessage(dir / "log.txt", dir.Path(), "1000"), SplitMessages::SourceInUse);
    }
    EXPECT_FALSE(FileExists(dir / "log.001"));

    SourceFile source;
    ASSERT_EQ(source.open(dir / "log.txt"), FileError::None);
    HeldFile writer(dir / "log.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(writer.Held());
    HeldFile reader(dir / "log.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_TRUE(reader.Held());
}

TEST(SplitOnWindows, SlashesSeparateAsWindowsReadsThem)
{
    ScratchDirectory dir;
    ::CreateDirectoryA((dir / "fs").c_str(), nullptr);
    ::CreateDirectoryA((dir / "out").c_str(), nullptr);
    const std::string bytes = PatternBytes(2500);
    WriteFileBytes(dir / "fs\\big.bin", bytes);
    std::string slashed = dir.Path();
    for (char& c : slashed)
        if (c == '\\')
            c = '/';

    // A full path, and a path relative to the current folder with the folder ".".
    char current[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, current);
    ::SetCurrentDirectoryA(dir.Path().c_str());
    const std::pair<std::string, std::string> cases[] = {{slashed + "/fs/big.bin", slashed + "/out/"},
                                                         {"fs/big.bin", "."}};
    for (const auto& [file, directory] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(SplitMessage(file, directory, "1000"), Done("big.bin", "big"));
    }
    ::SetCurrentDirectoryA(current);
    for (const std::string& folder : {dir / "out", dir.Path()}) {
        EXPECT_EQ(ReadFileBytes(folder + "\\big.001") + ReadFileBytes(folder + "\\big.002") +
                      ReadFileBytes(folder + "\\big.003"),
                  bytes);
        EXPECT_TRUE(FileExists(folder + "\\big.bat"));
    }
}

TEST(SplitOnWindows, PathsInOneEnclosingPairOfQuotesAreTheTextInside)
{
    ScratchDirectory dir;
    ::CreateDirectoryA((dir / "out").c_str(), nullptr);
    WriteFileBytes(dir / "big.bin", PatternBytes(2500));
    const std::string file = dir / "big.bin";
    const std::string out = dir / "out";
    // As Explorer's "Copy as path" gives them; anything else is looked up as it is.
    const struct {
        std::string file, directory, message;
    } cases[] = {
        {"\"" + file + "\"", out, Done("big.bin", "big")}, {file, "\"" + out + "\"", Done("big.bin", "big")},
        {"\"" + file, out, SplitMessages::FileNotFound},   {"\"\"" + file + "\"\"", out, SplitMessages::FileNotFound},
        {file, "\"", SplitMessages::DirectoryNotFound},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitMessage(c.file, c.directory, "1000"), c.message) << c.file << " | " << c.directory;
    EXPECT_EQ(ReadFileBytes(out + "\\big.001") + ReadFileBytes(out + "\\big.002") + ReadFileBytes(out + "\\big.003"),
              PatternBytes(2500));
}

// A find-first lookup takes no share's root, Windows documents; Wine's takes it, so the rule
// that sends a root to its attributes instead is checked here on its own, then used on a real
// share: Wine reaches \\server\share through its prefix's dosdevices\unc\server\share.
TEST(SplitOnWindows, ShareRootIsADirectoryAsADriveRootIs)
{
    const std::pair<const char*, const char*> roots[] = {
        {"C:", "C:\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"\\\\server\\share\\", "\\\\server\\share\\"},
        {"\\\\server\\share\\pieces", ""},
        {"\\\\server\\share\\\\", ""},
        {"\\\\server", ""},
        {"\\\\server\\", ""},
        {"\\\\\\share", ""},
        {"C:\\data", ""},
        {"", ""},
    };
    for (const auto& [path, root] : roots)
        EXPECT_EQ(RootDirectoryOf(path), root) << path;

    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        GTEST_SKIP() << "makes its share in Wine's prefix";
    std::string unc = std::string("Z:") + prefix + "/dosdevices/unc";
    for (char& c : unc)
        c = c == '/' ? '\\' : c;
    for (const std::string& folder : {unc, unc + "\\parcelor-test", unc + "\\parcelor-test\\pieces"})
        ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string share = "\\\\parcelor-test\\pieces";
    ScratchDirectory dir;
    WriteFileBytes(dir / "big.bin", PatternBytes(2500));
    EXPECT_EQ(SplitMessage(dir / "big.bin", share, "1000"), Done("big.bin", "big"));
    EXPECT_EQ(SplitMessage(dir / "big.bin", share + "\\", "1000"), Done("big.bin", "big"));
    EXPECT_EQ(ReadFileBytes(share + "\\big.001") + ReadFileBytes(share + "\\big.002") +
                  ReadFileBytes(share + "\\big.003"),
              PatternBytes(2500));
    EXPECT_EQ(SplitMessage(dir / "big.bin", "\\\\parcelor-test\\missing", "1000"), SplitMessages::DirectoryNotFound);
    for (const char* name : {"big.001", "big.002", "big.003", "big.bat"})
        ::DeleteFileA((share + "\\" + name).c_str());
    ::RemoveDirectoryA((unc + "\\parcelor-test\\pieces").c_str());
    ::RemoveDirectoryA((unc + "\\parcelor-test").c_str());
}

TEST(SplitOnWindows, NamesOfDevicesAreRefused)
{
    // The stem of a file without an extension ends in its folder's name. Only a path that
    // Windows takes as it is can make such a folder.
    ScratchDirectory dir;
    ASSERT_TRUE(::CreateDirectoryA(("\\\\?\\" + (dir / "nul.d")).c_str(), nullptr));
    ::CreateDirectoryA((dir / "out").c_str(), nullptr);
    WriteFileBytes("\\\\?\\" + (dir / "nul.d\\README"), "some text");
    EXPECT_EQ(SplitMessage(dir / "nul.d\\README", dir / "out", "3"),
              SplitMessages::fill(SplitMessages::DeviceName, {"nul"}));
    // A lookup by name would find the device; a search finds files only.
    WIN32_FIND_DATAA found;
    EXPECT_EQ(::FindFirstFileA((dir / "out\\*.001").c_str(), &found), INVALID_HANDLE_VALUE) << found.cFileName;
}
