// CFileDialog: the platform's file-open dialog with a "Text|pattern||" filter.
#pragma once

#include "framework/Wnd.h"

#include <commdlg.h>
#include <string>

class CFileDialog {
public:
    CFileDialog(bool open, DWORD flags, const std::string& filter, CWnd* pOwner);
    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    std::string GetPathName() const { return m_szFile; }

private:
    OPENFILENAMEA m_ofn{};
    bool m_bOpen;
    std::string m_strFilter;
    char m_szFile[MAX_PATH] = "";
};
