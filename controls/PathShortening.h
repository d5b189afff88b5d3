// The status text of the folder picker: a path cut to 35 code units and "...".
#pragma once

#include "text/Characters.h"

#include <cstddef>
#include <string>

// Code units of a path that the status line shows before the cut.
inline constexpr std::size_t StatusPathLength = 35;

// The path itself when it holds at most StatusPathLength code units, else its
// first StatusPathLength code units followed by "...". The end is cut, never
// the beginning. When the cut would split a two-byte character (as isLead
// tells), the cut moves before that character, so that no half character is
// shown; with the single-byte default the cut is always at 35.
std::string ShortenPath(const std::string& path, LeadByteTest isLead = NoLeadBytes);
