// CWinLaunchPlatform: the launcher's system layer on Windows (shell open, registry reads, program start).
#pragma once

#include "controls/LaunchPlatform.h"

class CWinLaunchPlatform : public CLaunchPlatform {
public:
    LaunchCode OpenWithShell(const char* address, int show) override;
    RegistryKey ClassesRoot() override;
    RegistryStatus OpenKey(RegistryKey root, const char* subKey, RegistryKey& key) override;
    RegistryStatus QueryDefaultValue(RegistryKey key, char* value, std::int32_t& size) override;
    void CloseKey(RegistryKey key) override;
    LaunchCode RunCommand(const char* commandLine, int show) override;

    // The one Windows system layer of the process.
    static CWinLaunchPlatform& Instance();
};
