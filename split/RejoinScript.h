// The batch script that rebuilds the file from its pieces with copy /b.
#pragma once

#include "split/ScriptCodePage.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* ScratchFileName = "parcelor.tmp";

// The SHA-256 digests of a split, as 64 lowercase hexadecimal digits each.
struct SplitDigests {
    std::vector<std::string> pieces; // of piece 1, 2, ...
    std::string file;                // of the whole file
};

// Which file of the script's own the rebuilt file would replace: the script
// while it runs, or the scratch file in which the pieces are gathered.
enum class ScriptClash { None, Script, Scratch };

// Whether fileName, rebuilt beside the script baseName.bat, would be the
// script or its scratch file, compared as Windows compares names (ASCII
// letters in either case), both in codePage's names.
ScriptClash scriptClash(const std::string& baseName, const std::string& fileName,
                        const ScriptCodePage& codePage = systemScriptCodePage());

// Whether name, in side's character set of codePage, can stand in the script
// at all: false for a character that no Windows file name holds and that the
// command interpreter would take as a wildcard, a redirection or a line end
// (" * ? < > | and control characters).
bool canNameInScript(const std::string& name, const ScriptCodePage& codePage = systemScriptCodePage(),
                     ScriptCodePage::Side side = ScriptCodePage::Side::Names);

// The full text of the script that joins pieceCount (1 ... 999) pieces named
// baseName.001 ... into fileName, with CR LF line ends. pieceSize and
// fileLength are the plan's: every piece but the last holds pieceSize bytes,
// the last the rest of fileLength; digests holds the SHA-256 of each piece
// and of the file. The script starts with rem lines that give the file's
// name, size and SHA-256. Before joining, it checks that every piece is
// present and, under cmd, that it has its size and, where certutil answers,
// its SHA-256; under cmd it works in its own folder wherever it was started
// from, stops when a copy fails, and after the join checks the size and the
// SHA-256 of the file. Names with blanks or the interpreter's special
// characters are quoted in commands and escaped in messages, character by
// character of codePage's script; other names stand exactly as given.
std::string rejoinScriptText(const std::string& baseName, const std::string& fileName,
                             int pieceCount, std::int64_t pieceSize, std::int64_t fileLength,
                             const SplitDigests& digests,
                             const ScriptCodePage& codePage = systemScriptCodePage());
