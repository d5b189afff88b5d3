// CParcelorDlg: the main dialog, which holds the fields a split reads and hosts the split engine.
#pragma once

#include "app/AboutDlg.h"
#include "framework/Dialog.h"
#include "split/SplitEngine.h"

#include <optional>
#include <string>

class CFolderShell;

class CParcelorDlg : public CDialog, public SplitHost {
public:
    CParcelorDlg();

    std::string m_strUnits;
    std::string m_strCustomSize;
    std::string m_strFile;
    std::string m_strDirectory;
    std::string m_strSize;
    // Made afresh for every showing from the About button (the box cannot be copied).
    std::optional<CAboutDlg> m_dlgAbout{std::in_place};
    HICON m_hIcon;
    BOOL m_bDirFollowsFile = FALSE;

    void showMessage(const std::string& text, MessageIcon icon) override;
    PathKind lookUpPath(const std::string& path) override;
    void startProgress(int count) override;
    void stepProgress() override;
    void hideProgress() override;
    void keepAlive(std::int64_t pieceBytesDone, std::int64_t pieceBytes) override;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    bool OnWndMsg(CMessage& msg) override;

    bool OnSysCommand(CMessage& msg);
    bool OnDestroy(CMessage& msg);
    bool OnPaint(CMessage& msg);
    bool OnQueryDragIcon(CMessage& msg);
    // One file dropped is taken as through Browse, one folder as through the
    // folder picker; several items, or a name the code page cannot hold, are refused.
    bool OnDropFiles(CMessage& msg);
    void OnSizeChanged();
    void OnExit();
    void OnSplit();
    void OnFileKillFocus();
    void OnBrowseFile();
    void OnBrowseDirectory();
    void OnDirectoryKillFocus();
    void OnUnitsChanged();
    void OnAbout();

    // The shell under the directory Browse button's folder picker: null, the
    // Windows shell, unless a test dialog answers a stand-in.
    virtual CFolderShell* FolderShell() { return nullptr; }

private:
    // Fills the drop-down lists from the dialog's list resource.
    void FillListsFromResource();
    // A file chosen (Browse, a drop): the directory follows it once more, then no longer.
    void TakeFile(const std::string& path);
    // A folder chosen (folder picker, a drop): a non-empty one ends the following.
    void TakeDirectory(const std::string& path);
    void ShowItem(int id, bool show) const { ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE); }

    static const MessageEntry<CParcelorDlg> s_messageTable[];

    // The bar counts ProgressPerPiece steps for each piece, so that it moves within long pieces.
    static const int ProgressPerPiece = 100;
    int m_nPiecesDone = 0;
    // When keepAlive last looked at the queue, and whether it is looking now.
    DWORD m_dwLastAlive = 0;
    bool m_bKeepingAlive = false;
};
