// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace platform {

// One copy per user logon. Acquire returns false when another copy holds the guard.
// The guard stays held until Release or the end of the process.
bool AcquireSingleInstance(const std::string& name);
void ReleaseSingleInstance();

// Per-user application data folder without a trailing separator; empty when unknown.
std::string ApplicationDataFolder();

// Folder of the running executable, with a trailing separator.
std::string ExecutableFolder();

struct OsVersion {
    int platformId = 0;  // 1 = Windows 95 family, 2 = NT family, 0 = other systems
    int major = 0;
    int minor = 0;
    std::string name;  // the system's own name (used where the numbers mean nothing)
};
OsVersion GetOsVersion();

// Opens the address in the user's browser; the outcome is not reported.
void OpenInBrowser(const std::string& address);

char DecimalSeparator();

std::string GetEnv(const char* name);

// Gives memory freed by the program back to the system (after a burst of network clients).
void ReleaseFreeMemory();

}  // namespace platform
