// How a link's target is opened: the shell first, then the program registered for .htm documents.
#pragma once

#include "controls/LaunchPlatform.h"
#include "text/Characters.h"

#include <cstddef>

// Bytes of one registry value, terminator included (MAX_PATH).
inline constexpr std::size_t KeyValueSize = 260;
// Bytes of the fallback command line, terminator included.
inline constexpr std::size_t CommandLineSize = 2 * KeyValueSize;
// The status of a default value that does not fit KeyValueSize bytes
// (ERROR_MORE_DATA).
inline constexpr RegistryStatus RegistryValueTooLong = 234;
// The sub-key of a document class that holds its open command.
inline constexpr const char* OpenCommandKey = "\\shell\\open\\command";

// The first occurrence of pattern in text that starts on a character
// boundary, walking text a character at a time (a lead byte, as isLead
// tells, and its trail byte are one character); null when there is none.
// An empty pattern is found at the start.
const char* FindMultibyte(const char* text, const char* pattern, LeadByteTest isLead);

// Ends command at its placeholder, dropping whatever follows it: at the
// opening quote of the first "%1" in quotes (found a character at a time),
// else at the first bare %1 (found a byte at a time), else nowhere.
void CutPlaceholder(char* command, LeadByteTest isLead);

// Appends one space and address, unquoted, to command, a buffer of size
// bytes. Answers false and leaves command unchanged when the result and its
// terminator would not fit.
bool AppendAddress(char* command, std::size_t size, const char* address);

// Reads the default value of subKey under root into out (at least
// KeyValueSize bytes). Answers the status of opening the key and, once it
// opened, of reading the value; out is written only when the answer is 0.
// A value longer than KeyValueSize - 1 bytes is a failed read
// (RegistryValueTooLong), not cut short. subKey and out may be the same
// buffer: the key is opened and read before out is written.
RegistryStatus ReadKeyDefault(CLaunchPlatform& platform, RegistryKey root, const char* subKey, char* out);

// Opens address (a terminated string) with show. First through the shell;
// its code is answered when it succeeds. Otherwise through the .htm
// association: the class named by the default value of ".htm", the default
// value of its OpenCommandKey, cut at the placeholder, extended with a space
// and the address, run as a program, whose code is then answered. When a key
// cannot be read, or the command line would not fit CommandLineSize bytes,
// nothing is run and the shell's code is answered.
LaunchCode LaunchAddress(CLaunchPlatform& platform, const char* address, int show, LeadByteTest isLead = NoLeadBytes);
