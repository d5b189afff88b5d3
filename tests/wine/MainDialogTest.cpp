// The real main dialog in its own modal loop: its state at start, the directory following the
// file, the size area, the file-open dialog, splits with their messages, and the keys that end it.
#include "app/AboutDlg.h"
#include "app/ParcelorMFCDlg.h"
#include "framework/CodePageText.h"
#include "res/resource.h"
#include "split/SplitMessages.h"
#include "tests/wine/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

const char Preset[] = "1.44 MB Floppy";
const char Custom[] = "Custom size...";

std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = "";
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

bool ProgressHidden(HWND dialog)
{
    return !ItemVisible(dialog, IDC_PROGRESS_LABEL) && !ItemVisible(dialog, IDC_PROGRESS);
}

} // namespace

TEST(MainDialog, StartsEmptyWithThePresetChosenAndTheFileFieldFocused)
{
    CParcelorDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        EXPECT_EQ(WindowText(hDlg), "The Parcelor");
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), "");
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "");
        EXPECT_EQ(ItemText(hDlg, IDC_SIZE), Preset);
        EXPECT_EQ(ComboEntries(::GetDlgItem(hDlg, IDC_SIZE)), (std::vector<std::string>{Preset, Custom}));
        EXPECT_EQ(ComboEntries(::GetDlgItem(hDlg, IDC_UNITS)), (std::vector<std::string>{"Bytes", "KB", "MB"}));
        for (int id : {IDC_CUSTOM_SIZE_LABEL, IDC_CUSTOM_SIZE, IDC_UNITS, IDC_PROGRESS_LABEL, IDC_PROGRESS})
            EXPECT_FALSE(ItemVisible(hDlg, id)) << id;
        EXPECT_EQ(FocusedId(), IDC_FILE);
        EXPECT_TRUE(dlg.m_bDirFollowsFile);

        HMENU sysMenu = ::GetSystemMenu(hDlg, FALSE);
        const int count = ::GetMenuItemCount(sysMenu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(::GetMenuState(sysMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
        EXPECT_EQ(::GetMenuItemID(sysMenu, count - 1), UINT(IDM_ABOUT));
        EXPECT_EQ(MenuText(sysMenu, count - 1), "&About The Parcelor...");

        ASSERT_NE(dlg.m_hIcon, nullptr);
        EXPECT_EQ(::SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(dlg.m_hIcon));
        EXPECT_EQ(::SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(dlg.m_hIcon));
        EXPECT_EQ(::SendMessageA(hDlg, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(dlg.m_hIcon));
        EXPECT_TRUE(::GetWindowLongA(hDlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        EXPECT_TRUE(::GetWindowLongA(hDlg, GWL_EXSTYLE) & WS_EX_ACCEPTFILES); // a drop target
        EXPECT_FALSE(::GetWindowLongA(hDlg, GWL_STYLE) & WS_MAXIMIZEBOX);
    });
}

TEST(MainDialog, DirectoryFollowsTheFileUntilADirectoryIsTyped)
{
    CParcelorDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        Type(hDlg, IDC_FILE, "C:\\data\\big.zip");
        Focus(hDlg, IDC_SPLIT);
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "C:\\data\\");

        // A path pasted in quotes, as Explorer copies it: its folder, and the field left as pasted.
        Focus(hDlg, IDC_FILE);
        Type(hDlg, IDC_FILE, "\"C:\\my data\\big.zip\"");
        Focus(hDlg, IDC_SPLIT);
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "C:\\my data\\");
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), "\"C:\\my data\\big.zip\"");

        // A bare name, a forward slash or a drive colon is no folder: the directory empties.
        for (const char* file : {"big.zip", "C:/data/big.zip", "C:big.zip", ""}) {
            Focus(hDlg, IDC_FILE);
            Type(hDlg, IDC_FILE, file);
            Focus(hDlg, IDC_SPLIT);
            EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "") << file;
        }

        // Leaving the directory field empty keeps the following.
        Focus(hDlg, IDC_DIRECTORY);
        Focus(hDlg, IDC_FILE);
        Type(hDlg, IDC_FILE, "C:\\x\\y.bin");
        Focus(hDlg, IDC_SPLIT);
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "C:\\x\\");
        EXPECT_TRUE(dlg.m_bDirFollowsFile);

        // A typed directory ends it, even when it is cleared again by hand.
        Focus(hDlg, IDC_DIRECTORY);
        Type(hDlg, IDC_DIRECTORY, "D:\\pieces");
        Focus(hDlg, IDC_FILE);
        EXPECT_FALSE(dlg.m_bDirFollowsFile);
        Type(hDlg, IDC_FILE, "C:\\other\\z.bin");
        Focus(hDlg, IDC_SPLIT);
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "D:\\pieces");
        Type(hDlg, IDC_DIRECTORY, "");
        Focus(hDlg, IDC_FILE);
        Focus(hDlg, IDC_SPLIT);
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "");
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), "C:\\other\\z.bin");
    });
}

TEST(MainDialog, CustomSizeComesBackInBytesWithItsTextAndHidesWithoutClearing)
{
    CParcelorDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        Choose(hDlg, IDC_SIZE, Custom);
        for (int id : {IDC_CUSTOM_SIZE_LABEL, IDC_CUSTOM_SIZE, IDC_UNITS})
            EXPECT_TRUE(ItemVisible(hDlg, id)) << id;
        EXPECT_EQ(FocusedId(), IDC_CUSTOM_SIZE);
        EXPECT_EQ(ItemText(hDlg, IDC_UNITS), "Bytes");
        EXPECT_EQ(dlg.m_strSize, Custom);

        Type(hDlg, IDC_CUSTOM_SIZE, "12x");
        Choose(hDlg, IDC_UNITS, "MB");
        EXPECT_EQ(dlg.m_strUnits, "MB");

        Choose(hDlg, IDC_SIZE, Preset);
        for (int id : {IDC_CUSTOM_SIZE_LABEL, IDC_CUSTOM_SIZE, IDC_UNITS})
            EXPECT_FALSE(ItemVisible(hDlg, id)) << id;
        EXPECT_EQ(dlg.m_strSize, Preset);
        EXPECT_EQ(ItemText(hDlg, IDC_CUSTOM_SIZE), "12x");
        EXPECT_EQ(ItemText(hDlg, IDC_UNITS), "MB");

        Choose(hDlg, IDC_SIZE, Custom);
        EXPECT_EQ(ItemText(hDlg, IDC_CUSTOM_SIZE), "12x");
        EXPECT_EQ(ItemText(hDlg, IDC_UNITS), "Bytes");
        EXPECT_TRUE(ProgressHidden(hDlg));
    });
}

TEST(MainDialog, FileOpenDialogCancelledChangesNothing)
{
    CParcelorDlg dlg;
    BoxCatcher catcher; // cancels whatever opens
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        Type(hDlg, IDC_FILE, "C:\\data\\big.zip");
        Focus(hDlg, IDC_BROWSE_FILE); // the directory follows as the file field is left
        Type(hDlg, IDC_DIRECTORY, "E:\\");
        Click(hDlg, IDC_BROWSE_FILE);
        ASSERT_EQ(catcher.Boxes().size(), 1u);
        EXPECT_EQ(catcher.Boxes()[0].text, "");
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), "C:\\data\\big.zip");
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "E:\\");
        EXPECT_EQ(dlg.m_strFile, "C:\\data\\big.zip");
        EXPECT_EQ(dlg.m_strDirectory, "E:\\"); // read as Browse was pressed
        EXPECT_TRUE(dlg.m_bDirFollowsFile);
    });
}

TEST(MainDialog, FileChosenThroughBrowseFillsTheDirectoryOnceThenNoMore)
{
    ScratchDirectory dir;
    WriteFileBytes(dir / "first.bin", "1");
    WriteFileBytes(dir / "second.bin", "2");
    std::string next = dir / "first.bin";
    CParcelorDlg dlg;
    // Types the full path into the open dialog's file name box (cmb13) and confirms it.
    BoxCatcher catcher([&](HWND box, const CaughtBox&) {
        ::SetDlgItemTextA(box, 0x47C, next.c_str());
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        Click(hDlg, IDC_BROWSE_FILE);
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), dir / "first.bin");
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), dir.Path() + "\\");
        EXPECT_FALSE(dlg.m_bDirFollowsFile);

        Type(hDlg, IDC_DIRECTORY, "D:\\kept");
        next = dir / "second.bin";
        Click(hDlg, IDC_BROWSE_FILE);
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), dir / "second.bin");
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), "D:\\kept");
    });
    EXPECT_EQ(catcher.Boxes().size(), 2u);
}

TEST(MainDialog, SplitShowsTheFullBarUnderItsMessageAndHidesItAfter)
{
    ScratchDirectory dir;
    const std::string original = PatternBytes(3000000);
    WriteFileBytes(dir / "big.zip", original);
    CParcelorDlg dlg;
    bool progressShownUnderMessage = false;
    BoxCatcher catcher([&](HWND, const CaughtBox&) {
        HWND bar = ::GetDlgItem(dlg, IDC_PROGRESS);
        const LRESULT full = ::SendMessageA(bar, PBM_GETRANGE, FALSE, 0);
        progressShownUnderMessage = ItemVisible(dlg, IDC_PROGRESS_LABEL) && ItemVisible(dlg, IDC_PROGRESS) &&
            full > 0 && ::SendMessageA(bar, PBM_GETPOS, 0, 0) == full;
        return false;
    });
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        EXPECT_TRUE(ProgressHidden(hDlg));
        // Typed, then Split clicked straight away: the directory follows before the split reads it.
        Type(hDlg, IDC_FILE, dir / "big.zip");
        Click(hDlg, IDC_SPLIT);
        EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), dir.Path() + "\\");
        EXPECT_TRUE(ProgressHidden(hDlg));
    });
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    const CaughtBox& done = catcher.Boxes()[0];
    EXPECT_EQ(done.caption, "The Parcelor");
    EXPECT_EQ(done.icon, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(done.text, "The file was split successfully.\nTo recreate big.zip run the program big.bat.");
    EXPECT_TRUE(progressShownUnderMessage);

    const std::string first = ReadFileBytes(dir / "big.001");
    const std::string second = ReadFileBytes(dir / "big.002");
    const std::string third = ReadFileBytes(dir / "big.003");
    EXPECT_EQ(first.size(), 1457664u);
    EXPECT_EQ(second.size(), 1457664u);
    EXPECT_EQ(third.size(), 84672u);
    EXPECT_TRUE(first + second + third == original);
    EXPECT_TRUE(FileExists(dir / "big.bat"));
    EXPECT_FALSE(FileExists(dir / "big.004"));
}

TEST(MainDialog, FailedSplitsStopWithTheirMessageAndNeverShowTheBar)
{
    ScratchDirectory dir;
    WriteFileBytes(dir / "small.txt", "some text");
    WriteFileBytes(dir / "holiday.zip", "some text");
    // Named as its own first piece, typed in other letter case or by its
    // 8.3 short name: refused by the name alone. Named as its own script
    // while it is written: the folder's listing finds it in other case.
    WriteFileBytes(dir / "REPORT.001", "some text");
    WriteFileBytes(dir / "long report name.001", "some text");
    WriteFileBytes(dir / "REPORT.BA~", "some text");
    char shortPath[MAX_PATH] = "";
    ASSERT_NE(::GetShortPathNameA((dir / "long report name.001").c_str(), shortPath, MAX_PATH), 0u);
    const std::string shortName = std::string(shortPath).substr(std::string(shortPath).rfind('\\') + 1);
    CParcelorDlg dlg;
    bool progressShown = false;
    BoxCatcher catcher([&](HWND, const CaughtBox&) {
        progressShown = progressShown || !ProgressHidden(dlg);
        return false;
    });
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        Click(hDlg, IDC_SPLIT);
        Type(hDlg, IDC_FILE, dir / "missing.txt");
        Click(hDlg, IDC_SPLIT);
        Focus(hDlg, IDC_FILE);
        Type(hDlg, IDC_FILE, dir / "small.txt");
        Choose(hDlg, IDC_SIZE, Custom);
        Type(hDlg, IDC_CUSTOM_SIZE, "1.5");
        Click(hDlg, IDC_SPLIT);
        Choose(hDlg, IDC_SIZE, Preset);
        Focus(hDlg, IDC_FILE);
        Type(hDlg, IDC_FILE, dir / "report.001");
        Click(hDlg, IDC_SPLIT);
        Focus(hDlg, IDC_FILE);
        Type(hDlg, IDC_FILE, shortPath);
        Click(hDlg, IDC_SPLIT);
        Focus(hDlg, IDC_FILE);
        Type(hDlg, IDC_FILE, dir / "report.ba~");
        Click(hDlg, IDC_SPLIT);
        // A wildcard typed by mistake matches holiday.zip; the name itself is what is wrong.
        Focus(hDlg, IDC_FILE);
        Type(hDlg, IDC_FILE, dir / "holid?y.zip");
        Click(hDlg, IDC_SPLIT);
        EXPECT_TRUE(ProgressHidden(hDlg));
    });
    ASSERT_EQ(catcher.Boxes().size(), 7u);
    EXPECT_EQ(catcher.Boxes()[0].text, SplitMessages::NoFile);
    EXPECT_EQ(catcher.Boxes()[1].text, SplitMessages::FileNotFound);
    EXPECT_EQ(catcher.Boxes()[2].text, SplitMessages::SizeNotWhole);
    auto pieceName = [](const std::string& name) {
        return SplitMessages::fill(SplitMessages::PieceName, {name});
    };
    EXPECT_EQ(catcher.Boxes()[3].text, pieceName("report.001"));
    EXPECT_EQ(catcher.Boxes()[4].text, pieceName(shortName));
    EXPECT_EQ(catcher.Boxes()[5].text,
              SplitMessages::fill(SplitMessages::OverwritesSource, {"rejoin script report.bat"}));
    EXPECT_EQ(catcher.Boxes()[6].text,
              "The name " + (dir / "holid?y.zip") +
                  " holds * or ?, which Windows reads as standing for other characters: no file's name holds them.\n"
                  "Type the file's exact name, or choose it with Browse.");
    for (const CaughtBox& box : catcher.Boxes()) {
        EXPECT_EQ(box.caption, "The Parcelor");
        EXPECT_EQ(box.icon, UINT(MB_ICONSTOP));
    }
    EXPECT_FALSE(progressShown);
    EXPECT_FALSE(FileExists(dir / "small.001"));
    EXPECT_FALSE(FileExists(dir / "holiday.001"));
    EXPECT_EQ(ReadFileBytes(dir / "REPORT.001"), "some text");
    EXPECT_EQ(ReadFileBytes(dir / "long report name.001"), "some text");
    EXPECT_EQ(ReadFileBytes(dir / "REPORT.BA~"), "some text");
}

TEST(MainDialog, EnterAndExitConfirmWhileEscapeAndCloseCancel)
{
    struct Ending {
        const char* how;
        std::function<void(HWND)> act;
        INT_PTR result;
    };
    const Ending endings[] = {
        {"Enter in the file field",
         [](HWND hDlg) { ::PostMessageA(::GetDlgItem(hDlg, IDC_FILE), WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
        {"Exit clicked", [](HWND hDlg) { ::PostMessageA(::GetDlgItem(hDlg, IDC_EXIT), BM_CLICK, 0, 0); }, IDOK},
        {"Escape", [](HWND hDlg) { ::PostMessageA(::GetDlgItem(hDlg, IDC_FILE), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"close command", [](HWND hDlg) { ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    for (const Ending& ending : endings) {
        CParcelorDlg dlg;
        const INT_PTR result = RunInsideModal(
            dlg,
            [&] {
                Type(dlg, IDC_FILE, "C:\\typed\\name.txt");
                ending.act(dlg);
            },
            false);
        EXPECT_EQ(result, ending.result) << ending.how;
        if (ending.result == IDOK) { // the confirm path reads the controls
            EXPECT_EQ(dlg.m_strFile, "C:\\typed\\name.txt") << ending.how;
        }
    }
}

namespace {

// A control that takes a look at the keys of the modal loop before the dialog navigates with them.
class KeyWatcher : public CWnd {
public:
    std::vector<WPARAM> keys;
    int focusAtEscape = 0;

    bool PreTranslateMessage(MSG& msg) override
    {
        if (msg.message != WM_KEYDOWN)
            return false;
        keys.push_back(msg.wParam);
        if (msg.wParam == VK_ESCAPE)
            focusAtEscape = FocusedId();
        return msg.wParam == VK_TAB; // keeps Tab from moving the focus
    }
};

} // namespace

TEST(DialogFramework, ControlsSeeKeysBeforeTheDialogNavigates)
{
    // In the main dialog, and in the About box opened from it: once each,
    // not once for every dialog open.
    for (const bool nested : {false, true}) {
        SCOPED_TRACE(nested ? "the About box over the main dialog" : "the main dialog");
        CParcelorDlg dlg;
        CAboutDlg about;
        KeyWatcher watcher;
        auto watch = [&watcher](CDialog& dialog, int id) {
            return RunInsideModal(
                dialog,
                [&] {
                    ASSERT_TRUE(watcher.SubclassDlgItem(id, dialog));
                    HWND control = ::GetDlgItem(dialog, id);
                    ::PostMessageA(control, WM_KEYDOWN, VK_TAB, 0);
                    ::PostMessageA(control, WM_KEYDOWN, VK_ESCAPE, 0);
                },
                false);
        };
        INT_PTR result = 0;
        if (nested)
            RunInsideModal(dlg, [&] { result = watch(about, IDOK); });
        else
            result = watch(dlg, IDC_FILE);
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(watcher.keys, (std::vector<WPARAM>{VK_TAB, VK_ESCAPE}));
        if (!nested) {
            EXPECT_EQ(watcher.focusAtEscape, IDC_FILE);
        }
    }
}

TEST(MainDialog, KeepingAliveMovesTheBarWithinAPiecePaintsAndLeavesClicksQueued)
{
    CParcelorDlg dlg;
    bool stillRunningAfterSplit = false;
    const INT_PTR result = RunInsideModal(
        dlg,
        [&] {
            HWND hDlg = dlg;
            HWND bar = ::GetDlgItem(hDlg, IDC_PROGRESS);
            dlg.startProgress(4);
            dlg.stepProgress();
            const LRESULT full = ::SendMessageA(bar, PBM_GETRANGE, FALSE, 0);
            ::Sleep(50); // past the interval between two looks
            dlg.keepAlive(50, 100);
            const LRESULT within = ::SendMessageA(bar, PBM_GETPOS, 0, 0);
            EXPECT_GT(within, full / 4);
            EXPECT_LT(within, full / 2);

            // Uncovered while busy: painted at the next look. Clicked: nothing happens until the end.
            ::InvalidateRect(hDlg, nullptr, TRUE);
            ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDC_EXIT)));
            ::Sleep(50);
            dlg.keepAlive(60, 100);
            RECT dirty;
            EXPECT_FALSE(::GetUpdateRect(hDlg, &dirty, FALSE));
            stillRunningAfterSplit = ::IsWindowVisible(hDlg) != FALSE;
            dlg.hideProgress();
        },
        false);
    EXPECT_TRUE(stillRunningAfterSplit);
    EXPECT_EQ(result, IDOK); // the queued Exit click, taken once the split was over
}

// Run again at 144 DPI by the test script, where the dialog is half as large again.
TEST(Layout, MainDialogOpensCentredOnTheWorkArea)
{
    CParcelorDlg dlg;
    RunInsideModal(dlg, [&] {
        RECT area, placed;
        ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
        ::GetWindowRect(dlg, &placed);
        EXPECT_NEAR(placed.left + placed.right, area.left + area.right, 1);
        EXPECT_NEAR(placed.top + placed.bottom, area.top + area.bottom, 1);
    });
}

// Run again at 144 DPI by the test script: the templates must grow with the font, not cut it off.
TEST(Layout, MainDialogShowsEveryCaptionWholeWithTheCustomSizeAndProgressShown)
{
    CParcelorDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        Choose(hDlg, IDC_SIZE, Custom);
        dlg.startProgress(3);
        EXPECT_TRUE(ItemVisible(hDlg, IDC_CUSTOM_SIZE) && ItemVisible(hDlg, IDC_PROGRESS));
        EXPECT_EQ(ClippedCaptions(hDlg), std::vector<std::string>{});
    });
}

namespace {

const char DropOneItem[] = "Several items were dropped on the window.\n"
                           "Drop one file at a time: the file to split, or the folder for the pieces.";

std::string NameNotHeld(const char* what)
{
    return std::string("The name of this ") + what +
        ", or of a folder on its path, holds a character that this Windows' code page 1252 cannot hold.\n"
        "Rename it using only the letters that code page 1252 holds, then choose it again.";
}

std::wstring Wide(const std::string& path)
{
    return WideFromAnsi(path);
}

void CreateWideFile(const std::wstring& path)
{
    ::CloseHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

} // namespace

TEST(Drop, OneFileAsThroughBrowseOneFolderAsThroughThePickerSeveralRefused)
{
    ScratchDirectory dir;
    WriteFileBytes(dir / "big.zip", "z");
    WriteFileBytes(dir / "other.zip", "o");
    ASSERT_TRUE(::CreateDirectoryA((dir / "pieces").c_str(), nullptr));
    const struct {
        const char* what;
        std::vector<std::wstring> dropped;
        std::string file, directory;
        bool following;
        const char* message;
    } cases[] = {
        {"one file", {Wide(dir / "big.zip")}, dir / "big.zip", dir.Path() + "\\", false, nullptr},
        {"one folder", {Wide(dir / "pieces")}, "C:\\typed\\x.bin", dir / "pieces", false, nullptr},
        {"two files",
         {Wide(dir / "big.zip"), Wide(dir / "other.zip")},
         "C:\\typed\\x.bin",
         "C:\\typed\\",
         true,
         DropOneItem},
        {"a file and a folder",
         {Wide(dir / "big.zip"), Wide(dir / "pieces")},
         "C:\\typed\\x.bin",
         "C:\\typed\\",
         true,
         DropOneItem},
    };
    for (const auto& c : cases) {
        CParcelorDlg dlg;
        BoxCatcher catcher;
        RunInsideModal(dlg, [&] {
            HWND hDlg = dlg;
            Type(hDlg, IDC_FILE, "C:\\typed\\x.bin");
            Focus(hDlg, IDC_SPLIT);
            DropOn(hDlg, c.dropped);
            EXPECT_EQ(ItemText(hDlg, IDC_FILE), c.file) << c.what;
            EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), c.directory) << c.what;
            EXPECT_EQ(dlg.m_bDirFollowsFile != FALSE, c.following) << c.what;
            // Once the following has ended, a file dropped leaves the directory alone.
            if (!c.following) {
                DropOn(hDlg, {Wide(dir / "other.zip")});
                EXPECT_EQ(ItemText(hDlg, IDC_FILE), dir / "other.zip") << c.what;
                EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), c.directory) << c.what;
            }
        });
        ASSERT_EQ(catcher.Boxes().size(), c.message ? 1u : 0u) << c.what;
        if (c.message) {
            EXPECT_EQ(catcher.Boxes()[0].text, c.message);
            EXPECT_EQ(catcher.Boxes()[0].icon, UINT(MB_ICONSTOP));
        }
    }
}

namespace {

struct SentDrop {
    HWND window;
    HDROP drop;
};

DWORD WINAPI SendDrop(void* parameter)
{
    const SentDrop& sent = *static_cast<SentDrop*>(parameter);
    ::SendMessageA(sent.window, WM_DROPFILES, reinterpret_cast<WPARAM>(sent.drop), 0);
    return 0;
}

} // namespace

TEST(Drop, DuringASplitWaitsUntilTheSplitIsOver)
{
    ScratchDirectory dir;
    WriteFileBytes(dir / "big.zip", "z");
    CParcelorDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND hDlg = dlg;
        dlg.startProgress(2);
        // Another program's drop arrives as a message sent from another thread,
        // which the split's keeping alive answers.
        SentDrop sent{hDlg, MakeDrop({Wide(dir / "big.zip")})};
        HANDLE sender = ::CreateThread(nullptr, 0, &SendDrop, &sent, 0, nullptr);
        ::Sleep(50);
        dlg.keepAlive(10, 100);
        EXPECT_EQ(::WaitForSingleObject(sender, 5000), WAIT_OBJECT_0);
        ::CloseHandle(sender);
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), "");
        dlg.hideProgress();
        PumpPending();
        EXPECT_EQ(ItemText(hDlg, IDC_FILE), dir / "big.zip");
    });
}

// Wine takes its ANSI code page from the Unix locale: the test script runs these under a Western one.
TEST(NamesTheCodePageCannotHold, AreRefusedAtOnceWhileTheNamesItHoldsAreTaken)
{
    ASSERT_EQ(::GetACP(), 1252u) << "run under a Western locale (code page 1252)";
    ScratchDirectory dir;
    const std::wstring folder = Wide(dir.Path()) + L"\\";
    const std::wstring greek = folder + L"\x0388\x03BA\x03B8\x03B5\x03C3\x03B7.txt"; // held as ??????.txt
    const std::wstring lookalike = folder +
        L"\x0179r\x00F3"
        L"d\x0142o.txt"; // held as Zródlo.txt
    const std::wstring lookalikeFolder = folder +
        L"\x0179r\x00F3"
        L"d\x0142o";
    const std::wstring cafe = folder + L"caf\x00E9.txt";
    for (const std::wstring& file : {greek, lookalike, cafe})
        CreateWideFile(file);
    ASSERT_TRUE(::CreateDirectoryW(lookalikeFolder.c_str(), nullptr));
    const std::string cafeAnsi = dir.Path() + "\\caf\xE9.txt";

    const struct {
        const char* how;
        std::wstring name;
        bool browse; // else dropped
        const char* message;
    } cases[] = {
        {"Browse, replaced", greek, true, "file"},
        {"Browse, look-alike", lookalike, true, "file"},
        {"Browse, held", cafe, true, nullptr},
        {"drop, replaced", greek, false, "file"},
        {"drop, look-alike folder", lookalikeFolder, false, "folder"},
        {"drop, held", cafe, false, nullptr},
    };
    for (const auto& c : cases) {
        CParcelorDlg dlg;
        BoxCatcher catcher([&](HWND box, const CaughtBox& caught) {
            if (!caught.text.empty())
                return false; // the message
            ::SetDlgItemTextW(box, 0x47C, c.name.c_str());
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        });
        RunInsideModal(dlg, [&] {
            HWND hDlg = dlg;
            if (c.browse)
                Click(hDlg, IDC_BROWSE_FILE);
            else
                DropOn(hDlg, {c.name});
            EXPECT_EQ(ItemText(hDlg, IDC_FILE), c.message ? "" : cafeAnsi) << c.how;
            EXPECT_EQ(ItemText(hDlg, IDC_DIRECTORY), c.message ? "" : dir.Path() + "\\") << c.how;
            EXPECT_EQ(dlg.m_bDirFollowsFile != FALSE, c.message != nullptr) << c.how;
        });
        const size_t boxes = (c.browse ? 1u : 0u) + (c.message ? 1u : 0u);
        ASSERT_EQ(catcher.Boxes().size(), boxes) << c.how;
        if (c.message) {
            EXPECT_EQ(catcher.Boxes().back().text, NameNotHeld(c.message)) << c.how;
            EXPECT_EQ(catcher.Boxes().back().icon, UINT(MB_ICONSTOP)) << c.how;
        }
    }
    for (const std::wstring& file : {greek, lookalike, cafe})
        ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(lookalikeFolder.c_str());
}
