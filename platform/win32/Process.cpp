#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>

#include "platform/Process.h"

namespace platform {
namespace {

HANDLE guardMutex = nullptr;

}  // namespace

std::string GetEnv(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool AcquireSingleInstance(const std::string& name) {
    if (guardMutex) return true;
    guardMutex = ::CreateMutexA(nullptr, TRUE, name.c_str());
    return ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void ReleaseSingleInstance() {
    if (guardMutex) ::CloseHandle(guardMutex);
    guardMutex = nullptr;
}

std::string ApplicationDataFolder() {
    LPITEMIDLIST list = nullptr;
    if (::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &list) != S_OK) return {};
    char buffer[MAX_PATH] = {};
    std::string path;
    if (::SHGetPathFromIDListA(list, buffer)) path = buffer;
    ::CoTaskMemFree(list);
    return path;
}

std::string ExecutableFolder() {
    char buffer[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, n);
    return path.substr(0, path.find_last_of('\\') + 1);
}

OsVersion GetOsVersion() {
    OsVersion v;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (::GetVersionExA(&info)) {
        v.platformId = static_cast<int>(info.dwPlatformId);
        v.major = static_cast<int>(info.dwMajorVersion);
        v.minor = static_cast<int>(info.dwMinorVersion);
    }
    v.name = "Windows";
    return v;
}

void OpenInBrowser(const std::string& address) {
    ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

char DecimalSeparator() {
    char buffer[4] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 0 && buffer[0])
        return buffer[0];
    return '.';
}

}  // namespace platform
