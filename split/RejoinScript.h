// The batch script that rebuilds the file from its pieces with copy /b.
#pragma once

#include <string>

inline constexpr const char* ScratchFileName = "parcelor.tmp";

// Whether name can stand in the script at all: false for a character that no
// Windows file name holds and that the command interpreter would take as a
// wildcard, a redirection or a line end (" * ? < > | and control characters).
bool canNameInScript(const std::string& name);

// The full text of the script that joins pieceCount (1 ... 999) pieces named
// baseName.001 ... into fileName, with CR LF line ends. Before joining it
// checks that every piece is present; under cmd it stops when a copy fails.
// Names with blanks or the interpreter's special characters are quoted in
// commands and escaped in messages; other names stand exactly as given.
std::string rejoinScriptText(const std::string& baseName, const std::string& fileName,
                             int pieceCount);
