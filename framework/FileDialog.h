// CFileDialog: the platform's file-open dialog with a "Text|pattern||" filter.
#pragma once

#include "framework/Wnd.h"

#include <commdlg.h>
#include <optional>
#include <string>

// Runs the wide dialog, which hands back the name as it is on disk, so that a
// name the ANSI code page cannot hold is told apart from one that it holds.
class CFileDialog {
public:
    CFileDialog(bool open, DWORD flags, const std::string& filter, CWnd* pOwner);
    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen file's full path in the ANSI code page; nothing when that code
    // page cannot hold every character of it exactly.
    std::optional<std::string> GetPathName() const;

private:
    OPENFILENAMEW m_ofn{};
    bool m_bOpen;
    std::wstring m_strFilter;
    wchar_t m_szFile[MAX_PATH] = L"";
};
