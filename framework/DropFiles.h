// CDropFiles: the names of one drop on a window (WM_DROPFILES), read wide, released when done.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// Wide, so that a name the ANSI code page cannot hold arrives as it is and
// can be told apart; the shell's ANSI names would carry '?' in its place.
class CDropFiles {
public:
    explicit CDropFiles(HDROP hDrop) : m_hDrop(hDrop) { }
    ~CDropFiles() { ::DragFinish(m_hDrop); }
    CDropFiles(const CDropFiles&) = delete;
    CDropFiles& operator=(const CDropFiles&) = delete;

    UINT GetCount() const { return ::DragQueryFileW(m_hDrop, 0xFFFFFFFF, nullptr, 0); }
    // The full path of item index.
    std::wstring GetFile(UINT index) const;

private:
    HDROP m_hDrop;
};
