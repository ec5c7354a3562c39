// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Files.h"
#include "platform/posix/Reserve.h"
#include "platform/posix/ResolvePath.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <random>
#include <vector>

namespace platform {
namespace {

// Descriptors held back for the program's own files: a transfer opens a few at once.
constexpr size_t ReserveSize = 16;
std::mutex reserveMutex;
std::vector<int> reserve;

bool GiveUpOneReserved() {
    const std::lock_guard<std::mutex> lock(reserveMutex);
    if (reserve.empty()) return false;
    ::close(reserve.back());
    reserve.pop_back();
    return true;
}

// The program's own files open even when network clients have taken every descriptor the
// process may have: one held in reserve is given up for each.
int OpenFile(const char* path, int flags, mode_t mode = 0) {
    int fd = ::open(path, flags, mode);
    while (fd < 0 && errno == EMFILE && GiveUpOneReserved()) fd = ::open(path, flags, mode);
    return fd;
}

DIR* OpenFolder(const char* path) {
    DIR* dir = ::opendir(path);
    while (!dir && errno == EMFILE && GiveUpOneReserved()) dir = ::opendir(path);
    return dir;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Receiver volumes come from a case-insensitive world: when the exact name is missing,
// each missing component is looked up ignoring case.
std::string Resolve(const std::string& path) {
    if (path.empty() || Exists(path)) return path;
    std::string result;
    size_t pos = 0;
    if (path[0] == '/') {
        result = "/";
        pos = 1;
    }
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        std::string part = path.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty()) continue;
        std::string candidate = result;
        if (!candidate.empty() && candidate.back() != '/') candidate += '/';
        if (!Exists(candidate + part)) {
            DIR* dir = OpenFolder(candidate.empty() ? "." : candidate.c_str());
            if (!dir) return path;
            std::string match;
            while (dirent* e = ::readdir(dir)) {
                if (::strcasecmp(e->d_name, part.c_str()) == 0) {
                    match = e->d_name;
                    break;
                }
            }
            ::closedir(dir);
            if (match.empty()) return path;
            part = match;
        }
        result = candidate + part;
    }
    if (!path.empty() && path.back() == '/' && (result.empty() || result.back() != '/')) result += '/';
    return result;
}

// For files about to be created: resolve the folder only.
std::string ResolveParent(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return path;
    return Resolve(path.substr(0, slash + 1)) + path.substr(slash + 1);
}

timespec ToTimespec(const LocalDateTime& t) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(FromLocal(t));
    ts.tv_nsec = static_cast<long>(t.millisecond) * 1000000L;
    return ts;
}

// A temporary beside target: hidden, and marked so the program knows it as its own.
std::string TemporaryPattern(const std::string& target) {
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name + TemporaryMarker + "XXXXXX";
}

// Gives temp its final name unless that name exists already.
bool RenameNoReplace(const std::string& temp, const std::string& target) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the flag: a hard link fails on an existing name just the same.
    if (::link(temp.c_str(), target.c_str()) != 0) return false;
    ::unlink(temp.c_str());
    return true;
}

bool WriteAll(int fd, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Creates a new temporary beside target, open for writing; its path, or empty.
std::string CreateTemporary(const std::string& target, int& fd) {
    static thread_local std::mt19937 random{static_cast<unsigned>(::getpid()) ^
                                            static_cast<unsigned>(std::time(nullptr)) ^
                                            static_cast<unsigned>(reinterpret_cast<uintptr_t>(&fd))};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryPattern(target);
        for (size_t i = temp.size() - 6; i < temp.size(); ++i) temp[i] = letters[random() % 62];
        fd = OpenFile(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) return temp;
        if (errno != EEXIST) return {};
    }
    return {};
}

}  // namespace

void posix::ReleaseReserve() {
    GiveUpOneReserved();
}

bool KeepDescriptorInReserve() {
    const std::lock_guard<std::mutex> lock(reserveMutex);
    while (reserve.size() < ReserveSize) {
        const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (fd < 0) break;
        reserve.push_back(fd);
    }
    return !reserve.empty();
}

bool AppendToFile(const std::string& path, const void* data, size_t size) {
    const int fd = OpenFile(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data, size);
    if (::close(fd) != 0) ok = false;
    return ok;
}

char PathSeparator() {
    return '/';
}

std::string JoinPath(const std::string& root, const std::string& relative) {
    std::string result = root;
    if (!result.empty() && result.back() != '/') result += '/';
    for (char c : relative) result += (c == '\\') ? '/' : c;
    return result;
}

// stat of the exact name, and of the name looked up ignoring case when that is missing.
static bool StatAnyCase(const std::string& path, struct stat& st) {
    if (::stat(path.c_str(), &st) == 0) return true;
    if (errno != ENOENT) return false;
    const std::string resolved = Resolve(path);
    return resolved != path && ::stat(resolved.c_str(), &st) == 0;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return StatAnyCase(path, st) && !S_ISDIR(st.st_mode);
}

FileStamp StampOf(const std::string& path) {
    struct stat st;
    if (!StatAnyCase(path, st)) return {};
    return {true, (static_cast<uint64_t>(st.st_dev) << 32) ^ static_cast<uint64_t>(st.st_ino), st.st_size,
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

bool FolderExistsAsNamed(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsAbsolutePath(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

bool FolderExists(const std::string& path) {
    struct stat st;
    return StatAnyCase(path, st) && S_ISDIR(st.st_mode);
}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

// Opens a file for reading only when it is a regular file. Non-blocking, so a named pipe
// dropped into a folder cannot hang the program; a device (a link to /dev/zero) would be
// read without end.
static int OpenRegularForReading(const std::string& path, struct stat& st) {
    // The exact name first: the case-insensitive search costs a look at every folder.
    int fd = OpenFile(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT) fd = OpenFile(Resolve(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    struct stat st;
    const int fd = OpenRegularForReading(path, st);
    if (fd < 0) return false;
    handle = fd;
    position = 0;
    size = st.st_size;
    writeSeconds = st.st_mtim.tv_sec;
    writeMilliseconds = static_cast<int>(st.st_mtim.tv_nsec / 1000000L);
    return true;
}

void ReadOnlyFile::Close() {
    if (handle != -1) ::close(static_cast<int>(handle));
    handle = -1;
    size = -1;
    writeMilliseconds = -1;
}

long long ReadOnlyFile::ReadOnce(uint64_t offset, void* buffer, size_t count) {
    if (handle == -1) return -1;
    ssize_t n;
    do n = ::pread(static_cast<int>(handle), buffer, count, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    return n;
}

long long ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (handle == -1) return -1;
    auto* p = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n =
            ::pread(static_cast<int>(handle), p + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<long long>(done);
}

long long ReadOnlyFile::Read(void* buffer, size_t count) {
    long long n = ReadAt(position, buffer, count);
    if (n > 0) position += static_cast<uint64_t>(n);
    return n;
}

bool SetAttributes(const std::string& path, unsigned attributes) {
    std::string p = Resolve(path);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & AttrReadOnly)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    return ::chmod(p.c_str(), mode) == 0;
}

unsigned GetAttributes(const std::string& path) {
    std::string p = Resolve(path);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0) return AttrNormal;
    unsigned a = AttrNormal;
    if (!(st.st_mode & S_IWUSR)) a |= AttrReadOnly;
    size_t slash = p.find_last_of('/');
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    if (!name.empty() && name[0] == '.') a |= AttrHidden;
    return a;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(Resolve(path).c_str()) == 0;
}

bool CopyFileNoOverwrite(const std::string& src, const std::string& dst) {
    struct stat st;
    const int in = OpenRegularForReading(src, st);
    if (in < 0) return false;
    const std::string target = ResolveParent(dst);
    if (Exists(Resolve(dst))) {
        ::close(in);
        return false;
    }
    // The copy is made under a temporary name and only then given its own, so a kill in
    // the middle never leaves a message cut short.
    int out = -1;
    const std::string temp = CreateTemporary(target, out);
    if (temp.empty()) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        if (!WriteAll(out, buffer, static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    ::close(in);
    if (ok) {
        timespec times[2] = {st.st_atim, st.st_mtim};
        ok = ::futimens(out, times) == 0;
    }
    if (::close(out) != 0) ok = false;
    if (ok) ok = RenameNoReplace(temp, target);
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::string base = Resolve(folder);
    DIR* dir = OpenFolder(base.c_str());
    if (!dir) return entries;
    if (!base.empty() && base.back() != '/') base += '/';
    while (dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        FolderEntry entry;
        entry.name = e->d_name;
        // The type comes with the entry; only file systems that do not give it need a stat.
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            if (::stat((base + entry.name).c_str(), &st) == 0) entry.isFolder = S_ISDIR(st.st_mode);
        } else {
            entry.isFolder = e->d_type == DT_DIR;
        }
        entries.push_back(entry);
    }
    ::closedir(dir);
    return entries;
}

bool MoveNoReplace(const std::string& from, const std::string& to) {
    return RenameNoReplace(from, to);
}

bool RemoveFolder(const std::string& path) {
    return ::rmdir(Resolve(path).c_str()) == 0;
}

bool CreateFolder(const std::string& path) {
    std::string p = ResolveParent(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return ::mkdir(p.c_str(), 0755) == 0;
}

bool LastWriteTime(const std::string& path, LocalDateTime& when) {
    struct stat st;
    if (::stat(Resolve(path).c_str(), &st) != 0) return false;
    when = ToLocal(st.st_mtim.tv_sec);
    when.millisecond = static_cast<int>(st.st_mtim.tv_nsec / 1000000L);
    return true;
}

bool SetFileTimes(const std::string& path, const LocalDateTime& /*creation*/, const LocalDateTime& access,
                  const LocalDateTime& write) {
    timespec times[2] = {ToTimespec(access), ToTimespec(write)};
    return ::utimensat(AT_FDCWD, Resolve(path).c_str(), times, 0) == 0;
}

bool WriteNewFile(const std::string& path, const void* data, size_t size, const LocalDateTime* times) {
    int fd = OpenFile(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == ENOENT)
        fd = OpenFile(ResolveParent(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data, size);
    if (ok && times) {
        const timespec t[2] = {ToTimespec(*times), ToTimespec(*times)};
        ok = ::futimens(fd, t) == 0;
    }
    if (::close(fd) != 0) ok = false;
    if (!ok) ::unlink(path.c_str());
    return ok;
}

std::string WriteTemporary(const std::string& path, const void* data, size_t size, bool sync,
                           const LocalDateTime* times) {
    int fd = -1;
    // The folder's exact name first; a receiver's folder may need its name looked up.
    std::string temp = CreateTemporary(path, fd);
    if (temp.empty() && errno == ENOENT) temp = CreateTemporary(ResolveParent(path), fd);
    if (temp.empty()) return {};
    bool ok = WriteAll(fd, data, size) && (!sync || ::fsync(fd) == 0);
    if (ok && times) {
        const timespec t[2] = {ToTimespec(*times), ToTimespec(*times)};
        ok = ::futimens(fd, t) == 0;
    }
    if (::close(fd) != 0) ok = false;
    if (!ok) {
        ::unlink(temp.c_str());
        return {};
    }
    return temp;
}

bool RenameOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    return errno == ENOENT && ::rename(from.c_str(), ResolveParent(to).c_str()) == 0;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(Resolve(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string ResolveCaseInsensitive(const std::string& path) {
    return Resolve(path);
}

}  // namespace platform
