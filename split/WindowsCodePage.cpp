// The ANSI and OEM code pages of Windows: names converted for cmd, and where characters begin.
#include "split/WindowsCodePage.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// name, in the ANSI code page, as UTF-16; false for a byte that is no character there.
bool toWide(const std::string& name, std::wstring& wide)
{
    const int nameLength = static_cast<int>(name.size());
    const DWORD strict = MB_ERR_INVALID_CHARS;
    const int wideLength = MultiByteToWideChar(CP_ACP, strict, name.data(), nameLength, nullptr, 0);
    if (wideLength <= 0)
        return name.empty();
    wide.assign(static_cast<std::size_t>(wideLength), L'\0');
    return MultiByteToWideChar(CP_ACP, strict, name.data(), nameLength, wide.data(), wideLength) == wideLength;
}

} // namespace

bool WindowsCodePage::toScriptText(const std::string& name, std::string& script) const
{
    // Every code page that can be the ANSI or the OEM one shares ASCII.
    const bool ascii =
        std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const UINT oem = GetOEMCP();
    if (ascii || GetACP() == oem) {
        script = name;
        return true;
    }

    std::wstring wide;
    if (!toWide(name, wide) || wide.empty())
        return false;
    const int wideLength = static_cast<int>(wide.size());

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

bool WindowsCodePage::toUtf8(const std::string& name, std::string& utf8) const
{
    std::wstring wide;
    if (!toWide(name, wide))
        return false;
    utf8.clear();
    if (wide.empty())
        return true;
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return false;
    utf8.assign(static_cast<std::size_t>(length), '\0');
    return WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr) == length;
}
