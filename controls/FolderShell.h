// The shell operations that the folder picker needs, over an opaque item list.
#pragma once

// The shell's identifier of one item of its namespace (an ITEMIDLIST on
// Windows). Never defined here: only the shell looks inside.
struct ShellItem;
using ShellItemList = ShellItem*;

// Buffer size of every path the shell writes for the picker (MAX_PATH).
inline constexpr int ShellPathSize = 260;

// The two notifications of a running browse window (BFFM_INITIALIZED and
// BFFM_SELCHANGED); every other value is ignored by the picker.
inline constexpr unsigned BrowseInitialized = 1;
inline constexpr unsigned BrowseSelChanged = 2;

class CFolderPicker;

// What the picker asks of the shell. The Windows picker fills it with
// SHBrowseForFolderA, SHGetPathFromIDListA, SHGetMalloc and the BFFM_
// messages sent to the browse window; tests fill it with a stand-in.
class CFolderShell {
public:
    virtual ~CFolderShell() = default;

    // Shows the modal browse window and returns the item list the user
    // confirmed, or null after Cancel. While it runs it calls
    // picker.OnBrowseCallback, on this thread, with BrowseInitialized once the
    // window exists and with BrowseSelChanged and the new item whenever the
    // selection changes.
    virtual ShellItemList BrowseForFolder(CFolderPicker& picker) = 0;
    // Writes the file-system path of item, terminated, into the ShellPathSize
    // bytes of path; false when the item has no file-system path.
    virtual bool PathFromItemList(ShellItemList item, char* path) = 0;
    // Frees item through the shell's task allocator and gives the allocator
    // back; false when the allocator could not be obtained (item then stays).
    virtual bool FreeItemList(ShellItemList item) = 0;
    // Shows text in the browse window's status line.
    virtual void SetStatusText(const char* text) = 0;
    // Selects the folder that path names in the browse window.
    virtual void SetSelection(const char* path) = 0;
};
