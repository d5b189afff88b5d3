// The folder picker's rules: the browse request, the status line, and what DoModal answers.
#pragma once

#include "controls/FolderShell.h"
#include "text/Characters.h"

#include <cstdint>
#include <string>

// The text the browse window shows above its folder tree.
inline constexpr const char* BrowseTitle = "Current Selection";
// BIF_STATUSTEXT: the browse window has a status line.
inline constexpr std::uint32_t BrowseStatusText = 4;
// The dialog results (IDOK, IDCANCEL).
inline constexpr int PickedFolder = 1;
inline constexpr int PickCancelled = 2;

// The browse flags the picker hands to the shell: flags with BrowseStatusText
// added; no other bit changes.
std::uint32_t BrowseFlags(std::uint32_t flags);

// One use of the folder picker over shell: runs the browse window, keeps the
// status line on the shortened path of the selection, and gives the chosen
// folder. The Windows CFolderDialog owns one and forwards the shell's
// callback to OnBrowseCallback. Not copyable: the shell holds it while it runs.
class CFolderPicker {
public:
    // initialFolder null gives an empty initial folder; isLead tells
    // ShortenPath where two-byte characters start.
    CFolderPicker(CFolderShell& shell, const char* initialFolder, LeadByteTest isLead = NoLeadBytes);
    CFolderPicker(const CFolderPicker&) = delete;
    CFolderPicker& operator=(const CFolderPicker&) = delete;

    // Starts from the initial folder and runs the browse window. PickedFolder
    // when the user confirmed an item with a file-system path (GetFolderPath
    // then gives that full path), else PickCancelled. The confirmed item
    // list is freed in both cases. Calling it again starts afresh.
    int DoModal();
    // The chosen folder; meaningful only after DoModal answered PickedFolder.
    std::string GetFolderPath() const { return m_strFolderPath; }

    // Dispatches one notification of the browse window; others are ignored.
    // item is the notification's argument, read only for BrowseSelChanged.
    void OnBrowseCallback(unsigned message, ShellItemList item);
    // Selects the initial folder and shows it in the status line.
    void OnInitialized();
    // Follows the selection to item: its path, or empty when it has none,
    // becomes the folder path and, shortened, the status text.
    void OnSelChanged(ShellItemList item);

private:
    CFolderShell& m_shell;
    LeadByteTest m_isLead;
    std::string m_strInitialFolder;
    std::string m_strFolderPath;
    char m_szPath[ShellPathSize] = {};
};
