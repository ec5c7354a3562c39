// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/DriveMap.h"
#include "platform/Drives.h"
#include "platform/win32/Wide.h"

// The real drive letters, or exactly the drives of the drive map when one is named (tests,
// the simulator): the same seam as on every system.
namespace platform {
namespace {

bool FromMap(int index, DriveEntry& found, bool& mapped) {
    std::vector<DriveEntry> drives;
    mapped = DriveMapDrives(drives);
    if (!mapped) return false;
    for (const DriveEntry& d : drives) {
        if (d.index == index) {
            found = d;
            return true;
        }
    }
    return false;
}

// One spelling of a folder, to compare two: backslashes, no separator at the end.
std::string Normal(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

std::string LetterRoot(int index) {
    return std::string(1, static_cast<char>('A' + index)) + ":\\";
}

}  // namespace

uint32_t LogicalDrives() {
    std::vector<DriveEntry> drives;
    if (!DriveMapDrives(drives)) return ::GetLogicalDrives();
    uint32_t mask = 0;
    for (const DriveEntry& d : drives) mask |= 1u << d.index;
    return mask;
}

DriveType DriveTypeOf(int index) {
    if (index < 0 || index > 25) return DriveType::NoRootDir;
    DriveEntry d;
    bool mapped = false;
    if (FromMap(index, d, mapped)) return d.type;
    if (mapped) return DriveType::NoRootDir;
    switch (::GetDriveTypeW(win32::Wide(LetterRoot(index)).c_str())) {
        case DRIVE_REMOVABLE:
            return DriveType::Removable;
        case DRIVE_FIXED:
            return DriveType::Fixed;
        case DRIVE_REMOTE:
            return DriveType::Remote;
        case DRIVE_CDROM:
            return DriveType::CdRom;
        case DRIVE_RAMDISK:
            return DriveType::RamDisk;
        case DRIVE_NO_ROOT_DIR:
            return DriveType::NoRootDir;
        default:
            return DriveType::Unknown;
    }
}

std::string DriveRoot(int index) {
    if (index < 0 || index > 25) return {};
    DriveEntry d;
    bool mapped = false;
    if (FromMap(index, d, mapped)) return d.root;
    return mapped ? std::string() : LetterRoot(index);
}

std::string RawVolumePath(int index) {
    if (index < 0 || index > 25) return {};
    DriveEntry d;
    bool mapped = false;
    if (FromMap(index, d, mapped)) return d.raw;
    return mapped ? std::string() : std::string("\\\\.\\") + static_cast<char>('A' + index) + ":";
}

bool VolumeLabel(const std::string& rootPath, std::string& label) {
    std::vector<DriveEntry> drives;
    if (DriveMapDrives(drives)) {
        for (const DriveEntry& d : drives) {
            if (Normal(d.root) != Normal(rootPath)) continue;
            const DWORD a = ::GetFileAttributesW(win32::Wide(d.root).c_str());
            if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;
            label = d.label;
            return true;
        }
        return false;
    }
    wchar_t name[MAX_PATH + 1] = {};
    DWORD maxComponent = 0, flags = 0;
    if (!::GetVolumeInformationW(win32::Wide(rootPath).c_str(), name, MAX_PATH + 1, nullptr, &maxComponent,
                                 &flags, nullptr, 0))
        return false;
    label = win32::Utf8(name);
    return true;
}

CriticalErrorModeGuard::CriticalErrorModeGuard()
    : oldMode(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
CriticalErrorModeGuard::~CriticalErrorModeGuard() {
    ::SetErrorMode(oldMode);
}

}  // namespace platform
