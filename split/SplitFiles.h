// The engine's one contact with the file system: the source, the pieces, the script.
#pragma once

#include "split/ChunkRing.h"
#include "split/SplitEngine.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// How a file operation ended; each failure has its own message.
enum class FileError { None, Open, Read, Write, Close };

// The message a user sees for error (not None).
const char* fileErrorMessage(FileError error);

// The file to split, open for binary reading from its first byte to its last.
class SourceFile {
public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Opens path for reading: Open on failure.
    FileError open(const std::string& path);
    // Measures the file by seeking to its end and back: Read on failure.
    FileError measure(std::int64_t& length);
    // Reads exactly size bytes into buffer: false at the end or on an error.
    bool read(char* buffer, std::size_t size);
    // Whether path names this very file (same device and file number), under
    // whatever spelling or link; false when path names nothing.
    bool isSameFileAs(const std::string& path) const;
    void close();

private:
    std::FILE* m_file = nullptr;
};

// For each of names (names of entries, without a folder), whether it may name
// an entry of folder (a path that ends in its separator): an entry of that
// name, or, on Windows, of that 8.3 short name, letters in either case as
// the ANSI code page pairs them. One listing of the folder; true for every
// name when it cannot be listed, and on Windows for a name that holds a
// separator or a colon, which a listing cannot answer for.
std::vector<bool> namesInFolder(const std::string& folder, const std::vector<std::string>& names);

// Writes one piece of size bytes from source to path, in chunks of chunkSize
// bytes read into ring's buffers (which hold at least chunkSize bytes),
// creating or truncating the file, and tells host's keepAlive after each
// chunk written. Each chunk read goes, from its buffer, to ring's digests too.
// The piece is closed whatever happens.
FileError writePiece(SourceFile& source, const std::string& path, std::int64_t size,
                     std::int32_t chunkSize, ChunkRing& ring, SplitHost& host);

// Creates or truncates path and writes text to it byte for byte.
FileError writeFileText(const std::string& path, const std::string& text);
