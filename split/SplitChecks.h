// Every check of a split, in its order: the request, the piece size and count, the names, the outputs.
#pragma once

#include "split/ScriptCodePage.h"
#include "split/SplitFiles.h"
#include "split/SplitHost.h"
#include "split/SplitRecords.h"

#include <cstdint>
#include <string>

// Outcome of the size checks: failure is empty when pieceSize is valid.
struct SizeCheck {
    std::string failure;
    std::int32_t pieceSize = 0;
};

// path with every forward slash made a backslash where separator is the
// backslash, as Windows reads a slash; unchanged elsewhere. A slash is never
// the second byte of a two-byte character.
std::string withSeparators(const std::string& path, char separator = PathSeparator);

// path without the one pair of double quotes that encloses it whole, as
// Explorer's "Copy as path" and many programs write a path: no Windows name
// holds a '"', so the pair can only be quoting. Any other text, a lone quote
// among them, unchanged. No second byte of a two-byte character is a '"'.
std::string withoutEnclosingQuotes(const std::string& path);

// Whether path holds * or ?, which stand for other characters in Windows and
// are never part of a name. No second byte of a double-byte character is
// below 0x40, so a byte search finds only the characters themselves.
bool holdsWildcard(const std::string& path);

// Removes exactly one trailing separator from directory, if its last whole
// character (in codePage's names) is one.
std::string normaliseDirectory(const std::string& directory, char separator,
                               const ScriptCodePage& codePage = systemScriptCodePage());

// Works out the piece size of request: the preset, or the custom size in its
// unit. Refuses an empty or non-decimal size, one longer than its unit allows
// (counted in characters, leading zeros included), an unknown unit and zero.
SizeCheck checkPieceSize(const SplitRequest& request);

// The bytes of one read and write: pieceSize, at most CopyBufferSize.
std::int32_t chunkSizeFor(std::int32_t pieceSize);

// Pieces needed for fileLength bytes in pieces of pieceSize (> 0) bytes:
// the ceiling of the quotient, and 1 for an empty file, which still gives
// one (empty) piece. May exceed MaxPieces; the caller refuses that.
std::int64_t countPieces(std::int64_t fileLength, std::int32_t pieceSize);

// Runs the checks of request's own texts in their order, looking paths up
// through host: a file named, and (where separator is Windows' backslash)
// with no wildcard in its name, and found; a directory named and found; a
// piece size. Gives the message of the first that fails, or an empty string
// after filling plan's pieceSize, chunkSize and pieceDirectory. Opens and
// changes nothing.
std::string checkRequest(const SplitRequest& request, SplitHost& host, SplitPlan& plan, char separator = PathSeparator,
                         const ScriptCodePage& codePage = systemScriptCodePage());

// Which file of the rejoin script's own the rebuilt file would be: the
// script while it runs, the scratch file in which the pieces are gathered,
// or one of the pieces.
enum class ScriptClash { None, Script, Scratch, Piece };

// Whether fileName, rebuilt beside the script baseName.bat, would be the
// script, its scratch file or one of its pieces (baseName.001 ...
// baseName.999), compared as Windows compares names (ASCII letters in
// either case), all in codePage's names.
ScriptClash scriptClash(const std::string& baseName, const std::string& fileName,
                        const ScriptCodePage& codePage = systemScriptCodePage());

// Whether name, in side's character set of codePage, can stand in the script
// at all: false for a character that no Windows file name holds and that the
// command interpreter would take as a wildcard, a redirection or a line end
// (" * ? < > | and control characters).
bool canNameInScript(const std::string& name, const ScriptCodePage& codePage = systemScriptCodePage(),
                     ScriptCodePage::Side side = ScriptCodePage::Side::Names);

// Every check of a split before its first piece, in its order: request's
// texts (each path taken without one pair of enclosing quotes, and with a
// forward slash read as Windows reads it), then the names derived from them
// (their paths' length, a base name, no device's name, characters that the
// script can hold, none of the script's own files), then the source opened
// and measured (at most MaxPieces pieces), then the outputs (none is the
// source, or may be; an earlier split's script removed). Gives the message
// of the first that fails, or an empty string with plan, names and script
// (the names as the script writes them) filled and source open.
std::string checkSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage, SplitPlan& plan,
                       PieceNames& names, RejoinNames& script, SourceFile& source);
