// Tests of the folder picker's rules over a stand-in shell.
#include "controls/FolderPicker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

struct ShellItem {
    int id;
};

namespace {

// A browse window in a script: the notifications it sends, in order, and
// the item the user confirms (null for Cancel).
class CScriptedShell : public CFolderShell {
public:
    std::vector<ShellItemList> selections; // BrowseSelChanged in this order
    ShellItemList confirmed = nullptr;
    std::map<ShellItemList, std::string> paths; // items with a file-system path
    bool allocatorAvailable = true;

    std::vector<std::string> log; // every call the picker made, in order

    ShellItemList BrowseForFolder(CFolderPicker& picker) override
    {
        log.push_back("browse");
        picker.OnBrowseCallback(BrowseInitialized, nullptr);
        picker.OnBrowseCallback(3, nullptr); // BFFM_VALIDATEFAILEDA: ignored
        for (ShellItemList item : selections)
            picker.OnBrowseCallback(BrowseSelChanged, item);
        return confirmed;
    }
    bool PathFromItemList(ShellItemList item, char* path) override
    {
        auto found = paths.find(item);
        if (found == paths.end())
            return false;
        std::strcpy(path, found->second.c_str());
        return true;
    }
    bool FreeItemList(ShellItemList item) override
    {
        log.push_back("free " + std::to_string(item->id));
        return allocatorAvailable;
    }
    void SetStatusText(const char* text) override { log.push_back(std::string("status ") + text); }
    void SetSelection(const char* path) override { log.push_back(std::string("select ") + path); }
};

ShellItem g_windows{1}, g_deep{2}, g_desktop{3};
const std::string DeepPath = "C:\\Program Files\\Common Files\\Shared Tools";

TEST(BrowseFlags, AddsOnlyTheStatusLine)
{
    const struct {
        std::uint32_t flags, expected;
    } cases[] = {{0, 4}, {4, 4}, {1, 5}, {0xFFFFFFFB, 0xFFFFFFFF}, {0x41, 0x45}};
    for (const auto& c : cases)
        EXPECT_EQ(BrowseFlags(c.flags), c.expected) << c.flags;
}

TEST(FolderPicker, StatusLineFollowsTheSelectionAndOkGivesTheFullPath)
{
    CScriptedShell shell;
    shell.paths = {{&g_windows, "C:\\Windows"}, {&g_deep, DeepPath}};
    shell.selections = {&g_windows, &g_desktop, &g_deep};
    shell.confirmed = &g_deep;
    CFolderPicker picker(shell, nullptr);

    EXPECT_EQ(picker.DoModal(), PickedFolder);
    EXPECT_EQ(picker.GetFolderPath(), DeepPath);
    const std::vector<std::string> expected = {
        "browse",
        "select ",
        "status ",
        "status C:\\Windows",
        "status ", // the desktop has no file-system path
        "status C:\\Program Files\\Common Files\\Share...",
        "free 2",
    };
    EXPECT_EQ(shell.log, expected);
}

TEST(FolderPicker, InitialFolderIsSelectedAndShownShortened)
{
    CScriptedShell shell;
    CFolderPicker picker(shell, DeepPath.c_str());
    EXPECT_EQ(picker.DoModal(), PickCancelled);
    const std::vector<std::string> expected = {"browse", "select " + DeepPath,
                                               "status C:\\Program Files\\Common Files\\Share..."};
    EXPECT_EQ(shell.log, expected);
}

TEST(FolderPicker, CancelAndPathlessItemsAnswerCancel)
{
    // Cancel after moving around: nothing to free.
    CScriptedShell cancelled;
    cancelled.paths = {{&g_windows, "C:\\Windows"}};
    cancelled.selections = {&g_windows};
    CFolderPicker first(cancelled, "D:\\start");
    EXPECT_EQ(first.DoModal(), PickCancelled);
    EXPECT_EQ(cancelled.log.back(), "status C:\\Windows");

    // OK on the desktop: cancelled all the same, and its item is freed.
    CScriptedShell virtualItem;
    virtualItem.confirmed = &g_desktop;
    CFolderPicker second(virtualItem, "D:\\start");
    EXPECT_EQ(second.DoModal(), PickCancelled);
    EXPECT_EQ(virtualItem.log.back(), "free 3");

    // The allocator missing leaves the item but not the result.
    CScriptedShell noAllocator;
    noAllocator.paths = {{&g_windows, "C:\\Windows"}};
    noAllocator.confirmed = &g_windows;
    noAllocator.allocatorAvailable = false;
    CFolderPicker third(noAllocator, nullptr);
    EXPECT_EQ(third.DoModal(), PickedFolder);
    EXPECT_EQ(third.GetFolderPath(), "C:\\Windows");
}

TEST(FolderPicker, EverySecondRunStartsFromTheInitialFolder)
{
    CScriptedShell shell;
    shell.paths = {{&g_windows, "C:\\Windows"}};
    shell.confirmed = &g_windows;
    CFolderPicker picker(shell, "D:\\start");
    ASSERT_EQ(picker.DoModal(), PickedFolder);

    shell.confirmed = nullptr;
    shell.log.clear();
    EXPECT_EQ(picker.DoModal(), PickCancelled);
    EXPECT_EQ(picker.GetFolderPath(), "D:\\start");
    EXPECT_EQ(shell.log[1], "select D:\\start");
}

} // namespace
