// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SectorTarget.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/ResolvePath.h"

namespace platform {

TargetOpen SectorTarget::Open(const std::string& path, bool writable) {
    Close();
    const std::string resolved = ResolveCaseInsensitive(path);
    const int mode = (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    unbuffered = true;
    int fd = ::open(resolved.c_str(), mode | O_DIRECT);
    if (fd < 0 && errno == EINVAL) {
        // tmpfs and a few others have no direct I/O: write through and drop the cache.
        unbuffered = false;
        fd = ::open(resolved.c_str(), mode | O_DSYNC);
    }
    if (fd < 0)
        return errno == EACCES || errno == EPERM || errno == EROFS ? TargetOpen::NoRights
                                                                   : TargetOpen::Failed;
    // Nobody else may have the target while we talk to the receiver through it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return TargetOpen::Failed;
    }
    handle = fd;
    return TargetOpen::Ok;
}

void SectorTarget::Close() {
    if (handle == -1) return;
    ::close(static_cast<int>(handle));
    handle = -1;
}

long long SectorTarget::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (handle == -1) return -1;
    const int fd = static_cast<int>(handle);
    if (!unbuffered)
        ::posix_fadvise(fd, static_cast<off_t>(offset), static_cast<off_t>(size), POSIX_FADV_DONTNEED);
    ssize_t n;
    do n = ::pread(fd, buffer, size, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    return n;
}

long long SectorTarget::WriteAt(uint64_t offset, const void* buffer, size_t size) {
    if (handle == -1) return -1;
    ssize_t n;
    do n = ::pwrite(static_cast<int>(handle), buffer, size, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    return n;
}

long long SectorTarget::Size() {
    if (handle == -1) return -1;
    struct stat st;
    if (::fstat(static_cast<int>(handle), &st) != 0) return -1;
    if (S_ISREG(st.st_mode)) return st.st_size;
    uint64_t bytes = 0;
    if (S_ISBLK(st.st_mode) && ::ioctl(static_cast<int>(handle), BLKGETSIZE64, &bytes) == 0)
        return static_cast<long long>(bytes);
    return -1;
}

bool SectorTarget::Flush() {
    return handle != -1 && ::fsync(static_cast<int>(handle)) == 0;
}

}  // namespace platform
