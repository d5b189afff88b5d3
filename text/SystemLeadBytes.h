// The lead bytes of the system's ANSI code page, on Windows.
#pragma once

#include "text/Characters.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// A captureless lambda over IsDBCSLeadByte, whose calling convention differs
// from a plain function's on 32-bit builds.
inline LeadByteTest SystemLeadBytes()
{
    return [](unsigned char byte) {
        return ::IsDBCSLeadByte(byte) != FALSE;
    };
}
