// CDropFiles: one dropped name read in full.
#include "framework/DropFiles.h"

std::wstring CDropFiles::GetFile(UINT index) const
{
    const UINT length = ::DragQueryFileW(m_hDrop, index, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    name.resize(::DragQueryFileW(m_hDrop, index, &name[0], length + 1));
    return name;
}
