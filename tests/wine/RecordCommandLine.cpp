// Stands in for a browser in the link tests: writes the command line it was started with, as the
// system handed it over, to the file its first argument names. It writes a neighbour first and
// renames it, so that a reader never sees half a line.
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string record = argv[1];
    const std::string part = record + ".part";
    HANDLE file = ::CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char* line = ::GetCommandLineA();
    DWORD written = 0;
    const BOOL wrote = ::WriteFile(file, line, ::lstrlenA(line), &written, nullptr);
    ::CloseHandle(file);
    return wrote && ::MoveFileExA(part.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
