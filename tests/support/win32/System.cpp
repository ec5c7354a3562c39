// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "support/System.h"

#include "platform/Process.h"
#include "platform/win32/Wide.h"

namespace testing_support {

namespace {

// The values are UTF-8, as everywhere in the project; Windows keeps them in UTF-16.
void Set(const std::string& name, const std::string* value) {
    ::SetEnvironmentVariableW(platform::win32::Wide(name).c_str(),
                              value ? platform::win32::Wide(*value).c_str() : nullptr);
}

}  // namespace

ScopedEnv::ScopedEnv(const char* n, const std::string& value) : name(n) {
    old = platform::GetEnv(n);
    hadOld = !old.empty();
    // An empty value means unset on Windows; the platform reads both the same way.
    Set(name, value.empty() ? nullptr : &value);
}

ScopedEnv::~ScopedEnv() {
    Set(name, hadOld ? &old : nullptr);
}

FileSizeLimit::FileSizeLimit(unsigned long) {}
FileSizeLimit::~FileSizeLimit() = default;
std::string FileSizeLimit::Unsupported() {
    return "Windows has no limit on the size of a process's files";
}

bool MakeNamedPipe(const std::string&) {
    return false;
}
bool MakeLinkToEndlessDevice(const std::string&, bool) {
    return false;
}
bool MakeDanglingLink(const std::string&, const std::string&) {
    return false;
}
std::string NoSpecialFilesReason() {
    return "Windows folders hold no named pipes or links to devices (pipes live in \\\\.\\pipe\\)";
}

bool ReadsEverything() {
    return true;
}
bool MakeUnreadable(const std::string&) {
    return false;
}

bool MountSmallFileSystem(const std::string&, unsigned long) {
    return false;
}
void Unmount(const std::string&) {}

std::string FileSizeLimiter() {
    return {};
}

}  // namespace testing_support
