// The rejoin script that rebuilds the file from its pieces: copy /b under cmd and COMMAND.COM, cat under sh.
#pragma once

#include "split/ScriptCodePage.h"
#include "split/SplitRecords.h"

#include <cstdint>
#include <string>

// The full text of the script that joins pieceCount (1 ... 999) pieces named
// baseName.001 ... into fileName, with CR LF line ends. pieceSize and
// fileLength are the plan's: every piece but the last holds pieceSize bytes,
// the last the rest of fileLength; digests holds the SHA-256 of each piece
// and of the file. One text serves three interpreters: cmd and COMMAND.COM
// run it as NAME.bat, sh as sh NAME.bat on Linux and macOS, and none runs a
// line meant for another. Its first lines tell how to run it and give the
// file's name, size and SHA-256. It checks that every piece is present and,
// where it can, has its size; it joins them, and proves the result with one
// SHA-256 of the whole file, hashing the pieces only to name the damaged ones
// when that proof fails. A file of fileName already there is kept unless it
// is replaced by a proven rebuild (or, where nothing can prove one, after the
// user's yes). Names with blanks or the interpreters' special characters are
// quoted in commands and escaped in messages, character by character of
// codePage's script; other names stand exactly as given.
std::string rejoinScriptText(const RejoinNames& names, int pieceCount, std::int64_t pieceSize, std::int64_t fileLength,
                             const SplitDigests& digests, const ScriptCodePage& codePage = systemScriptCodePage());

// Writes the script of a split whose pieces are written, as NAME.bat at
// names' prefix, only once it is whole (under its temporary name until
// then): the text above for script's names, plan's sizes and digests. The
// message of a failure, or an empty string.
std::string writeRejoinScript(const PieceNames& names, const RejoinNames& script, const SplitPlan& plan,
                              const SplitDigests& digests, const ScriptCodePage& codePage);
