// Between the wide text of the system's Unicode calls and the narrow text of the ANSI code page.
#pragma once

#include <optional>
#include <string>

// text in the ANSI code page when that code page holds every character of
// it exactly; nothing when one would be replaced by the default character
// ('?') or by a look-alike (ź by z), as the ANSI calls would pass it on.
std::optional<std::string> ExactAnsiText(const std::wstring& text);
// Narrow text of the ANSI code page as wide text.
std::wstring WideFromAnsi(const std::string& text);
