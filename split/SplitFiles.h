// The engine's one contact with the file system: the source, the pieces, the script.
#pragma once

#include "split/Sha256.h"
#include "split/SplitEngine.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// How a file operation ended; each failure has its own message. InUse and
// NotDisk refuse a source as it opens; Changed is a source that ended before
// its measured length or went on past it.
enum class FileError { None, Open, Read, Write, Close, InUse, NotDisk, Changed };

// The message a user sees for error (not None).
const char* fileErrorMessage(FileError error);

// The file to split, open for binary reading from its first byte to its last.
class SourceFile {
public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Opens path for reading: Open on failure, NotDisk for anything but a
    // file on a disk. On Windows others may read the file but not write it
    // until it is closed: InUse when another program already may.
    FileError open(const std::string& path);
    // Measures the file by seeking to its end and back: Read on failure.
    FileError measure(std::int64_t& length);
    // Reads exactly size bytes into buffer: Read on an error, Changed when
    // the file ends first.
    FileError read(char* buffer, std::size_t size);
    // Once every measured byte is read: None when the file ends there,
    // Changed when it goes on, Read on an error.
    FileError checkEnd();
    // Whether path names this very file (same device and file number), under
    // whatever spelling or link; false when path names nothing.
    bool isSameFileAs(const std::string& path) const;
    void close();

private:
    std::FILE* m_file = nullptr;
};

// Writes one piece of size bytes from source to path, in chunks of chunkSize
// bytes read into buffer (which holds at least chunkSize bytes), creating or
// truncating the file, and tells host's keepAlive after each chunk written.
// Each chunk read goes, from the buffer, into pieceDigest and fileDigest too,
// unless they are null (both or neither). The piece is closed whatever happens.
FileError writePiece(SourceFile& source, const std::string& path, std::int64_t size,
                     std::int32_t chunkSize, std::vector<char>& buffer, SplitHost& host,
                     Sha256* pieceDigest, Sha256* fileDigest);

// Removes the file path: true when it is gone or was never there.
bool removeFile(const std::string& path);

// Writes text byte for byte under temporaryPath, created or truncated, and
// only once it is whole and closed gives it the name path, replacing any file
// of that name; so a failure never leaves a partial file at path. On failure
// the temporary file is removed.
FileError writeFileText(const std::string& path, const std::string& text, const std::string& temporaryPath);
