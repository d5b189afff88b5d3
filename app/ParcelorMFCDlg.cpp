// CParcelorDlg: initialisation, the handlers of the main dialog and its SplitHost operations.
#include "app/ParcelorMFCDlg.h"

#include "app/PathLookup.h"
#include "controls/FolderDialog.h"
#include "framework/CodePageText.h"
#include "framework/DataExchange.h"
#include "framework/DropFiles.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "split/ScriptCodePage.h"
#include "split/SplitChecks.h"

#include <commctrl.h>

namespace {

// Milliseconds between two looks at the queue during a split.
const DWORD KeepAliveInterval = 10;

// The path up to and including its last backslash; empty when it holds none.
// Taken a character at a time: in a double-byte code page the second byte of
// a character such as 表 has the value of a backslash.
std::string folderPart(const std::string& path)
{
    const std::string::size_type slash =
        charactersOf(path, systemScriptCodePage(), ScriptCodePage::Side::Names).findLast('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A file or folder (what) whose path holds a character that the ANSI code
// page cannot hold: the ANSI calls would name another file, or none.
std::string NameNotHeld(const char* what)
{
    const std::string codePage = "code page " + std::to_string(::GetACP());
    return std::string("The name of this ") + what +
        ", or of a folder on its path, holds a character that this Windows' " + codePage +
        " cannot hold.\nRename it using only the letters that " + codePage + " holds, then choose it again.";
}

const char DropOneItem[] = "Several items were dropped on the window.\n"
                           "Drop one file at a time: the file to split, or the folder for the pieces.";

} // namespace

const MessageEntry<CParcelorDlg> CParcelorDlg::s_messageTable[] = {
    {WM_SYSCOMMAND, &CParcelorDlg::OnSysCommand},
    {WM_DESTROY, &CParcelorDlg::OnDestroy},
    {WM_PAINT, &CParcelorDlg::OnPaint},
    {WM_QUERYDRAGICON, &CParcelorDlg::OnQueryDragIcon},
    {WM_DROPFILES, &CParcelorDlg::OnDropFiles},
    {IDC_SIZE, CBN_SELCHANGE, &CParcelorDlg::OnSizeChanged},
    {IDC_EXIT, BN_CLICKED, &CParcelorDlg::OnExit},
    {IDC_SPLIT, BN_CLICKED, &CParcelorDlg::OnSplit},
    {IDC_FILE, EN_KILLFOCUS, &CParcelorDlg::OnFileKillFocus},
    {IDC_BROWSE_FILE, BN_CLICKED, &CParcelorDlg::OnBrowseFile},
    {IDC_BROWSE_DIRECTORY, BN_CLICKED, &CParcelorDlg::OnBrowseDirectory},
    {IDC_DIRECTORY, EN_KILLFOCUS, &CParcelorDlg::OnDirectoryKillFocus},
    {IDC_UNITS, CBN_SELCHANGE, &CParcelorDlg::OnUnitsChanged},
    {IDC_ABOUT, BN_CLICKED, &CParcelorDlg::OnAbout},
};

CParcelorDlg::CParcelorDlg()
    : CDialog(IDD_MAIN_DIALOG), m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_APP)))
{
}

bool CParcelorDlg::OnWndMsg(CMessage& msg)
{
    // A command or a drop sent while a split keeps the window alive waits in
    // the queue, as the user's own clicks do, until the split is over.
    if (m_bKeepingAlive && (msg.message == WM_COMMAND || msg.message == WM_SYSCOMMAND || msg.message == WM_DROPFILES)) {
        ::PostMessageA(*this, msg.message, msg.wParam, msg.lParam);
        msg.result = 0;
        return true;
    }
    return DispatchMessageTable(*this, s_messageTable, msg) || CDialog::OnWndMsg(msg);
}

void CParcelorDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_CBString(dx, IDC_UNITS, m_strUnits);
    DDX_Text(dx, IDC_CUSTOM_SIZE, m_strCustomSize);
    DDX_Text(dx, IDC_FILE, m_strFile);
    DDX_Text(dx, IDC_DIRECTORY, m_strDirectory);
    DDX_CBString(dx, IDC_SIZE, m_strSize);
}

void CParcelorDlg::FillListsFromResource()
{
    HRSRC hInfo =
        ::FindResourceA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDD_MAIN_DIALOG), MAKEINTRESOURCEA(RT_DLGINIT_LIST));
    HGLOBAL hData = hInfo ? ::LoadResource(AfxGetInstanceHandle(), hInfo) : nullptr;
    if (!hData)
        return;
    // A little-endian word with the list id, then its zero-terminated entries, an empty entry ends
    // the list; a zero id ends them all. The resource compiler packs it all without padding.
    const char* p = static_cast<const char*>(::LockResource(hData));
    const char* end = p + ::SizeofResource(AfxGetInstanceHandle(), hInfo);
    auto word = [&p]() {
        const WORD w = static_cast<WORD>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
        p += 2;
        return w;
    };
    while (p + 2 <= end) {
        const WORD id = word();
        if (id == 0)
            break;
        while (p < end && *p) {
            ::SendDlgItemMessageA(*this, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p));
            while (p < end && *p++) { }
        }
        p += 1;
    }
}

bool CParcelorDlg::OnInitDialog()
{
    FillListsFromResource();
    CDialog::OnInitDialog();

    HMENU hSysMenu = GetSystemMenu(false);
    char szAbout[256] = "";
    if (hSysMenu && ::LoadStringA(AfxGetInstanceHandle(), IDS_ABOUT, szAbout, sizeof szAbout) > 0) {
        ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUT, szAbout);
    }
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    // A file or folder dropped on the window arrives as WM_DROPFILES.
    ::DragAcceptFiles(*this, TRUE);

    m_bDirFollowsFile = TRUE;
    for (int id : {IDC_CUSTOM_SIZE_LABEL, IDC_CUSTOM_SIZE, IDC_UNITS, IDC_PROGRESS_LABEL, IDC_PROGRESS})
        ShowItem(id, false);
    m_strSize = PresetSizeChoice;
    m_strCustomSize.clear();
    UpdateData(false);
    return true;
}

bool CParcelorDlg::OnSysCommand(CMessage& msg)
{
    if ((msg.wParam & 0xFFF0) == IDM_ABOUT) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return true;
    }
    return false;
}

bool CParcelorDlg::OnDestroy(CMessage&)
{
    // The platform's help engine has nothing open for this window; there is nothing to quit.
    return false;
}

bool CParcelorDlg::OnPaint(CMessage&)
{
    if (!IsIconic())
        return false;
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(*this, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    RECT rect;
    GetClientRect(rect);
    const int x = (rect.right - rect.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.bottom - rect.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(hdc, x, y, m_hIcon);
    ::EndPaint(*this, &ps);
    return true;
}

bool CParcelorDlg::OnQueryDragIcon(CMessage& msg)
{
    msg.result = reinterpret_cast<LRESULT>(m_hIcon);
    return true;
}

void CParcelorDlg::OnSizeChanged()
{
    UpdateData(true);
    const bool custom = m_strSize != PresetSizeChoice;
    for (int id : {IDC_CUSTOM_SIZE_LABEL, IDC_CUSTOM_SIZE, IDC_UNITS})
        ShowItem(id, custom);
    if (custom) {
        ::SetFocus(GetDlgItem(IDC_CUSTOM_SIZE));
        m_strSize = CustomSizeChoice;
        m_strUnits = "Bytes";
    } else {
        m_strSize = PresetSizeChoice;
    }
    UpdateData(false);
}

void CParcelorDlg::OnUnitsChanged()
{
    UpdateData(true);
}

void CParcelorDlg::OnExit()
{
    OnOK();
}

void CParcelorDlg::OnSplit()
{
    UpdateData(true);
    runSplit(SplitRequest{m_strFile, m_strDirectory, m_strSize, m_strCustomSize, m_strUnits}, *this);
}

void CParcelorDlg::OnFileKillFocus()
{
    UpdateData(true);
    // A path pasted in quotes gives the folder inside them, which the split then finds.
    if (m_bDirFollowsFile)
        m_strDirectory = folderPart(withoutEnclosingQuotes(m_strFile));
    UpdateData(false);
}

void CParcelorDlg::OnDirectoryKillFocus()
{
    UpdateData(true);
    if (!m_strDirectory.empty())
        m_bDirFollowsFile = FALSE;
}

void CParcelorDlg::OnBrowseFile()
{
    UpdateData(true);
    CFileDialog dlg(true, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "All Files (*.*)|*.*||", this);
    if (dlg.DoModal() != IDOK)
        return;
    if (const std::optional<std::string> path = dlg.GetPathName())
        TakeFile(*path);
    else
        showMessage(NameNotHeld("file"), MessageIcon::Stop);
}

bool CParcelorDlg::OnDropFiles(CMessage& msg)
{
    CDropFiles drop(reinterpret_cast<HDROP>(msg.wParam));
    UpdateData(true);
    msg.result = 0;
    if (drop.GetCount() != 1) {
        showMessage(DropOneItem, MessageIcon::Stop);
        return true;
    }
    const std::wstring name = drop.GetFile(0);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    const std::optional<std::string> path = ExactAnsiText(name);
    if (!path)
        showMessage(NameNotHeld(folder ? "folder" : "file"), MessageIcon::Stop);
    else if (folder)
        TakeDirectory(*path);
    else
        TakeFile(*path);
    return true;
}

void CParcelorDlg::TakeFile(const std::string& path)
{
    m_strFile = path;
    if (m_bDirFollowsFile)
        m_strDirectory = folderPart(m_strFile);
    m_bDirFollowsFile = FALSE;
    UpdateData(false);
}

void CParcelorDlg::TakeDirectory(const std::string& path)
{
    m_strDirectory = path;
    if (!m_strDirectory.empty())
        m_bDirFollowsFile = FALSE;
    UpdateData(false);
}

void CParcelorDlg::OnBrowseDirectory()
{
    UpdateData(true);
    // Without an owner: this dialog stays enabled while the browse window is open.
    CFolderDialog dlg(nullptr, 0, nullptr, FolderShell());
    if (dlg.DoModal() == IDOK)
        TakeDirectory(dlg.GetFolderPath());
    else if (dlg.ConfirmedNameNotHeld())
        showMessage(NameNotHeld("folder"), MessageIcon::Stop);
}

void CParcelorDlg::OnAbout()
{
    // Nothing of an earlier showing (a followed link, its font) carries over.
    m_dlgAbout.emplace();
    m_dlgAbout->DoModal();
}

void CParcelorDlg::showMessage(const std::string& text, MessageIcon icon)
{
    MessageBox(text, "The Parcelor", MB_OK | static_cast<UINT>(icon));
}

PathKind CParcelorDlg::lookUpPath(const std::string& path)
{
    return LookUpPath(path);
}

void CParcelorDlg::startProgress(int count)
{
    ShowItem(IDC_PROGRESS_LABEL, true);
    ShowItem(IDC_PROGRESS, true);
    RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HWND hBar = GetDlgItem(IDC_PROGRESS);
    m_nPiecesDone = 0;
    ::SendMessageA(hBar, PBM_SETRANGE32, 0, static_cast<LPARAM>(count) * ProgressPerPiece);
    ::SendMessageA(hBar, PBM_SETPOS, 0, 0);
    ::UpdateWindow(hBar);
}

void CParcelorDlg::stepProgress()
{
    HWND hBar = GetDlgItem(IDC_PROGRESS);
    ++m_nPiecesDone;
    ::SendMessageA(hBar, PBM_SETPOS, static_cast<WPARAM>(m_nPiecesDone) * ProgressPerPiece, 0);
    ::UpdateWindow(hBar);
}

void CParcelorDlg::hideProgress()
{
    ShowItem(IDC_PROGRESS_LABEL, false);
    ShowItem(IDC_PROGRESS, false);
}

void CParcelorDlg::keepAlive(std::int64_t pieceBytesDone, std::int64_t pieceBytes)
{
    // Looking every few milliseconds keeps the window answering without
    // slowing the copy; a chunk takes far less.
    const DWORD now = ::GetTickCount();
    if (now - m_dwLastAlive < KeepAliveInterval)
        return;
    m_dwLastAlive = now;

    if (pieceBytes > 0) {
        const int withinPiece = static_cast<int>(pieceBytesDone * ProgressPerPiece / pieceBytes);
        ::SendMessageA(GetDlgItem(IDC_PROGRESS), PBM_SETPOS, m_nPiecesDone * ProgressPerPiece + withinPiece, 0);
    }

    // Paints what needs it and answers the messages sent to the window; any
    // peek delivers those. Input and posted messages stay queued for later.
    m_bKeepingAlive = true;
    MSG msg;
    for (int paints = 0; paints < 64 && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++paints)
        ::DispatchMessageA(&msg);
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    m_bKeepingAlive = false;
}
