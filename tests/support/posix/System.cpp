// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/System.h"

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace testing_support {

ScopedEnv::ScopedEnv(const char* n, const std::string& value) : name(n) {
    const char* current = std::getenv(n);
    hadOld = current != nullptr;
    if (hadOld) old = current;
    ::setenv(n, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (hadOld)
        ::setenv(name.c_str(), old.c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    rlimit current{};
    ::getrlimit(RLIMIT_FSIZE, &current);
    oldSoft = current.rlim_cur;
    oldHard = current.rlim_max;
    oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
    current.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &current);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit restored{oldSoft, oldHard};
    ::setrlimit(RLIMIT_FSIZE, &restored);
    std::signal(SIGXFSZ, oldHandler);
}

std::string FileSizeLimit::Unsupported() {
    return {};
}

bool MakeNamedPipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

bool MakeLinkToEndlessDevice(const std::string& path, bool zero) {
    return ::symlink(zero ? "/dev/zero" : "/dev/null", path.c_str()) == 0;
}

bool MakeDanglingLink(const std::string& path, const std::string& target) {
    return ::symlink(target.c_str(), path.c_str()) == 0;
}

std::string NoSpecialFilesReason() {
    return {};
}

bool ReadsEverything() {
    return ::geteuid() == 0;
}

bool MakeUnreadable(const std::string& path) {
    return ::chmod(path.c_str(), 0) == 0;
}

bool MountSmallFileSystem(const std::string& folder, unsigned long bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    return ::geteuid() == 0 && ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

void Unmount(const std::string& folder) {
    ::umount(folder.c_str());
}

std::string FileSizeLimiter() {
    return ::access("/usr/bin/prlimit", X_OK) == 0 ? "/usr/bin/prlimit" : "";
}

}  // namespace testing_support
