// The records that the parts of a split hand one another: request, names, plan, options, digests; and their constants.
#pragma once

#include "split/Sha256.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The two entries of the size list, as the dialog shows them.
inline constexpr const char* PresetSizeChoice = "1.44 MB Floppy";
inline constexpr const char* CustomSizeChoice = "Custom size...";
inline constexpr std::int32_t CopyBufferSize = 91104;
inline constexpr std::int32_t FloppyPieceSize = 16 * CopyBufferSize; // 1,457,664
inline constexpr int MaxPieces = 999;

// The one character at which paths are taken apart on this platform.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
// Longest path the ANSI file calls take, without its terminator.
inline constexpr std::size_t MaxPathLength = 259;
#else
inline constexpr char PathSeparator = '/';
inline constexpr std::size_t MaxPathLength = 4095;
#endif

// The scratch file in which the rejoin script gathers the pieces, beside them.
inline constexpr const char* ScratchFileName = "parcelor.tmp";

enum class PathKind { Missing, File, Directory };

// The values are the message-box types of the icons.
enum class MessageIcon { Stop = 16, Information = 64 };

// The five texts of the main dialog that a split reads, used exactly as typed.
struct SplitRequest {
    std::string filePath, pieceDirectory, sizeChoice, customSize, sizeUnit;
};

// Names derived from the file path and the piece directory.
struct PieceNames {
    std::string stem;        // the file path up to its last "."
    std::string baseName;    // the stem after its last separator: NAME of NAME.001
    std::string fileName;    // the file path after its last separator
    std::string piecePrefix; // directory, one separator, baseName
};

// What the checks hand on to the rest of a run.
struct SplitPlan {
    std::int32_t pieceSize = 0;  // bytes in every piece but the last
    std::int32_t chunkSize = 0;  // bytes moved by one read and one write
    std::int64_t fileLength = 0; // length of the file to split
    int pieceCount = 0;          // 1 ... MaxPieces
    std::string pieceDirectory;  // normalised: no trailing separator
};

// How runSplit computes the digests. The program always splits with the
// defaults; the benchmark and the tests ask for the other ways to compare them.
struct SplitOptions {
    // A second thread for the digests: where the system has a second processor, never, or always.
    enum class Worker { WhereTwoProcessors, Never, Always };
    Worker worker = Worker::WhereTwoProcessors;
    // A third thread for the pieces' digests, beside the second's for the
    // file's: where the system has a third processor, never, or always. Only
    // where there is a second thread, and never with the SHA instructions,
    // whose two digests on one thread cost what one does.
    enum class PieceWorker { WhereThreeProcessors, Never, Always };
    PieceWorker pieceWorker = PieceWorker::WhereThreeProcessors;
    Sha256::Engine sha256 = Sha256::Engine::Fastest;
};

// The SHA-256 digests of a split, as 64 lowercase hexadecimal digits each.
struct SplitDigests {
    std::vector<std::string> pieces; // of piece 1, 2, ...
    std::string file;                // of the whole file
};

// The names of a split as the script writes them: for cmd and COMMAND.COM
// in the script's character set, for sh in UTF-8.
struct RejoinNames {
    std::string baseName, fileName;
    std::string utf8BaseName, utf8FileName;
};
