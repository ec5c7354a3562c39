#include <windows.h>

#include "platform/Drives.h"

namespace platform {

uint32_t LogicalDrives() { return ::GetLogicalDrives(); }

DriveType GetDriveType(int index) {
    const std::string root = DriveRoot(index);
    switch (::GetDriveTypeA(root.c_str())) {
        case DRIVE_REMOVABLE: return DriveType::Removable;
        case DRIVE_FIXED: return DriveType::Fixed;
        case DRIVE_REMOTE: return DriveType::Remote;
        case DRIVE_CDROM: return DriveType::CdRom;
        case DRIVE_RAMDISK: return DriveType::RamDisk;
        case DRIVE_NO_ROOT_DIR: return DriveType::NoRootDir;
        default: return DriveType::Unknown;
    }
}

std::string DriveRoot(int index) {
    if (index < 0 || index > 25) return {};
    return std::string(1, static_cast<char>('A' + index)) + ":\\";
}

std::string RawVolumePath(int index) {
    if (index < 0 || index > 25) return {};
    return std::string("\\\\.\\") + static_cast<char>('A' + index) + ":";
}

bool VolumeLabel(const std::string& rootPath, std::string& label) {
    char name[256] = {};
    DWORD maxComponent = 0, flags = 0;
    if (!::GetVolumeInformationA(rootPath.c_str(), name, 255, nullptr, &maxComponent, &flags,
                                 nullptr, 255))
        return false;
    label = name;
    return true;
}

CriticalErrorModeGuard::CriticalErrorModeGuard() : oldMode(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
CriticalErrorModeGuard::~CriticalErrorModeGuard() { ::SetErrorMode(oldMode); }

}  // namespace platform
