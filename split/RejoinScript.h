// The batch script that rebuilds the file from its pieces with copy /b.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* ScratchFileName = "parcelor.tmp";

// Whether name can stand in the script at all: false for a character that no
// Windows file name holds and that the command interpreter would take as a
// wildcard, a redirection or a line end (" * ? < > | and control characters).
bool canNameInScript(const std::string& name);

// The full text of the script that joins pieceCount (1 ... 999) pieces named
// baseName.001 ... into fileName, with CR LF line ends. pieceSize and
// fileLength are the plan's: every piece but the last holds pieceSize bytes,
// the last the rest of fileLength. Before joining, the script checks that
// every piece is present and, under cmd, that it has its size; under cmd it
// stops when a copy fails, and after the join it checks the size of the file.
// Names with blanks or the interpreter's special characters are quoted in
// commands and escaped in messages; other names stand exactly as given.
std::string rejoinScriptText(const std::string& baseName, const std::string& fileName,
                             int pieceCount, std::int64_t pieceSize, std::int64_t fileLength);
