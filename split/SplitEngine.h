// The split engine's interface: the request it reads, the host it reports through, and runSplit.
#pragma once

#include "split/ScriptCodePage.h"
#include "split/Sha256.h"

#include <cstdint>
#include <string>

enum class PathKind { Missing, File, Directory };

// The values are the message-box types of the icons.
enum class MessageIcon { Stop = 16, Information = 64 };

// The five texts of the main dialog that a split reads, used exactly as typed.
struct SplitRequest {
    std::string filePath, pieceDirectory, sizeChoice, customSize, sizeUnit;
};

// What the engine needs of the window that runs it. Every outcome of a run,
// success or failure, reaches the user through showMessage.
class SplitHost {
public:
    virtual ~SplitHost() = default;

    // Shows text in a modal box captioned "The Parcelor" with one OK button;
    // returns when the user has dismissed it.
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // Missing when path names no existing entry, else the kind of that entry.
    virtual PathKind lookUpPath(const std::string& path) = 0;
    // Shows the progress label and bar with the range 0 ... count at position 0.
    virtual void startProgress(int count) = 0;
    // Advances the bar by one and shows it before returning.
    virtual void stepProgress() = 0;
    // Hides the progress label, then the bar.
    virtual void hideProgress() = 0;
    // Called after each chunk written to a piece, with the bytes of the piece
    // written so far and its full size, so that a window can paint and answer
    // its sent messages, or move its bar within a long piece, while the copy
    // runs. Always on the thread that called runSplit. It must not start
    // another split. Does nothing unless overridden.
    virtual void keepAlive(std::int64_t /*pieceBytesDone*/, std::int64_t /*pieceBytes*/) {}
};

// Names derived from the file path and the piece directory.
struct PieceNames {
    std::string stem;        // the file path up to its last "."
    std::string baseName;    // the stem after its last separator: NAME of NAME.001
    std::string fileName;    // the file path after its last separator
    std::string piecePrefix; // directory, one separator, baseName
};

// Checks the request, cuts the file into NAME.001 ... and writes NAME.bat,
// reporting progress and the outcome through host. Never throws. The names in
// the script are written through codePage; a name it cannot hold refuses the
// split before any piece is written.
void runSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage);

// How runSplit computes the digests. The program always splits with the
// defaults; the benchmark and the tests ask for the other ways to compare them.
struct SplitOptions {
    // A second thread for the digests: where the system has a second processor, never, or always.
    enum class Worker { WhereTwoProcessors, Never, Always };
    Worker worker = Worker::WhereTwoProcessors;
    Sha256::Engine sha256 = Sha256::Engine::Fastest;
};

// runSplit, computing the digests as options asks; the pieces and the script
// are the same whatever it asks.
void runSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage,
              const SplitOptions& options);

// runSplit with the system's conversion, systemScriptCodePage(): on Windows
// the script holds its names in the OEM code page, elsewhere unchanged.
void runSplit(const SplitRequest& request, SplitHost& host);
