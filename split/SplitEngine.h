// The split engine's interface: the request it reads, the host it reports through, and runSplit.
#pragma once

#include "split/ScriptCodePage.h"
#include "split/SplitHost.h"
#include "split/SplitRecords.h"

// Checks the request, cuts the file into NAME.001 ... and writes NAME.bat,
// reporting progress and the outcome through host. Never throws. A file or
// directory path in one pair of enclosing double quotes is taken without them
// before any check; request itself is left as it is. The names in
// the script are written through codePage; a name it cannot hold refuses the
// split before any piece is written.
void runSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage);

// runSplit, computing the digests as options asks; the pieces and the script
// are the same whatever it asks.
void runSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage,
              const SplitOptions& options);

// runSplit with the system's conversion, systemScriptCodePage(): on Windows
// the script holds its names in the OEM code page, elsewhere unchanged.
void runSplit(const SplitRequest& request, SplitHost& host);
