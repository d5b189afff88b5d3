// The engine's one contact with the file system: the source, the pieces, the script.
#include "split/SplitFiles.h"

#include "split/SplitMessages.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>

namespace {

// Unbuffered streams: every chunk goes straight to one system read or write.
std::FILE* openUnbuffered(const std::string& path, const char* mode)
{
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file)
        std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

int seek(std::FILE* file, std::int64_t offset, int origin)
{
#ifdef _WIN32
    return _fseeki64(file, offset, origin);
#else
    return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

std::int64_t tell(std::FILE* file)
{
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

// Gives the file from the name to, replacing any file of that name.
bool rename(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

#ifdef _WIN32
bool identify(HANDLE handle, FileIdentity& identity)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    identity = {info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
    return true;
}
#endif

#ifdef _WIN32
// name as the listing compares it: the system pairs upper and lower case
// letters, those of the ANSI code page as well.
std::string foldedName(std::string name)
{
    if (!name.empty())
        CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

// Whether the name is a name of an entry, and not a path that reaches
// further (a separator) or into an entry (a stream after a colon). A
// character at a time: the second byte of a double-byte one may have the
// value of a backslash.
bool isEntryName(const std::string& name)
{
    for (const char* at = name.c_str(); *at; at = CharNextA(at))
        if (*at == '/' || *at == '\\' || *at == ':')
            return false;
    return true;
}

// Adds the folded names of the entries of folder, and their 8.3 short names,
// to names; false when the folder cannot be listed to its end.
bool listFolder(const std::string& folder, std::vector<std::string>& names)
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
#else
// name as the listing compares it: ASCII letters in either case, so that a
// folder that ignores case (a FAT disk) is checked as well.
std::string foldedName(std::string name)
{
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return name;
}

bool isEntryName(const std::string&)
{
    return true;
}

// Adds the folded names of the entries of folder to names; false when the
// folder cannot be listed to its end.
bool listFolder(const std::string& folder, std::vector<std::string>& names)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry)
            break;
        names.push_back(foldedName(entry->d_name));
    }
    const bool complete = errno == 0;
    closedir(dir);
    return complete;
}
#endif

} // namespace

const char* fileErrorMessage(FileError error)
{
    switch (error) {
    case FileError::Open: return SplitMessages::OpenError;
    case FileError::Read: return SplitMessages::ReadError;
    case FileError::Write: return SplitMessages::WriteError;
    case FileError::Close: return SplitMessages::CloseError;
    case FileError::InUse: return SplitMessages::SourceInUse;
    case FileError::NotDisk: return SplitMessages::SourceNotOnDisk;
    case FileError::Changed: return SplitMessages::SourceChanged;
    case FileError::None: break;
    }
    return "";
}

SourceFile::~SourceFile()
{
    close();
}

FileError SourceFile::open(const std::string& path)
{
    close();
#ifdef _WIN32
    // Denying writers, so that the pieces are cut from one version of the file.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? FileError::InUse : FileError::Open;
    // A name such as NUL or COM1 opens a device, whatever folder it stands in.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return FileError::NotDisk;
    }
    if (!identify(handle, m_identity)) {
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
#else
    m_file = openUnbuffered(path, "rb");
    if (!m_file)
        return FileError::Open;
    struct stat status;
    if (fstat(fileno(m_file), &status) != 0) {
        close();
        return FileError::Read;
    }
    if (!S_ISREG(status.st_mode)) {
        close();
        return FileError::NotDisk;
    }
    m_identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
#endif
    return FileError::None;
}

FileError SourceFile::measure(std::int64_t& length)
{
    if (seek(m_file, 0, SEEK_END) != 0)
        return FileError::Read;
    length = tell(m_file);
    if (length < 0 || seek(m_file, 0, SEEK_SET) != 0)
        return FileError::Read;
    return FileError::None;
}

FileError SourceFile::read(char* buffer, std::size_t size)
{
    if (std::fread(buffer, 1, size, m_file) == size)
        return FileError::None;
    return std::ferror(m_file) ? FileError::Read : FileError::Changed;
}

FileError SourceFile::checkEnd()
{
    char byte;
    if (std::fread(&byte, 1, 1, m_file) == 1)
        return FileError::Changed;
    return std::ferror(m_file) ? FileError::Read : FileError::None;
}

SourceMatch SourceFile::match(const std::string& path) const
{
    FileIdentity other;
#ifdef _WIN32
    // No access asked: this opens directories and files in use alike.
    HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME
                   ? SourceMatch::Other
                   : SourceMatch::Unknown;
    }
    const bool known = identify(handle, other);
    CloseHandle(handle);
    if (!known)
        return SourceMatch::Unknown;
#else
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? SourceMatch::Other : SourceMatch::Unknown;
    other = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
#endif
    return other == m_identity ? SourceMatch::Source : SourceMatch::Other;
}

std::vector<bool> namesInFolder(const std::string& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> listed;
    if (!listFolder(folder, listed))
        return std::vector<bool>(names.size(), true);
    std::sort(listed.begin(), listed.end());
    std::vector<bool> present;
    for (const std::string& name : names)
        present.push_back(!isEntryName(name) || std::binary_search(listed.begin(), listed.end(), foldedName(name)));
    return present;
}

void SourceFile::close()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

FileError writePiece(SourceFile& source, const std::string& path, std::int64_t size,
                     std::int32_t chunkSize, ChunkRing& ring, SplitHost& host)
{
    std::FILE* piece = openUnbuffered(path, "wb");
    if (!piece)
        return FileError::Open;
    FileError error = FileError::None;
    for (std::int64_t left = size; left > 0 && error == FileError::None;) {
        std::size_t chunk = static_cast<std::size_t>(left < chunkSize ? left : chunkSize);
        char* buffer = ring.nextBuffer();
        error = source.read(buffer, chunk);
        if (error != FileError::None)
            break;
        // Hashed while the chunk is still in the processor's cache.
        ring.hashChunk(chunk);
        if (std::fwrite(buffer, 1, chunk, piece) != chunk)
            error = FileError::Write;
        left -= static_cast<std::int64_t>(chunk);
        if (error == FileError::None)
            host.keepAlive(size - left, size);
    }
    if (std::fclose(piece) != 0 && error == FileError::None)
        error = FileError::Close;
    return error;
}

bool removeFile(const std::string& path)
{
#ifdef _WIN32
    if (DeleteFileA(path.c_str()))
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
#else
    return unlink(path.c_str()) == 0 || errno == ENOENT;
#endif
}

FileError writeFileText(const std::string& path, const std::string& text, const std::string& temporaryPath)
{
    // Binary mode: the text carries its own CR LF line ends. Unbuffered, it
    // goes to the system in one write.
    std::FILE* file = openUnbuffered(temporaryPath, "wb");
    if (!file)
        return FileError::Open;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    FileError error = !written ? FileError::Write : !closed ? FileError::Close : FileError::None;
    if (error == FileError::None && !rename(temporaryPath, path))
        error = FileError::Write;
    if (error != FileError::None)
        removeFile(temporaryPath);
    return error;
}
