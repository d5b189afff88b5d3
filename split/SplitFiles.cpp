// The engine's one contact with the file system, the part common to every system: streams, pieces, the script.
#include "split/SplitFiles.h"

#include "split/PieceNames.h"
#include "split/SplitFilesSystem.h"
#include "split/SplitMessages.h"

#include <algorithm>

using namespace SplitFilesSystem;

std::FILE* SplitFilesSystem::openUnbuffered(const std::string& path, const char* mode)
{
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file)
        std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

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
    switch (identify(path, other)) {
    case Lookup::Found: return other == m_identity ? SourceMatch::Source : SourceMatch::Other;
    case Lookup::Missing: return SourceMatch::Other;
    case Lookup::Unreadable: break;
    }
    return SourceMatch::Unknown;
}

std::vector<bool> namesInFolder(const std::string& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> listed;
    if (!listFolder(folder, listed))
        return std::vector<bool>(names.size(), true);
    std::sort(listed.begin(), listed.end());
    std::vector<bool> present;
    present.reserve(names.size());
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

FileError writePiece(SourceFile& source, const std::string& path, std::int64_t size, std::int32_t chunkSize,
                     ChunkRing& ring, SplitHost& host)
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

std::string writePieces(const SplitPlan& plan, const PieceNames& names, SourceFile& source, SplitHost& host,
                        const SplitOptions& options, SplitDigests& digests)
{
    ChunkRing ring(plan.chunkSize, plan.pieceCount, options);
    for (int k = 1; k <= plan.pieceCount; ++k) {
        const std::int64_t size = pieceLength(k, plan.pieceCount, plan.pieceSize, plan.fileLength);
        const FileError error = writePiece(source, piecePath(names.piecePrefix, k), size, plan.chunkSize, ring, host);
        if (error != FileError::None)
            return fileErrorMessage(error);
        ring.endPiece();
        host.stepProgress();
    }
    digests = ring.finish();
    return fileErrorMessage(source.checkEnd());
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
    if (error == FileError::None && !SplitFilesSystem::rename(temporaryPath, path))
        error = FileError::Write;
    if (error != FileError::None)
        removeFile(temporaryPath);
    return error;
}
