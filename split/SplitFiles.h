// The engine's one contact with the file system: the source, the pieces, the script.
// The system's part lives in SplitFilesWin32.cpp or SplitFilesPosix.cpp.
#pragma once

#include "split/ChunkRing.h"
#include "split/SplitHost.h"

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

// What tells one file from another: its device or volume, and its number there.
struct FileIdentity {
    std::uint64_t device = 0, number = 0;
    bool operator==(const FileIdentity& other) const { return device == other.device && number == other.number; }
};

// What a path names as against the source: another file or nothing, the
// source itself, or a file whose identity could not be read, which may be it.
enum class SourceMatch { Other, Source, Unknown };

// The file to split, open for binary reading from its first byte to its last.
class SourceFile {
public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Opens path for reading and records the file's identity: Open on
    // failure, Read when the identity cannot be read, NotDisk for anything but
    // a file on a disk. On Windows others may read the file but not write it
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
    // Whether path names this very file (the identity recorded at open),
    // under whatever spelling or link: Other when path names nothing, Unknown
    // when it names an entry whose identity cannot be read.
    SourceMatch match(const std::string& path) const;
    void close();

private:
    std::FILE* m_file = nullptr;
    FileIdentity m_identity;
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
FileError writePiece(SourceFile& source, const std::string& path, std::int64_t size, std::int32_t chunkSize,
                     ChunkRing& ring, SplitHost& host);

// Writes every piece of plan from source, NAME.001 ... at names' prefix,
// stepping host's bar after each, and fills digests with the SHA-256 of each
// piece and of the file, computed as options asks; then sees that source
// ends where it was measured. The message of the first failure, or an empty
// string. Any thread of the digests has ended when it returns.
std::string writePieces(const SplitPlan& plan, const PieceNames& names, SourceFile& source, SplitHost& host,
                        const SplitOptions& options, SplitDigests& digests);

// Removes the file path: true when it is gone or was never there.
bool removeFile(const std::string& path);

// Writes text byte for byte under temporaryPath, created or truncated, and
// only once it is whole and closed gives it the name path, replacing any file
// of that name; so a failure never leaves a partial file at path. On failure
// the temporary file is removed.
FileError writeFileText(const std::string& path, const std::string& text, const std::string& temporaryPath);
