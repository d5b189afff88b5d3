// The names of the pieces and of the rejoin script, derived from the file path.
#pragma once

#include "split/SplitChecks.h"

#include <string>

// Derives stem, baseName and fileName from filePath (the last "." anywhere in
// the path ends the stem; the last separator starts the names) and, from
// pieceDirectory, piecePrefix: the directory, one separator unless it already
// ends with one, and baseName. Cannot fail.
PieceNames derivePieceNames(const std::string& filePath, const std::string& pieceDirectory,
                            char separator = PathSeparator);

// The three-digit text of a piece number from 1 to 999: 1 gives "001".
std::string pieceNumberText(int number);

// piecePrefix, ".", and the number text of number.
std::string piecePath(const std::string& piecePrefix, int number);

// piecePrefix followed by ".bat".
std::string scriptPath(const std::string& piecePrefix);
