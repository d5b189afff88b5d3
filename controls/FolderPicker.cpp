// The folder picker's rules: the browse request, the status line, and what DoModal answers.
#include "controls/FolderPicker.h"

#include "controls/PathShortening.h"

std::uint32_t BrowseFlags(std::uint32_t flags)
{
    return flags | BrowseStatusText;
}

CFolderPicker::CFolderPicker(CFolderShell& shell, const char* initialFolder, LeadByteTest isLead)
    : m_shell(shell), m_isLead(isLead), m_strInitialFolder(initialFolder ? initialFolder : "")
{
}

int CFolderPicker::DoModal()
{
    m_strFolderPath = m_strInitialFolder;
    ShellItemList item = m_shell.BrowseForFolder(*this);
    int result = PickCancelled;
    if (item && m_shell.PathFromItemList(item, m_szPath)) {
        m_szPath[ShellPathSize - 1] = '\0';
        m_strFolderPath = m_szPath;
        result = PickedFolder;
    }
    // A failed free is the Windows side's to assert; the result stands.
    if (item)
        m_shell.FreeItemList(item);
    return result;
}

void CFolderPicker::OnBrowseCallback(unsigned message, ShellItemList item)
{
    if (message == BrowseInitialized)
        OnInitialized();
    else if (message == BrowseSelChanged)
        OnSelChanged(item);
}

void CFolderPicker::OnInitialized()
{
    m_shell.SetSelection(m_strInitialFolder.c_str());
    m_shell.SetStatusText(ShortenPath(m_strInitialFolder, m_isLead).c_str());
}

void CFolderPicker::OnSelChanged(ShellItemList item)
{
    // A virtual item (no file-system path) shows as an empty path, not as
    // whatever the buffer held before.
    if (!m_shell.PathFromItemList(item, m_szPath))
        m_szPath[0] = '\0';
    m_szPath[ShellPathSize - 1] = '\0';
    m_strFolderPath = m_szPath;
    m_shell.SetStatusText(ShortenPath(m_strFolderPath, m_isLead).c_str());
}
