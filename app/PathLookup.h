// The directory lookup behind the main dialog's lookUpPath: what a typed path names on disk.
#pragma once

#include "split/SplitRecords.h"

#include <string>

// The root that path names, with its final backslash, when it names the root
// of a drive ("C:", as the engine hands over "C:\") or of a network share
// ("\\server\share", with or without its final backslash); empty for any
// other path. A find-first lookup finds no entry for either: Windows
// documents "\\server\share" as no valid name for it.
std::string RootDirectoryOf(const std::string& path);

// Missing when path names no existing entry (a name holding a wildcard names
// none), else the kind of the entry it names.
PathKind LookUpPath(const std::string& path);
