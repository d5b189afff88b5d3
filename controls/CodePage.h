// How the narrow text of the system's code page is walked: which bytes start a two-byte character.
#pragma once

// Answers whether byte is the first of a two-byte character. The Windows side
// passes a captureless lambda over IsDBCSLeadByte (whose calling convention
// differs from a plain function's on 32-bit builds).
using LeadByteTest = bool (*)(unsigned char byte);

// The test for single-byte code pages: no byte leads a two-byte character.
inline bool NoLeadBytes(unsigned char)
{
    return false;
}

#ifdef _WIN32
#include <windows.h>

// The test for the system's code page.
inline LeadByteTest SystemLeadBytes()
{
    return [](unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; };
}
#endif
