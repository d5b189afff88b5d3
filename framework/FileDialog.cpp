// CFileDialog: the filter text turned into the platform's double-null list, and the modal run.
#include "framework/FileDialog.h"

#include <commdlg.h>

CFileDialog::CFileDialog(bool open, DWORD flags, const std::string& filter, CWnd* pOwner)
    : m_bOpen(open), m_strFilter(filter)
{
    // A character at a time: the second byte of a double-byte one may have the value of '|'.
    for (std::size_t at = 0; at < m_strFilter.size(); at += ::IsDBCSLeadByte(static_cast<BYTE>(m_strFilter[at])) ? 2 : 1)
        if (m_strFilter[at] == '|')
            m_strFilter[at] = '\0';
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
