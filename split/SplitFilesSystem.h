// What SplitFiles needs of the system, one file per platform: SplitFilesWin32.cpp or SplitFilesPosix.cpp.
#pragma once

#include "split/SplitFiles.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// These and SourceFile::open and removeFile are the system's part; the rest
// of SplitFiles is plain standard C++.
namespace SplitFilesSystem {

// fopen of path in mode, unbuffered: every chunk goes straight to one system
// read or write. Null on failure. (Common to both, in SplitFiles.cpp.)
std::FILE* openUnbuffered(const std::string& path, const char* mode);

// fseek and ftell with offsets past 2 GiB: 0 on success, and -1 on failure.
int seek(std::FILE* file, std::int64_t offset, int origin);
std::int64_t tell(std::FILE* file);

// Gives the file from the name to, replacing any file of that name.
bool rename(const std::string& from, const std::string& to);

// name as the listing compares it: the letters the system takes in either case.
std::string foldedName(std::string name);

// Whether name is the name of an entry, and not a path that reaches further
// (a separator) or, on Windows, into an entry (a stream after a colon).
bool isEntryName(const std::string& name);

// Adds the folded names of the entries of folder (and on Windows their 8.3
// short names) to names; false when the folder cannot be listed to its end.
bool listFolder(const std::string& folder, std::vector<std::string>& names);

// How reading the identity of the entry a path names ended.
enum class Lookup { Found, Missing, Unreadable };

// Sets identity to that of the entry path names (a file or a directory):
// Found; Missing when path names nothing; Unreadable when it names something
// whose identity the system cannot give.
Lookup identify(const std::string& path, FileIdentity& identity);

} // namespace SplitFilesSystem
