// SPDX-License-Identifier: GPL-3.0-or-later
#define FUSE_USE_VERSION 31
#include "sim/FuseVolume.h"

#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

#include "app/CommandLine.h"
#include "sim/UpdateModeEmulator.h"

namespace sim {
namespace {

struct Served {
    std::string volume, log;
    TUpdateModeEmulator emulator;
    std::mutex lock;
};

Served* TheVolume() {
    return static_cast<Served*>(fuse_get_context()->private_data);
}

std::string Real(const char* path) {
    return TheVolume()->volume + path;
}

// Which of the update mode's targets a path is, if any.
bool Emulated(const char* path, TUpdateModeEmulator::Target& target) {
    const std::string upper = app::UpperAscii(path);
    if (upper == "/NAV518.BIN")
        target = TUpdateModeEmulator::Target::ModelDFile;
    else if (upper == "/HTML/NAVAREA.HTM")
        target = TUpdateModeEmulator::Target::NewFile;
    else if (std::string(path) == std::string("/") + RawVolumeName)
        target = TUpdateModeEmulator::Target::Volume;
    else
        return false;
    return true;
}

void WriteLog(Served& s) {
    std::ofstream log(s.log + ".tmp", std::ios::trunc);
    log << "started " << (s.emulator.Started ? 1 : 0) << "\n";
    for (const auto& c : s.emulator.Commands)
        log << "command " << static_cast<int>(c.target) << " " << c.command << "\n";
    for (const auto& w : s.emulator.Writes)
        log << "write " << static_cast<int>(w.target) << " " << w.firstSector << " " << w.sectors << " "
            << w.window << "\n";
    log.close();
    std::rename((s.log + ".tmp").c_str(), s.log.c_str());
}

// The receiver file as it was when the update mode first saw it.
void LoadOnce(Served& s, TUpdateModeEmulator::Target target, const char* path) {
    if (s.emulator.Loaded(target)) return;
    std::vector<uint8_t> bytes;
    std::ifstream in(Real(path), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    s.emulator.Load(target, std::move(bytes));
}

int GetAttr(const char* path, struct stat* st, fuse_file_info*) {
    TUpdateModeEmulator::Target target;
    if (Emulated(path, target)) {
        Served& s = *TheVolume();
        std::lock_guard<std::mutex> hold(s.lock);
        if (target == TUpdateModeEmulator::Target::Volume) {
            std::memset(st, 0, sizeof *st);
            st->st_mode = S_IFREG | 0600;
            st->st_nlink = 1;
        } else if (::lstat(Real(path).c_str(), st) != 0) {
            return -errno;
        }
        // The emulation serves the real size of what it stands for.
        if (s.emulator.Loaded(target)) st->st_size = static_cast<off_t>(s.emulator.Size(target));
        return 0;
    }
    return ::lstat(Real(path).c_str(), st) == 0 ? 0 : -errno;
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
    DIR* dir = ::opendir(Real(path).c_str());
    if (!dir) return -errno;
    while (dirent* e = ::readdir(dir)) fill(buffer, e->d_name, nullptr, 0, fuse_fill_dir_flags{});
    ::closedir(dir);
    return 0;
}

int Open(const char* path, fuse_file_info* fi) {
    TUpdateModeEmulator::Target target;
    if (Emulated(path, target)) {
        if (target != TUpdateModeEmulator::Target::Volume && ::access(Real(path).c_str(), F_OK) != 0)
            return -ENOENT;
        Served& s = *TheVolume();
        std::lock_guard<std::mutex> hold(s.lock);
        LoadOnce(s, target, path);
        fi->direct_io = 1;  // every sector read reaches the receiver
        fi->fh = static_cast<uint64_t>(-1);
        return 0;
    }
    const int fd = ::open(Real(path).c_str(), fi->flags & ~O_DIRECT);
    if (fd < 0) return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int Create(const char* path, mode_t mode, fuse_file_info* fi) {
    const int fd = ::open(Real(path).c_str(), (fi->flags & ~O_DIRECT) | O_CREAT, mode);
    if (fd < 0) return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int Read(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    TUpdateModeEmulator::Target target;
    if (Emulated(path, target)) {
        Served& s = *TheVolume();
        std::lock_guard<std::mutex> hold(s.lock);
        const long long n =
            s.emulator.Read(target, static_cast<uint64_t>(offset), reinterpret_cast<uint8_t*>(buffer), size);
        WriteLog(s);
        return n < 0 ? -EIO : static_cast<int>(n);
    }
    const ssize_t n = ::pread(static_cast<int>(fi->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Write(const char* path, const char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    TUpdateModeEmulator::Target target;
    if (Emulated(path, target)) {
        Served& s = *TheVolume();
        std::lock_guard<std::mutex> hold(s.lock);
        const long long n = s.emulator.Write(target, static_cast<uint64_t>(offset),
                                             reinterpret_cast<const uint8_t*>(buffer), size);
        WriteLog(s);
        return n < 0 ? -EIO : static_cast<int>(n);
    }
    const ssize_t n = ::pwrite(static_cast<int>(fi->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Release(const char*, fuse_file_info* fi) {
    if (fi->fh != static_cast<uint64_t>(-1)) ::close(static_cast<int>(fi->fh));
    return 0;
}

int Flush(const char*, fuse_file_info*) {
    return 0;
}
int Fsync(const char*, int, fuse_file_info*) {
    return 0;
}

int Chmod(const char* path, mode_t mode, fuse_file_info*) {
    TUpdateModeEmulator::Target target;
    if (Emulated(path, target) && target == TUpdateModeEmulator::Target::Volume) return 0;
    return ::chmod(Real(path).c_str(), mode) == 0 ? 0 : -errno;
}
int Truncate(const char* path, off_t size, fuse_file_info*) {
    return ::truncate(Real(path).c_str(), size) == 0 ? 0 : -errno;
}
int Utimens(const char* path, const timespec times[2], fuse_file_info*) {
    return ::utimensat(AT_FDCWD, Real(path).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : -errno;
}
int Unlink(const char* path) {
    return ::unlink(Real(path).c_str()) == 0 ? 0 : -errno;
}
int MkDir(const char* path, mode_t mode) {
    return ::mkdir(Real(path).c_str(), mode) == 0 ? 0 : -errno;
}
int RmDir(const char* path) {
    return ::rmdir(Real(path).c_str()) == 0 ? 0 : -errno;
}
int Rename(const char* from, const char* to, unsigned int) {
    return ::rename(Real(from).c_str(), Real(to).c_str()) == 0 ? 0 : -errno;
}

}  // namespace

int ServeUpdateMode(const std::string& volume, const std::string& mountPoint, const std::string& logPath) {
    Served served;
    // FUSE may change the working folder; the volume is kept by its full path.
    char* full = ::realpath(volume.c_str(), nullptr);
    if (!full) return 1;
    served.volume = full;
    served.emulator.Load(TUpdateModeEmulator::Target::Volume,
                         std::vector<uint8_t>(TUpdateModeEmulator::VolumeSize, 0));
    std::free(full);
    while (!served.volume.empty() && served.volume.back() == '/') served.volume.pop_back();
    char* logFolder = ::realpath(".", nullptr);
    served.log =
        logPath.empty() || logPath[0] == '/' || !logFolder ? logPath : std::string(logFolder) + "/" + logPath;
    std::free(logFolder);
    WriteLog(served);

    fuse_operations ops{};
    ops.getattr = GetAttr;
    ops.readdir = ReadDir;
    ops.open = Open;
    ops.create = Create;
    ops.read = Read;
    ops.write = Write;
    ops.release = Release;
    ops.flush = Flush;
    ops.fsync = Fsync;
    ops.chmod = Chmod;
    ops.truncate = Truncate;
    ops.utimens = Utimens;
    ops.unlink = Unlink;
    ops.mkdir = MkDir;
    ops.rmdir = RmDir;
    ops.rename = Rename;

    // Foreground, one thread: the emulation sees the reads in the order they were made.
    std::string program = "zel2sim";
    std::string foreground = "-f", single = "-s";
    char* argv[] = {program.data(), foreground.data(), single.data(), const_cast<char*>(mountPoint.c_str()),
                    nullptr};
    return fuse_main(4, argv, &ops, &served);
}

}  // namespace sim
