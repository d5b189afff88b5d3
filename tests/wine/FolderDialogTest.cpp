// The main dialog's directory Browse button over a stand-in shell and over the real browse window.
#include "app/ParcelorMFCDlg.h"
#include "controls/FolderDialog.h"
#include "res/resource.h"
#include "tests/wine/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

struct ShellItem {
    int id;
};

namespace {

// A browse window in a script: it opens, moves through selections, and the
// user confirms one item (or none: Cancel). Logs what the picker asks of it.
class CStandInShell : public CFolderShell {
public:
    std::vector<ShellItemList> selections;
    ShellItemList confirmed = nullptr;
    std::map<ShellItemList, std::string> paths; // items with a file-system path
    std::vector<std::string> log;

    ShellItemList BrowseForFolder(CFolderPicker& picker) override
    {
        picker.OnBrowseCallback(BrowseInitialized, nullptr);
        for (ShellItemList item : selections)
            picker.OnBrowseCallback(BrowseSelChanged, item);
        return confirmed;
    }
    bool PathFromItemList(ShellItemList item, char* path) override
    {
        auto found = paths.find(item);
        if (found != paths.end())
            std::strcpy(path, found->second.c_str());
        return found != paths.end();
    }
    bool FreeItemList(ShellItemList item) override
    {
        log.push_back("free " + std::to_string(item->id));
        return true;
    }
    void SetStatusText(const char* text) override { log.push_back(std::string("status ") + text); }
    void SetSelection(const char* path) override { log.push_back(std::string("select ") + path); }
};

// The real main dialog, its folder picker running over shell.
class CDialogOverShell : public CParcelorDlg {
public:
    explicit CDialogOverShell(CFolderShell& shell) : m_shell(shell) { }

protected:
    CFolderShell* FolderShell() override { return &m_shell; }

private:
    CFolderShell& m_shell;
};

ShellItem g_windows{1}, g_desktop{2}, g_deep{3}, g_nameless{4};
const std::string DeepPath = "C:\\Program Files\\Common Files\\Shared Tools";
// The shell browse window's status line (the static under its title).
const int BrowseStatusLine = 0x3743;

// Types a file and leaves its field, as a person moving on to the next one.
void EnterFile(HWND dialog, const char* file)
{
    Focus(dialog, IDC_FILE);
    Type(dialog, IDC_FILE, file);
    Focus(dialog, IDC_SPLIT);
}

} // namespace

TEST(DirectoryBrowse, StatusFollowsTheSelectionAndOkTakesTheDirectoryForGood)
{
    CStandInShell shell;
    shell.paths = {{&g_windows, "C:\\Windows"}, {&g_deep, DeepPath}};
    shell.selections = {&g_windows, &g_desktop, &g_deep};
    shell.confirmed = &g_deep;
    CDialogOverShell dlg(shell);
    RunInsideModal(dlg, [&] {
        EnterFile(dlg, "C:\\data\\big.zip");
        Click(dlg, IDC_BROWSE_DIRECTORY);
        EXPECT_EQ(ItemText(dlg, IDC_DIRECTORY), DeepPath);
        EXPECT_EQ(ItemText(dlg, IDC_FILE), "C:\\data\\big.zip");
        EXPECT_FALSE(dlg.m_bDirFollowsFile);
        EnterFile(dlg, "C:\\other\\small.zip");
        EXPECT_EQ(ItemText(dlg, IDC_DIRECTORY), DeepPath);
    });
    const std::vector<std::string> expected = {
        "select ",
        "status ", // opened with no initial folder
        "status C:\\Windows",
        "status ", // the desktop has no file-system path
        "status C:\\Program Files\\Common Files\\Share...",
        "free 3",
    };
    EXPECT_EQ(shell.log, expected);
}

TEST(DirectoryBrowse, CancelAndChoicesWithoutAPathLeaveTheDirectoryFollowing)
{
    const struct {
        const char* how;
        ShellItemList confirmed;
        const char* directoryAfter;
        const char* freed;
    } cases[] = {
        {"Cancel", nullptr, "C:\\data\\", nullptr},
        {"OK on the desktop", &g_desktop, "C:\\data\\", "free 2"},
        {"OK on an item with an empty path", &g_nameless, "", "free 4"},
    };
    for (const auto& c : cases) {
        CStandInShell shell;
        shell.paths = {{&g_windows, "C:\\Windows"}, {&g_nameless, ""}};
        shell.selections = {&g_windows};
        shell.confirmed = c.confirmed;
        CDialogOverShell dlg(shell);
        RunInsideModal(dlg, [&] {
            EnterFile(dlg, "C:\\data\\big.zip");
            Click(dlg, IDC_BROWSE_DIRECTORY);
            EXPECT_EQ(ItemText(dlg, IDC_DIRECTORY), c.directoryAfter) << c.how;
            EXPECT_TRUE(dlg.m_bDirFollowsFile) << c.how;
            EnterFile(dlg, "D:\\next\\file.bin");
            EXPECT_EQ(ItemText(dlg, IDC_DIRECTORY), "D:\\next\\") << c.how;
        });
        EXPECT_EQ(shell.log.back(), c.freed ? c.freed : "status C:\\Windows") << c.how;
    }
}

#ifndef NDEBUG
TEST(FolderDialog, MessagesOutsideTheBrowseWindowAssertNamingTheSource)
{
    BoxCatcher catcher;
    CFolderDialog picker(nullptr, 0, nullptr);
    picker.SetStatusText("nowhere");
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].caption, "Assertion failed");
    EXPECT_EQ(catcher.Boxes()[0].text.rfind("FolderDialog, line ", 0), 0u) << catcher.Boxes()[0].text;
}
#endif

TEST(RealBrowseWindow, OpensWithoutOwnerAndTheChosenFolderFillsTheDirectory)
{
    // Right under the drive root, which Wine's browse window selects by path at once
    // (a new folder two levels inside the temporary directory it did not reach), and
    // long enough a path to be shortened in the status line.
    const std::string folder = "C:\\parcelor test - pieces for the floppies " + std::to_string(::GetTickCount());
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    CParcelorDlg dlg;
    std::string statusAtOpen = "not opened", statusOnFolder;
    bool ownerless = false, mainEnabled = false;
    BoxCatcher catcher([&](HWND box, const CaughtBox&) {
        statusAtOpen = ItemText(box, BrowseStatusLine);
        ownerless = !::GetWindow(box, GW_OWNER);
        mainEnabled = ::IsWindowEnabled(dlg) != FALSE;
        // What a click on the folder in the tree does.
        ::SendMessageA(box, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        statusOnFolder = ItemText(box, BrowseStatusLine);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    RunInsideModal(dlg, [&] {
        Click(dlg, IDC_BROWSE_DIRECTORY);
        EXPECT_EQ(ItemText(dlg, IDC_DIRECTORY), folder);
        EXPECT_FALSE(dlg.m_bDirFollowsFile);
    });
    EXPECT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(statusAtOpen, "");
    EXPECT_EQ(statusOnFolder, folder.substr(0, 35) + "...");
    EXPECT_TRUE(ownerless);
    EXPECT_TRUE(mainEnabled);
    ::RemoveDirectoryA(folder.c_str());
}

TEST(RealBrowseWindow, AFolderTheCodePageCannotHoldIsRefusedWithItsReason)
{
    ASSERT_EQ(::GetACP(), 1252u) << "run under a Western locale (code page 1252)";
    const std::wstring folder =
        L"C:\\\x041E\x0442\x0447\x0451\x0442 " + std::to_wstring(::GetTickCount()); // held as ?????
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    CParcelorDlg dlg;
    BoxCatcher catcher([&](HWND box, const CaughtBox& caught) {
        if (!caught.text.empty())
            return false; // the message
        ::SendMessageW(box, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    RunInsideModal(dlg, [&] {
        EnterFile(dlg, "C:\\data\\big.zip");
        Click(dlg, IDC_BROWSE_DIRECTORY);
        EXPECT_EQ(ItemText(dlg, IDC_DIRECTORY), "C:\\data\\");
        EXPECT_TRUE(dlg.m_bDirFollowsFile);
    });
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    EXPECT_EQ(catcher.Boxes()[1].text,
              "The name of this folder, or of a folder on its path, holds a character that this Windows' code page "
              "1252 cannot hold.\n"
              "Rename it using only the letters that code page 1252 holds, then choose it again.");
    EXPECT_EQ(catcher.Boxes()[1].icon, UINT(MB_ICONSTOP));
    ::RemoveDirectoryW(folder.c_str());
}
