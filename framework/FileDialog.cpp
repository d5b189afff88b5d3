// CFileDialog: the filter text turned into the platform's double-null list, and the modal run.
#include "framework/FileDialog.h"

#include "framework/CodePageText.h"
#include "text/SystemLeadBytes.h"

#include <commdlg.h>

CFileDialog::CFileDialog(bool open, DWORD flags, const std::string& filter, CWnd* pOwner) : m_bOpen(open)
{
    std::string list = filter;
    // A character at a time: the second byte of a double-byte one may have the value of '|'.
    const Characters<LeadByteTest> characters(list, SystemLeadBytes());
    for (std::size_t at = 0; at < list.size(); at += characters.lengthAt(at))
        if (list[at] == '|')
            list[at] = '\0';
    m_strFilter = WideFromAnsi(list);
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = pOwner ? static_cast<HWND>(*pOwner) : nullptr;
    m_ofn.lpstrFilter = m_strFilter.c_str();
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    const BOOL chosen = m_bOpen ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

std::optional<std::string> CFileDialog::GetPathName() const
{
    return ExactAnsiText(m_szFile);
}
