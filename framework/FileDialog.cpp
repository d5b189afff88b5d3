// CFileDialog: the filter text turned into the platform's double-null list, and the modal run.
#include "framework/FileDialog.h"

#include <commdlg.h>

CFileDialog::CFileDialog(bool open, DWORD flags, const std::string& filter, CWnd* pOwner)
    : m_bOpen(open), m_strFilter(filter)
{
    for (char& c : m_strFilter)
        if (c == '|')
            c = '\0';
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = pOwner ? static_cast<HWND>(*pOwner) : nullptr;
    m_ofn.lpstrFilter = m_strFilter.c_str();
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    const BOOL chosen = m_bOpen ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}
