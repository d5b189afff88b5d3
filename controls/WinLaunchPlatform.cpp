// CWinLaunchPlatform: ShellExecuteA, the registry reads and WinExec behind the link launcher.
#include "controls/WinLaunchPlatform.h"

#include "controls/LaunchErrors.h"
#include "controls/LaunchRules.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

// The values the platform-free launcher copies from the system's headers.
static_assert(KeyValueSize == MAX_PATH && RegistryValueTooLong == ERROR_MORE_DATA);
static_assert(LaunchErrorBoxType == (MB_ICONEXCLAMATION | MB_OK));

namespace {

HKEY AsHkey(RegistryKey key)
{
    return reinterpret_cast<HKEY>(key);
}

} // namespace

LaunchCode CWinLaunchPlatform::OpenWithShell(const char* address, int show)
{
    const HINSTANCE result = ::ShellExecuteA(nullptr, "open", address, nullptr, nullptr, show);
    return LaunchCodeFrom(reinterpret_cast<std::uintptr_t>(result));
}

RegistryKey CWinLaunchPlatform::ClassesRoot()
{
    return reinterpret_cast<RegistryKey>(HKEY_CLASSES_ROOT);
}

RegistryStatus CWinLaunchPlatform::OpenKey(RegistryKey root, const char* subKey, RegistryKey& key)
{
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(AsHkey(root), subKey, 0, KEY_QUERY_VALUE, &opened);
    if (status == ERROR_SUCCESS)
        key = reinterpret_cast<RegistryKey>(opened);
    return status;
}

RegistryStatus CWinLaunchPlatform::QueryDefaultValue(RegistryKey key, char* value, std::int32_t& size)
{
    LONG bytes = size;
    const LONG status = ::RegQueryValueA(AsHkey(key), nullptr, value, &bytes);
    if (status == ERROR_SUCCESS)
        size = bytes;
    return status;
}

void CWinLaunchPlatform::CloseKey(RegistryKey key)
{
    ::RegCloseKey(AsHkey(key));
}

LaunchCode CWinLaunchPlatform::RunCommand(const char* commandLine, int show)
{
    return LaunchCodeFrom(::WinExec(commandLine, static_cast<UINT>(show)));
}

CWinLaunchPlatform& CWinLaunchPlatform::Instance()
{
    static CWinLaunchPlatform platform;
    return platform;
}
