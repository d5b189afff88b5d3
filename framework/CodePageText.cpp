// Between the wide text of the system's Unicode calls and the narrow text of the ANSI code page.
#include "framework/CodePageText.h"

#include <windows.h>

std::optional<std::string> ExactAnsiText(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int wideLength = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, &narrow[0], size, nullptr,
                          &usedDefault);
    // Read back as well: a character that comes back as another was not held,
    // whatever a code page's tables say of best fits.
    if (usedDefault || WideFromAnsi(narrow) != text)
        return std::nullopt;
    return narrow;
}

std::wstring WideFromAnsi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int narrowLength = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrowLength, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrowLength, &wide[0], size);
    return wide;
}
