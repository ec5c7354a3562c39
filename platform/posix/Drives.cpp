// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/DriveMap.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/posix/DriveTable.h"

namespace platform {
namespace posix {
namespace {

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

// Mount table fields escape blanks as \040; /dev/disk/by-label names as \x20.
std::string Unescape(const std::string& s, bool hex) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const bool marked = !hex || s[i + 1] == 'x';
            const std::string code = hex ? s.substr(i + 2, 2) : s.substr(i + 1, 3);
            const char* digits = hex ? "0123456789abcdefABCDEF" : "01234567";
            if (marked && code.find_first_not_of(digits) == std::string::npos) {
                out += static_cast<char>(std::strtol(code.c_str(), nullptr, hex ? 16 : 8));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::string ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr) return {};
    return buffer;
}

bool IsRemovableDevice(dev_t device) {
    std::string sys =
        RealPath("/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)));
    if (sys.empty()) return false;
    if (sys.find("/usb") != std::string::npos) return true;
    std::string disk = sys;
    if (::access((sys + "/partition").c_str(), F_OK) == 0) disk = sys.substr(0, sys.find_last_of('/'));
    return ReadFirstLine(disk + "/removable") == "1";
}

std::string LabelOf(const std::string& devicePath, dev_t device) {
    const std::string byLabel = "/dev/disk/by-label";
    for (const FolderEntry& e : ListFolder(byLabel)) {
        if (RealPath(byLabel + "/" + e.name) == devicePath) return Unescape(e.name, true);
    }
    std::ifstream udev("/run/udev/data/b" + std::to_string(major(device)) + ":" +
                       std::to_string(minor(device)));
    std::string line;
    while (std::getline(udev, line)) {
        if (line.rfind("E:ID_FS_LABEL_ENC=", 0) == 0) return Unescape(line.substr(18), true);
    }
    return {};
}

}  // namespace

std::vector<DriveEntry> MountedRemovableVolumes() {
    std::vector<DriveEntry> drives;
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    int next = 3;  // D:
    while (std::getline(mounts, line) && next <= 25) {
        std::istringstream fields(line);
        std::string source, target;
        fields >> source >> target;
        source = Unescape(source, false);
        target = Unescape(target, false);
        if (source.rfind("/dev/", 0) != 0) continue;
        std::string devicePath = RealPath(source);
        struct stat st;
        if (devicePath.empty() || ::stat(devicePath.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) continue;
        // Where a desktop mounts what is plugged in (udisks): a receiver, whatever the disk says.
        const bool desktopMount = target.rfind("/media/", 0) == 0 || target.rfind("/run/media/", 0) == 0;
        if (!IsRemovableDevice(st.st_rdev) && !desktopMount) continue;
        DriveEntry d;
        d.index = next++;
        d.type = DriveType::Removable;
        d.label = LabelOf(devicePath, st.st_rdev);
        // Without udev's label records, udisks names the mount point after the label.
        if (d.label.empty() && desktopMount) d.label = target.substr(target.find_last_of('/') + 1);
        d.root = WithSlash(target);
        d.raw = devicePath;
        drives.push_back(d);
    }
    return drives;
}

std::vector<DriveEntry> CurrentDrives() {
    std::vector<DriveEntry> drives;
    if (DriveMapDrives(drives)) return drives;
    return MountedRemovableVolumes();
}

}  // namespace posix

namespace {

bool FindDrive(int index, DriveEntry& found) {
    for (const DriveEntry& d : posix::CurrentDrives()) {
        if (d.index == index) {
            found = d;
            return true;
        }
    }
    return false;
}

}  // namespace

uint32_t LogicalDrives() {
    uint32_t mask = 0;
    for (const DriveEntry& d : posix::CurrentDrives()) mask |= 1u << d.index;
    return mask;
}

DriveType DriveTypeOf(int index) {
    DriveEntry d;
    if (!FindDrive(index, d)) return DriveType::NoRootDir;
    return d.type;
}

std::string DriveRoot(int index) {
    DriveEntry d;
    return FindDrive(index, d) ? d.root : std::string();
}

std::string RawVolumePath(int index) {
    DriveEntry d;
    return FindDrive(index, d) ? d.raw : std::string();
}

bool VolumeLabel(const std::string& rootPath, std::string& label) {
    const std::string wanted = posix::WithSlash(rootPath);
    for (const DriveEntry& d : posix::CurrentDrives()) {
        if (d.root == wanted) {
            // A volume whose folder is gone (card pulled) cannot be queried.
            if (!FolderExists(d.root)) return false;
            label = d.label;
            return true;
        }
    }
    return false;
}

// No system dialogs to suppress here.
CriticalErrorModeGuard::CriticalErrorModeGuard() : oldMode(0) {}
CriticalErrorModeGuard::~CriticalErrorModeGuard() = default;

}  // namespace platform
