// SPDX-License-Identifier: GPL-3.0-or-later
// windows.h first: the other headers of the system build on it.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <malloc.h>
#include <cstdlib>

#include "platform/Process.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace {

using win32::Utf8;
using win32::Wide;

HANDLE guardMutex = nullptr;

}  // namespace

void ReleaseFreeMemory() {
    ::_heapmin();
}

std::string GetEnv(const char* name) {
    const std::wstring wideName = Wide(name);
    const DWORD n = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    const DWORD got = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), n);
    value.resize(got);
    return Utf8(value);
}

bool AcquireSingleInstance(const std::string& name) {
    if (guardMutex) return true;
    guardMutex = ::CreateMutexW(nullptr, TRUE, Wide(name).c_str());
    if (!guardMutex) return true;  // no guard at all: better to run than to refuse
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(guardMutex);
        guardMutex = nullptr;
        return false;
    }
    return true;
}

void ReleaseSingleInstance() {
    if (guardMutex) {
        ::ReleaseMutex(guardMutex);
        ::CloseHandle(guardMutex);
    }
    guardMutex = nullptr;
}

std::string ApplicationDataFolder() {
    // Tests and the simulator name a data folder of their own, as on every system.
    std::string own = GetEnv("XDG_DATA_HOME");
    if (!own.empty()) {
        for (char& c : own)
            if (c == '/') c = '\\';
        while (own.size() > 3 && own.back() == '\\') own.pop_back();
        ::SHCreateDirectoryExW(nullptr, Wide(own).c_str(), nullptr);
        return own;
    }
    wchar_t buffer[MAX_PATH] = {};
    if (::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, buffer) != S_OK) return {};
    return Utf8(buffer);
}

std::string ExecutableFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    const std::string path = Utf8(std::wstring(buffer, n));
    return path.substr(0, path.find_last_of('\\') + 1);
}

OsVersion GetOsVersion() {
    OsVersion v;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (::GetVersionExW(&info)) {
#pragma GCC diagnostic pop
        v.platformId = static_cast<int>(info.dwPlatformId);
        v.major = static_cast<int>(info.dwMajorVersion);
        v.minor = static_cast<int>(info.dwMinorVersion);
    }
    v.name = "Windows";
    return v;
}

void OpenInBrowser(const std::string& address) {
    ::ShellExecuteW(nullptr, L"open", Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

char DecimalSeparator() {
    wchar_t buffer[4] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 4) > 0 && buffer[0] > 0 &&
        buffer[0] < 128)
        return static_cast<char>(buffer[0]);
    return '.';
}

}  // namespace platform
