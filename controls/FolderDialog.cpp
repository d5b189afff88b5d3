// CFolderDialog: the browse request, the shell's callback handed to the picker, and the Windows shell under it.
#include "controls/FolderDialog.h"

#include "controls/PathShortening.h"
#include "framework/CodePageText.h"
#include "framework/Debug.h"
#include "text/SystemLeadBytes.h"

#include <cstring>
#include <optional>
#include <string>

// The values the platform-free picker copies from the shell's headers.
static_assert(PickedFolder == IDOK && PickCancelled == IDCANCEL);
static_assert(BrowseStatusText == BIF_STATUSTEXT);
static_assert(BrowseInitialized == BFFM_INITIALIZED && BrowseSelChanged == BFFM_SELCHANGED);
static_assert(ShellPathSize == MAX_PATH);

namespace {

ShellItemList ToShellItem(LPCITEMIDLIST itemList)
{
    return reinterpret_cast<ShellItemList>(const_cast<ITEMIDLIST*>(itemList));
}

LPITEMIDLIST ToItemIdList(ShellItemList item)
{
    return reinterpret_cast<LPITEMIDLIST>(item);
}

} // namespace

CFolderDialog::CFolderDialog(const char* initialFolder, DWORD flags, CWnd* pParent, CFolderShell* pShell)
    : m_picker(pShell ? *pShell : m_windowsShell, initialFolder, SystemLeadBytes())
{
    m_browseInfo.hwndOwner = pParent ? static_cast<HWND>(*pParent) : nullptr;
    m_browseInfo.pidlRoot = nullptr;
    m_browseInfo.pszDisplayName = m_szDisplayName;
    m_browseInfo.lpszTitle = BrowseTitle;
    m_browseInfo.ulFlags = BrowseFlags(flags);
    m_browseInfo.lpfn = &CFolderDialog::BrowseCallbackProc;
    m_browseInfo.lParam = reinterpret_cast<LPARAM>(this);
    m_browseInfo.iImage = 0;
}

int CFolderDialog::DoModal()
{
    return m_picker.DoModal() == PickedFolder ? IDOK : IDCANCEL;
}

int CALLBACK CFolderDialog::BrowseCallbackProc(HWND hWnd, UINT message, LPARAM lParam, LPARAM data)
{
    ASSERT(data != 0);
    if (data)
        reinterpret_cast<CFolderDialog*>(data)->OnBrowseCallback(hWnd, message, lParam);
    return 0;
}

void CFolderDialog::OnBrowseCallback(HWND hWnd, UINT message, LPARAM lParam)
{
    m_hBrowseWnd = hWnd;
    if (message == BFFM_INITIALIZED)
        OnInitialized();
    else if (message == BFFM_SELCHANGED)
        OnSelChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
}

void CFolderDialog::OnInitialized()
{
    m_picker.OnInitialized();
}

void CFolderDialog::OnSelChanged(LPCITEMIDLIST itemList)
{
    m_picker.OnSelChanged(ToShellItem(itemList));
}

std::string CFolderDialog::ShortenPath(const std::string& path)
{
    return ::ShortenPath(path, SystemLeadBytes());
}

void CFolderDialog::SetStatusText(const char* text) const
{
    ASSERT(::IsWindow(m_hBrowseWnd));
    ::SendMessageA(m_hBrowseWnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void CFolderDialog::SetSelection(const char* path) const
{
    ASSERT(::IsWindow(m_hBrowseWnd));
    ::SendMessageA(m_hBrowseWnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path));
}

void CFolderDialog::SetSelection(LPCITEMIDLIST itemList) const
{
    ASSERT(::IsWindow(m_hBrowseWnd));
    ::SendMessageA(m_hBrowseWnd, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(itemList));
}

void CFolderDialog::EnableOK(bool enable) const
{
    ASSERT(::IsWindow(m_hBrowseWnd));
    ::SendMessageA(m_hBrowseWnd, BFFM_ENABLEOK, 0, enable ? 1 : 0);
}

// The shell calls back through BrowseCallbackProc, which reaches the picker
// by way of the dialog's handlers.
ShellItemList CFolderDialog::CShellFolderBrowser::BrowseForFolder(CFolderPicker&)
{
    // No item is the confirmed one while the window runs: the selections' paths note nothing.
    m_confirmed = nullptr;
    m_bConfirmedNameNotHeld = false;
    m_confirmed = reinterpret_cast<ShellItemList>(::SHBrowseForFolderA(&m_dialog.m_browseInfo));
    return m_confirmed;
}

bool CFolderDialog::CShellFolderBrowser::PathFromItemList(ShellItemList item, char* path)
{
    wchar_t wide[MAX_PATH] = L"";
    if (!::SHGetPathFromIDListW(ToItemIdList(item), wide))
        return false;
    const std::optional<std::string> narrow = ExactAnsiText(wide);
    if (!narrow) {
        m_bConfirmedNameNotHeld = m_bConfirmedNameNotHeld || item == m_confirmed;
        return false;
    }
    if (narrow->size() >= static_cast<size_t>(ShellPathSize))
        return false;
    std::memcpy(path, narrow->c_str(), narrow->size() + 1);
    return true;
}

bool CFolderDialog::CShellFolderBrowser::FreeItemList(ShellItemList item)
{
    IMalloc* pMalloc = nullptr;
    const bool haveAllocator = ::SHGetMalloc(&pMalloc) == S_OK && pMalloc;
    ASSERT(haveAllocator);
    if (!haveAllocator)
        return false;
    pMalloc->Free(ToItemIdList(item));
    pMalloc->Release();
    return true;
}
