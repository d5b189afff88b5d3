// The report of a failed ASSERT.
#include "framework/Debug.h"

#include <windows.h>

#include <string>

void ReportFailedAssertion(const char* file, int line, const char* condition)
{
    std::string name = file;
    const std::string::size_type folder = name.find_last_of("\\/");
    if (folder != std::string::npos)
        name.erase(0, folder + 1);
    name = name.substr(0, name.find('.'));
    const std::string text = name + ", line " + std::to_string(line) + ": " + condition;
    ::OutputDebugStringA((text + "\n").c_str());
    ::MessageBoxA(::GetActiveWindow(), text.c_str(), "Assertion failed", MB_OK | MB_ICONSTOP);
}
