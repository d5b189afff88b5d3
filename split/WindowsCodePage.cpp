// The ANSI and OEM code pages of Windows: names converted for cmd, and where characters begin.
#include "split/WindowsCodePage.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

bool WindowsCodePage::toScriptText(const std::string& name, std::string& script) const
{
    // Every code page that can be the ANSI or the OEM one shares ASCII.
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const UINT oem = GetOEMCP();
    if (ascii || GetACP() == oem) {
        script = name;
        return true;
    }

    const int nameLength = static_cast<int>(name.size());
    const DWORD strict = MB_ERR_INVALID_CHARS;
    const int wideLength = MultiByteToWideChar(CP_ACP, strict, name.data(), nameLength, nullptr, 0);
    if (wideLength <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    if (MultiByteToWideChar(CP_ACP, strict, name.data(), nameLength, wide.data(), wideLength) != wideLength)
        return false;

    // UTF-8 and UTF-7 hold every character and take neither the flag nor the
    // default-character report: the call fails if given them.
    const bool holdsAll = oem == CP_UTF8 || oem == CP_UTF7;
    const DWORD flags = holdsAll ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const reportDefault = holdsAll ? nullptr : &usedDefault;
    const int length =
        WideCharToMultiByte(CP_OEMCP, flags, wide.data(), wideLength, nullptr, 0, nullptr, reportDefault);
    if (length <= 0 || usedDefault)
        return false;
    script.assign(static_cast<std::size_t>(length), '\0');
    return WideCharToMultiByte(CP_OEMCP, flags, wide.data(), wideLength, script.data(), length, nullptr,
                               reportDefault) == length &&
           !usedDefault;
}

bool WindowsCodePage::isLeadByte(unsigned char byte, Side side) const
{
    return IsDBCSLeadByteEx(side == Side::Names ? GetACP() : GetOEMCP(), byte) != FALSE;
}
