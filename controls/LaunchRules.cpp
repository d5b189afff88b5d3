// How a link's target is opened: the shell first, then the program registered for .htm documents.
#include "controls/LaunchRules.h"

#include <algorithm>
#include <cstring>

const char* FindMultibyte(const char* text, const char* pattern, LeadByteTest isLead)
{
    std::size_t length = std::strlen(pattern);
    for (const char* at = text;;) {
        if (std::strncmp(at, pattern, length) == 0)
            return at;
        if (*at == '\0')
            return nullptr;
        // A lead byte just before the terminator stands alone.
        at = nextCharacter(at, isLead);
    }
}

void CutPlaceholder(char* command, LeadByteTest isLead)
{
    if (char* quoted = const_cast<char*>(FindMultibyte(command, "\"%1\"", isLead)))
        *quoted = '\0';
    else if (char* bare = std::strstr(command, "%1"))
        *bare = '\0';
}

bool AppendAddress(char* command, std::size_t size, const char* address)
{
    std::size_t used = std::strlen(command);
    std::size_t added = std::strlen(address);
    if (used >= size || added + 2 > size - used)
        return false;
    command[used] = ' ';
    std::memcpy(command + used + 1, address, added + 1);
    return true;
}

RegistryStatus ReadKeyDefault(CLaunchPlatform& platform, RegistryKey root, const char* subKey, char* out)
{
    RegistryKey key = nullptr;
    RegistryStatus status = platform.OpenKey(root, subKey, key);
    if (status != 0)
        return status;
    char value[KeyValueSize];
    std::int32_t size = static_cast<std::int32_t>(KeyValueSize);
    status = platform.QueryDefaultValue(key, value, size);
    platform.CloseKey(key);
    if (status != 0)
        return status;
    // A value stored without its terminator still ends within what was read.
    std::size_t read =
        static_cast<std::size_t>(std::clamp<std::int32_t>(size, 0, static_cast<std::int32_t>(KeyValueSize)));
    std::size_t length = std::find(value, value + read, '\0') - value;
    if (length == KeyValueSize)
        return RegistryValueTooLong;
    value[length] = '\0';
    std::memcpy(out, value, length + 1);
    return 0;
}

LaunchCode LaunchAddress(CLaunchPlatform& platform, const char* address, int show, LeadByteTest isLead)
{
    LaunchCode result = platform.OpenWithShell(address, show);
    if (IsLaunchSuccess(result))
        return result;

    RegistryKey root = platform.ClassesRoot();
    char command[CommandLineSize];
    if (ReadKeyDefault(platform, root, ".htm", command) != 0)
        return result;
    // A class name of at most KeyValueSize - 1 bytes always leaves room.
    std::strcat(command, OpenCommandKey);
    if (ReadKeyDefault(platform, root, command, command) != 0)
        return result;
    CutPlaceholder(command, isLead);
    if (!AppendAddress(command, sizeof command, address))
        return result;
    return platform.RunCommand(command, show);
}
