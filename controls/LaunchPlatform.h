// The system operations the link launcher needs: shell open, registry reads, program start.
#pragma once

#include "controls/LaunchErrors.h"

#include <cstdint>

// A registry key handle (an HKEY on Windows). Never defined here.
struct RegistryKeyData;
using RegistryKey = RegistryKeyData*;

// A registry call's status (a LONG on Windows): 0 is ERROR_SUCCESS.
using RegistryStatus = std::int32_t;

// What the launcher asks of the system. The Windows side fills it with
// ShellExecuteA, RegOpenKeyExA, RegQueryValueA, RegCloseKey and WinExec;
// tests fill it with a stand-in.
class CLaunchPlatform {
public:
    virtual ~CLaunchPlatform() = default;

    // Opens address with the system's handler (ShellExecuteA with no owner,
    // the verb "open", no parameters, no working directory and show),
    // answered through LaunchCodeFrom.
    virtual LaunchCode OpenWithShell(const char* address, int show) = 0;
    // The root of the document classes (HKEY_CLASSES_ROOT).
    virtual RegistryKey ClassesRoot() = 0;
    // Opens subKey under root for reading values (RegOpenKeyExA with options
    // 0 and KEY_QUERY_VALUE): 0 and key when opened, else the status.
    virtual RegistryStatus OpenKey(RegistryKey root, const char* subKey, RegistryKey& key) = 0;
    // Reads the default value of key (RegQueryValueA with no sub-key name)
    // into value, which holds size bytes; writes nothing beyond them. On 0,
    // size becomes the bytes written, terminator included; a value that does
    // not fit answers a non-zero status (ERROR_MORE_DATA).
    virtual RegistryStatus QueryDefaultValue(RegistryKey key, char* value, std::int32_t& size) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
    // Starts the program that commandLine names (WinExec with show).
    virtual LaunchCode RunCommand(const char* commandLine, int show) = 0;
};
