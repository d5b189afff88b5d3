// The names of the pieces and of the rejoin script, derived from the file path.
#pragma once

#include "split/ScriptCodePage.h"
#include "split/SplitRecords.h"

#include <cstdint>
#include <string>

// Derives stem, baseName and fileName from filePath (the last "." anywhere in
// the path ends the stem; the last separator starts the names) and, from
// pieceDirectory, piecePrefix: the directory, one separator unless it already
// ends with one, and baseName. Both paths are taken as whole characters of
// codePage's names. Cannot fail.
PieceNames derivePieceNames(const std::string& filePath, const std::string& pieceDirectory,
                            char separator = PathSeparator, const ScriptCodePage& codePage = systemScriptCodePage());

// Whether Windows takes name, a file name without its folder, for a device
// in any folder: CON, PRN, AUX, NUL, COM1 ... COM9 or LPT1 ... LPT9, in any
// case, alone or followed by blanks or an extension ("nul.txt", "Com1 .a.b").
bool isDeviceName(const std::string& name);

// The three-digit text of a piece number from 1 to 999: 1 gives "001".
std::string pieceNumberText(int number);

// The bytes of piece number (1 ... pieceCount) when fileLength bytes are cut
// into pieces of pieceSize: pieceSize for every piece but the last, which
// holds the rest.
std::int64_t pieceLength(int number, int pieceCount, std::int64_t pieceSize, std::int64_t fileLength);

// The end of the rejoin script's name.
inline constexpr const char* ScriptExtension = ".bat";

// baseName, ".", and the number text of number: NAME.001 of NAME.
std::string pieceName(const std::string& baseName, int number);

// baseName followed by ScriptExtension: NAME.bat of NAME.
std::string scriptName(const std::string& baseName);

// The paths of the same, in the pieces' directory: piecePrefix (the
// directory, a separator, baseName), ".", and the number text of number.
std::string piecePath(const std::string& piecePrefix, int number);

// piecePrefix followed by ScriptExtension.
std::string scriptPath(const std::string& piecePrefix);

// The name and the path under which the script is written until it is
// whole: the base name or prefix, then an end as long as ScriptExtension, so
// that whatever path fits the one fits the other.
std::string temporaryScriptName(const std::string& baseName);
std::string temporaryScriptPath(const std::string& piecePrefix);
