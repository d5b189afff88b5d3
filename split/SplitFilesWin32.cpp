// The Windows part of SplitFiles: the source's handle, identities, the folder listing, renames and removal.
#include "split/SplitFilesSystem.h"
#include "text/SystemLeadBytes.h"

#include <fcntl.h>
#include <io.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

bool identifyHandle(HANDLE handle, FileIdentity& identity)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    identity = {info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
    return true;
}

} // namespace

int SplitFilesSystem::seek(std::FILE* file, std::int64_t offset, int origin)
{
    return _fseeki64(file, offset, origin);
}

std::int64_t SplitFilesSystem::tell(std::FILE* file)
{
    return _ftelli64(file);
}

bool SplitFilesSystem::rename(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

// The system pairs upper and lower case letters, those of the ANSI code page as well.
std::string SplitFilesSystem::foldedName(std::string name)
{
    if (!name.empty())
        CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

// A character at a time: the second byte of a double-byte one may have the
// value of a backslash.
bool SplitFilesSystem::isEntryName(const std::string& name)
{
    for (const char* at = name.c_str(); *at; at = nextCharacter(at, SystemLeadBytes()))
        if (*at == '/' || *at == '\\' || *at == ':')
            return false;
    return true;
}

bool SplitFilesSystem::listFolder(const std::string& folder, std::vector<std::string>& names)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty root folder has no "." either
    do {
        names.push_back(foldedName(entry.cFileName));
        if (entry.cAlternateFileName[0])
            names.push_back(foldedName(entry.cAlternateFileName));
    } while (FindNextFileA(search, &entry));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return complete;
}

SplitFilesSystem::Lookup SplitFilesSystem::identify(const std::string& path, FileIdentity& identity)
{
    // No access asked: this opens directories and files in use alike.
    HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME
            ? Lookup::Missing
            : Lookup::Unreadable;
    }
    const bool known = identifyHandle(handle, identity);
    CloseHandle(handle);
    return known ? Lookup::Found : Lookup::Unreadable;
}

FileError SourceFile::open(const std::string& path)
{
    close();
    // Denying writers, so that the pieces are cut from one version of the file.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? FileError::InUse : FileError::Open;
    // A name such as NUL or COM1 opens a device, whatever folder it stands in.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return FileError::NotDisk;
    }
    if (!identifyHandle(handle, m_identity)) {
        CloseHandle(handle);
        return FileError::Read;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(handle);
        return FileError::Open;
    }
    m_file = _fdopen(descriptor, "rb");
    if (!m_file) {
        _close(descriptor);
        return FileError::Open;
    }
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    return FileError::None;
}

bool removeFile(const std::string& path)
{
    if (DeleteFileA(path.c_str()))
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
