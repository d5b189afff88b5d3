// The POSIX part of SplitFiles: the source's descriptor, identities, the folder listing and removal.
#include "split/SplitFilesSystem.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileIdentity identityOf(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

} // namespace

int SplitFilesSystem::seek(std::FILE* file, std::int64_t offset, int origin)
{
    return fseeko(file, static_cast<off_t>(offset), origin);
}

std::int64_t SplitFilesSystem::tell(std::FILE* file)
{
    return ftello(file);
}

bool SplitFilesSystem::rename(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// ASCII letters in either case, so that a folder that ignores case (a FAT
// disk) is checked as well.
std::string SplitFilesSystem::foldedName(std::string name)
{
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return name;
}

bool SplitFilesSystem::isEntryName(const std::string&)
{
    return true;
}

bool SplitFilesSystem::listFolder(const std::string& folder, std::vector<std::string>& names)
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

SplitFilesSystem::Lookup SplitFilesSystem::identify(const std::string& path, FileIdentity& identity)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Lookup::Missing : Lookup::Unreadable;
    identity = identityOf(status);
    return Lookup::Found;
}

FileError SourceFile::open(const std::string& path)
{
    close();
    m_file = SplitFilesSystem::openUnbuffered(path, "rb");
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
    m_identity = identityOf(status);
    return FileError::None;
}

bool removeFile(const std::string& path)
{
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}
