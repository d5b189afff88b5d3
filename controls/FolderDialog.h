// CFolderDialog: the shell's folder-browse window, with the selection shown in its status line.
#pragma once

#include "controls/FolderPicker.h"
#include "controls/FolderShell.h"
#include "framework/Wnd.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

// One use of the shell's folder-browse window (SHBrowseForFolderA): built on
// the caller's stack, run once with DoModal, read with GetFolderPath. The
// status line shows the shortened path of the selected folder; the rules of
// the run live in CFolderPicker, the shell below it is the Windows shell
// unless the caller hands in another.
class CFolderDialog {
public:
    // initialFolder null gives an empty initial folder; BIF_STATUSTEXT is
    // always added to flags; pParent null opens the window without an owner.
    // pShell null runs the Windows shell, else that shell (tests).
    CFolderDialog(const char* initialFolder, DWORD flags, CWnd* pParent, CFolderShell* pShell = nullptr);
    virtual ~CFolderDialog() = default;
    CFolderDialog(const CFolderDialog&) = delete;
    CFolderDialog& operator=(const CFolderDialog&) = delete;

    // IDOK when the user confirmed an item that has a file-system path, else
    // IDCANCEL. The item list the shell returns is freed either way.
    virtual int DoModal();
    // Selects the initial folder and shows it in the status line.
    virtual void OnInitialized();
    // Follows the selection to itemList: its path, shortened, in the status line.
    virtual void OnSelChanged(LPCITEMIDLIST itemList);
    // Every notification of the browse window; records the window first.
    virtual void OnBrowseCallback(HWND hWnd, UINT message, LPARAM lParam);

    // The chosen folder's full path; meaningful only after DoModal gave IDOK.
    std::string GetFolderPath() const { return m_picker.GetFolderPath(); }
    // After IDCANCEL from the Windows shell: whether the user confirmed a
    // folder whose path the ANSI code page cannot hold (a cancel otherwise).
    bool ConfirmedNameNotHeld() const { return m_windowsShell.ConfirmedNameNotHeld(); }

    // The callback handed to the shell; data is the CFolderDialog. Answers 0.
    static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT message, LPARAM lParam, LPARAM data);
    // The status text for path: at most 35 bytes of it, then "..." when cut.
    static std::string ShortenPath(const std::string& path);

    // Messages to the open browse window; only from within the handlers above.
    void SetStatusText(const char* text) const;
    void SetSelection(const char* path) const;
    void SetSelection(LPCITEMIDLIST itemList) const;
    void EnableOK(bool enable) const;

private:
    // The Windows shell under the picker: the browse window of m_browseInfo,
    // item paths, the task allocator, and the messages to the window.
    class CShellFolderBrowser : public CFolderShell {
    public:
        explicit CShellFolderBrowser(CFolderDialog& dialog) : m_dialog(dialog) { }
        ShellItemList BrowseForFolder(CFolderPicker& picker) override;
        // Read wide: a path that the ANSI code page cannot hold exactly is no
        // file-system path to the picker, and is noted when it was confirmed.
        bool PathFromItemList(ShellItemList item, char* path) override;
        bool FreeItemList(ShellItemList item) override;
        void SetStatusText(const char* text) override { m_dialog.SetStatusText(text); }
        void SetSelection(const char* path) override { m_dialog.SetSelection(path); }
        bool ConfirmedNameNotHeld() const { return m_bConfirmedNameNotHeld; }

    private:
        CFolderDialog& m_dialog;
        ShellItemList m_confirmed = nullptr;
        bool m_bConfirmedNameNotHeld = false;
    };

    BROWSEINFOA m_browseInfo{};
    char m_szDisplayName[MAX_PATH] = {}; // the shell writes the chosen item's name; never read
    HWND m_hBrowseWnd = nullptr;         // the browse window while DoModal runs
    CShellFolderBrowser m_windowsShell{*this};
    CFolderPicker m_picker; // initial folder, folder path and the result rules
};
