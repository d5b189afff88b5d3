// The directory lookup: a find-first lookup of the exact path, or the attributes of a root.
#include "app/PathLookup.h"

#include "split/ScriptCodePage.h"
#include "split/SplitChecks.h"

#include <windows.h>

std::string RootDirectoryOf(const std::string& path)
{
    if (path.size() == 2 && path[1] == ':')
        return path + "\\";
    if (path.compare(0, 2, "\\\\") != 0)
        return "";
    // \\server\share: one more backslash between two names, and at most one
    // after them, at the end. Taken a character at a time, as a server's or a
    // share's name may hold a double-byte character whose second byte has a
    // backslash's value.
    const auto characters = charactersOf(path, systemScriptCodePage(), ScriptCodePage::Side::Names);
    std::size_t separators[3] = {};
    std::size_t count = 0;
    for (std::size_t at = 2; at < path.size() && count < 3; at += characters.lengthAt(at))
        if (path[at] == '\\')
            separators[count++] = at;
    const bool named = count >= 1 && separators[0] > 2 && separators[0] + 1 < path.size();
    if (named && count == 1)
        return path + "\\";
    if (named && count == 2 && separators[1] == path.size() - 1 && separators[1] > separators[0] + 1)
        return path;
    return "";
}

PathKind LookUpPath(const std::string& path)
{
    // FindFirstFileA would take a wildcard as a pattern and find another entry.
    if (holdsWildcard(path))
        return PathKind::Missing;
    const std::string root = RootDirectoryOf(path);
    if (!root.empty()) {
        const DWORD attributes = ::GetFileAttributesA(root.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return PathKind::Missing;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
    }
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA(path.c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return PathKind::Missing;
    ::FindClose(hFind);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}
