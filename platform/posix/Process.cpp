// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Process.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace platform {
namespace {

int guardFd = -1;

std::string UserName() {
    if (passwd* pw = ::getpwuid(::getuid())) return pw->pw_name;
    return std::to_string(::getuid());
}

// Like the shell's guarantee on Windows: the data folder exists once it is named.
void MakeFolders(const std::string& path) {
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') ::mkdir(path.substr(0, pos).c_str(), 0700);
    }
}

}  // namespace

void ReleaseFreeMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

std::string GetEnv(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool AcquireSingleInstance(const std::string& name) {
    if (guardFd != -1) return true;
    // The runtime folder first; where the lock cannot be made there, the temporary folders
    // under a per-user name. Every copy of one user walks the same list.
    std::vector<std::string> folders;
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const std::string folder = GetEnv(variable);
        if (!folder.empty() && folder[0] == '/') folders.push_back(folder);
    }
    folders.push_back("/tmp");
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + name + "-" + UserName() + ".lock";
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) continue;
        struct stat st;
        // Someone else's file of that name is no guard of ours.
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
            ::close(fd);
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            if (held) return false;
            continue;
        }
        guardFd = fd;
        return true;
    }
    return true;  // no place for the guard at all: better to run than to refuse
}

void ReleaseSingleInstance() {
    if (guardFd != -1) ::close(guardFd);
    guardFd = -1;
}

std::string ApplicationDataFolder() {
    std::string folder = GetEnv("XDG_DATA_HOME");
    if (folder.empty() || folder[0] != '/') {
        std::string home = GetEnv("HOME");
        if (home.empty()) {
            if (passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
        }
        if (home.empty()) return {};
        folder = home + "/.local/share";
    }
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    // Like the shell's guarantee on Windows the folder exists once named. When it cannot be
    // made the name still stands: the archive stays where the user expects it, and reads
    // and saves fail quietly, rather than landing in the program's folder.
    MakeFolders(folder);
    return folder;
}

std::string ExecutableFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1);
}

OsVersion GetOsVersion() {
    OsVersion v;
    utsname u{};
    if (::uname(&u) == 0) v.name = std::string(u.sysname) + " " + u.release;
    std::ifstream release("/etc/os-release");
    std::string line;
    while (std::getline(release, line)) {
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            std::string pretty = line.substr(12);
            if (pretty.size() >= 2 && pretty.front() == '"' && pretty.back() == '"')
                pretty = pretty.substr(1, pretty.size() - 2);
            if (!pretty.empty()) v.name = pretty;
        }
    }
    return v;
}

void OpenInBrowser(const std::string& address) {
    pid_t child = ::fork();
    if (child == 0) {
        // Detach twice so the browser is not our child and leaves no zombie.
        if (::fork() == 0) {
            ::setsid();
            int devnull = ::open("/dev/null", O_RDWR);
            if (devnull >= 0) {
                ::dup2(devnull, 0);
                ::dup2(devnull, 1);
                ::dup2(devnull, 2);
            }
            ::execlp("xdg-open", "xdg-open", address.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::_exit(0);
    }
    if (child > 0) ::waitpid(child, nullptr, 0);
}

char DecimalSeparator() {
    locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) return '.';
    const char* radix = ::nl_langinfo_l(RADIXCHAR, user);
    char separator = (radix && radix[0]) ? radix[0] : '.';
    ::freelocale(user);
    return separator;
}

}  // namespace platform
